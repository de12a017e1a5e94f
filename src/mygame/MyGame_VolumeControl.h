#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_InternalSprite.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The volume slider of the options screens and the stage's volume dialog: a
// wedge rising to the right with a fill bar cut to the value's width and
// tinted red through yellow to green. Holding the left button, pressed once
// the slider was drawn shown, over the wedge sets the game's volume to the
// fraction under the cursor.
class VolumeControl : public Tundra::Sprite {
    TUN_DECLARE_CLASS(VolumeControl);
    VolumeControl() = default;
    explicit VolumeControl(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: no fill bar, value 0, nothing pending.
    VolumeControl(const VolumeControl& other);

    // After the sprite part: the value, the show-pending flag, the half size
    // and the fill bar (an object reference); Load cuts the bar again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The half size, the fill bar ("Volume"), then the game's stored volume.
    void OnStart() override;
    // Shows what is pending, fades in, and reads the mouse while visible:
    // a press that began once it was drawn faded in sets the value while
    // held.
    void Update(float dt) override;

    // Below 0 keeps 0; NaN is refused. Cuts and tints the bar, gives the
    // hover sound the value unless muted, and stores it as the game's volume.
    void SetValue(float value);
    float GetValue() const { return m_value; }
    // The slider and its fill bar.
    void SetVisible(bool visible);
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }
    InternalSprite* GetFillBar() const { return m_fillBar.Get(); }

private:
    void TakeCursor(bool drawnShown);
    float FilledWidth() const;

    float m_halfHeight = 0.0f;
    float m_halfWidth = 0.0f;
    // In the level, not owned; held so a destroyed one is never read freed.
    Core::RefPtr<InternalSprite> m_fillBar;
    float m_value = 0.0f;
    std::uint8_t m_showPending = 0;
    // The left button went down while the slider was shown and is still held.
    std::uint8_t m_pressTaken = 0;
};
