#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The stage's companion: it rides on the player until the stage lets it go,
// then leaps off the screen and asks the stage to forget it.
class Quorvex : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Quorvex);
    Quorvex() = default;
    explicit Quorvex(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part; a copy starts riding, with zero points and angle.
    Quorvex(const Quorvex& other);

    // After the sprite part: triggered, the three points, direction flag,
    // angle, t.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    bool IsTriggered() const { return m_triggered != 0; }

private:
    std::uint8_t m_triggered = 0;
    Vector2D m_start{0.0f, 0.0f};
    Vector2D m_control{0.0f, 0.0f};
    Vector2D m_end{0.0f, 0.0f};
    std::uint8_t m_direction = 0;
    float m_angle = 0.0f;
    float m_t = 0.0f;
};
