#pragma once

#include "tundra/Tundra_GameObject.h"

#include <functional>

// A stand-in for a boss in tests of the bosses' shots: it acts inside its
// own update, as a boss makes its shots.
namespace mygametest {

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
