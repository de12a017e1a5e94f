#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The stage's companion: it rides on the player until the stage lets it go,
// then leaps off the screen in a spinning arc and asks the stage to forget
// it.
class Quorvex : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Quorvex);
    // Below this height it is gone.
    static constexpr float kGoneBelowY = -100.0f;

    Quorvex() = default;
    explicit Quorvex(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part; a copy starts riding, with zero points and angle.
    Quorvex(const Quorvex& other);

    // After the sprite part: triggered, the three points, direction flag,
    // angle, t.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Rides while mounted; once let go it leaps along a parabola, spinning,
    // and destroys itself below kGoneBelowY.
    void Update(float dt) override;

    bool IsTriggered() const { return m_triggered != 0; }
    const Vector2D& GetStartPoint() const { return m_start; }
    const Vector2D& GetControlPoint() const { return m_control; }
    const Vector2D& GetEndPoint() const { return m_end; }
    float GetAngle() const { return m_angle; }
    float GetT() const { return m_t; }

private:
    void Leap();
    void Fly(float dt);

    std::uint8_t m_triggered = 0;
    Vector2D m_start{0.0f, 0.0f};
    Vector2D m_control{0.0f, 0.0f};
    Vector2D m_end{0.0f, 0.0f};
    std::uint8_t m_direction = 0;
    float m_angle = 0.0f;
    float m_t = 0.0f;
};
