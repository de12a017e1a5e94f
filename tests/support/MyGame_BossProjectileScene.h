#pragma once

#include "support/MyGame_TestContent.h"
#include "tundra/Tundra_GameObject.h"

#include <functional>

// What a stage needs for the bosses' shots: the shot template with the
// collision shapes of its six animations, and a stand-in for a boss that
// makes its shots inside its own update.
namespace mygametest {

// "BossProjTemplate" as the content places it, over collision actor 64,
// whose empty entry is filled in place (it keeps its number in the game's
// asset list).
void PlaceBossProjTemplate(const LayerBuild& build);

// Runs its action in its update: once, then it goes, or in every frame.
// Whatever the action adds to a layer is added during another object's
// update; objects update in creation order, so the action runs after the
// objects made before it and before those made after it.
class ActingObject : public Tundra::GameObject {
    TUN_DECLARE_CLASS(ActingObject);
    ActingObject() = default;
    ActingObject(std::function<void()> action, bool everyFrame)
        : m_action(std::move(action)), m_everyFrame(everyFrame) {}
    ActingObject(const ActingObject& other) = default;

    void Update(float dt) override;

private:
    std::function<void()> m_action;
    bool m_everyFrame = false;
};

}  // namespace mygametest
