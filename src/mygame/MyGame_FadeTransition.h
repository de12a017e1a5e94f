#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The full-screen black sprite of every level: it fades the level in, and
// on request fades it out, silences the sound, hides the cursors and asks
// the game for another level. Leaving a level goes through it.
class FadeTransition : public Tundra::Sprite {
    TUN_DECLARE_CLASS(FadeTransition);
    enum State : std::uint32_t { kFadingIn = 0, kIdle = 1, kFadingOut = 2 };

    FadeTransition() = default;
    explicit FadeTransition(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    FadeTransition(const FadeTransition& other);

    // After the sprite part: alpha, state, target level.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Fades in, or out and then asks for the level change on every update
    // until the level goes.
    void Update(float dt) override;

    // Only while idle: a request during either fade is ignored.
    void FadeToLevel(std::uint32_t level);

    float GetAlpha() const { return m_alpha; }
    std::uint32_t GetState() const { return m_state; }
    std::uint32_t GetTargetLevel() const { return m_targetLevel; }

private:
    float m_alpha = 1.0f;
    std::uint32_t m_state = kFadingIn;
    std::uint32_t m_targetLevel = 0;
};
