#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// A tab on the shop panel's left edge. It shows animation i for page i;
// within it frame 0 is the selected look, 1 the normal and 2 the hovered
// one. A press and release over an unselected tab selects it; the shop
// notices and turns the page.
class ShopTabs : public Tundra::Sprite {
    TUN_DECLARE_CLASS(ShopTabs);
    enum Look : int { kSelectedFrame = 0, kNormalFrame = 1, kHoveredFrame = 2 };
    // What the hit box leaves off the frame.
    static constexpr std::int32_t kInset = 2;

    ShopTabs() = default;
    explicit ShopTabs(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: not selected, nothing pressed or pending.
    ShopTabs(const ShopTabs& other);

    // After the sprite part: hit height and width, inset, selected, the last
    // mouse position, pressed and show pending.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The hit box is animation 0's frame less the inset; nothing pressed.
    void OnStart() override;
    // One fade-in step and a pending show, then the look under the mouse
    // (edges inside) and a click.
    void Update(float dt) override;

    bool IsSelected() const { return m_selected != 0; }
    void SetSelected(bool selected) { m_selected = selected ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    float GetHitWidth() const { return m_hitWidth; }
    float GetHitHeight() const { return m_hitHeight; }

private:
    float m_hitHeight = 0.0f;
    float m_hitWidth = 0.0f;
    std::int32_t m_inset = kInset;
    std::uint8_t m_selected = 0;
    // Client pixels, y from the bottom.
    Vector2D m_lastMouse{0.0f, 0.0f};
    std::uint8_t m_pressed = 0;
    std::uint8_t m_showPending = 0;
};
