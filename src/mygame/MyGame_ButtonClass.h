#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// A plain three-frame menu button (idle, hovered, pressed) that follows the
// mouse and reports a press and its release through two operations its
// subclasses replace. Edges of its box count as inside.
class ButtonClass : public Tundra::Sprite {
    TUN_DECLARE_CLASS(ButtonClass);
    enum State : std::uint32_t { kIdle = 0, kPressed = 1, kReleased = 2, kHovered = 3 };

    ButtonClass() = default;
    explicit ButtonClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: no size, idle.
    ButtonClass(const ButtonClass& other);

    // After the sprite part: width, height, cursor position, state.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The hit box takes the current animation's frame size; idle.
    void OnStart() override;
    // Only while visible, and never once destroyed.
    void Update(float dt) override;

    // The left button was released over the button: a press becomes a
    // release (a click), anything else a hover.
    virtual void OnStateChange();
    // The left button is held over the button.
    virtual void OnPress();

    std::uint32_t GetState() const { return m_state; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    // The mouse position at the last update, in client pixels.
    const Vector2D& GetCursorPosition() const { return m_cursor; }

protected:
    void SetState(std::uint32_t state) { m_state = state; }
    // Subclasses may hit-test a box other than the frame.
    void SetHitSize(float width, float height);

private:
    void ShowFrameOfState();

    float m_width = 0.0f;
    float m_height = 0.0f;
    Vector2D m_cursor{0.0f, 0.0f};
    std::uint32_t m_state = kIdle;
};
