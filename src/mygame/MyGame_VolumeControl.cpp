#include "mygame/MyGame_VolumeControl.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(VolumeControl)

namespace {

// The sign of a x b, with 0 counted as not negative.
bool IsNegativeCross(const Vector2D& a, const Vector2D& b) { return a.x * b.y - a.y * b.x < 0.0f; }

}  // namespace

VolumeControl::VolumeControl(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

VolumeControl::VolumeControl(const VolumeControl& other) : Sprite(other) {}

void VolumeControl::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_value);
    file.WriteU8(m_showPending);
    file.WriteF32(m_halfHeight);
    file.WriteF32(m_halfWidth);
    file << m_fillBar;
}

void VolumeControl::Load(Core::File& file) {
    Sprite::Load(file);
    float value = m_value;
    std::uint8_t showPending = m_showPending;
    float halfHeight = m_halfHeight;
    float halfWidth = m_halfWidth;
    Core::RefPtr<InternalSprite> fillBar;
    ReadFinite(file, value);
    ReadFlagByte(file, showPending);
    ReadFinite(file, halfHeight);
    ReadFinite(file, halfWidth);
    ReadLink(file, fillBar);
    if (value < 0.0f || halfHeight < 0.0f || halfWidth < 0.0f) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_value = value;
    m_showPending = showPending;
    // A press held across a load is not the slider's until it is let go.
    m_pressTaken = 0;
    m_halfHeight = halfHeight;
    m_halfWidth = halfWidth;
    m_fillBar = fillBar;
    // The cut lives in the bar's animation; where the bar stands it keeps.
    if (m_fillBar) {
        CropFrameWidth(*m_fillBar, FilledWidth());
    }
}

void VolumeControl::OnStart() {
    Sprite::OnStart();
    const int animation = GetCurrentAnimationIndex();
    m_halfHeight = static_cast<float>(GetFrameHeight(animation)) * 0.5f;
    m_halfWidth = static_cast<float>(GetFrameWidth(animation)) * 0.5f;
    m_fillBar = Tundra::FindObject<InternalSprite>("Volume");
    if (const MyGame* game = GetGame()) {
        SetValue(game->GetVolume());
    }
}

void VolumeControl::Update(float dt) {
    // As the last frame drew it: a press counts only on a slider the player
    // saw, never on one this update shows or fades in.
    const bool drawnShown = GetVisible() && IsFadedIn(GetOpacity());
    Sprite::Update(dt);
    if (m_showPending != 0) {
        SetVisible(true);
        m_showPending = 0;
    }
    if (!GetVisible()) {
        // A press held on while it is hidden began before it was shown.
        m_pressTaken = 0;
        return;
    }
    SetOpacity(FadedInOpacity(GetOpacity(), dt));
    if (m_fillBar) {
        m_fillBar->SetOpacity(GetOpacity());
    }
    TakeCursor(drawnShown);
}

void VolumeControl::TakeCursor(bool drawnShown) {
    const Input::Mouse* mouse = MenuMouse();
    if (mouse == nullptr) {
        return;
    }
    const Vector2D p = mouse->GetPosition() - kHudCentre;
    const Vector2D a(GetPositionX() - m_halfWidth, GetPositionY() - m_halfHeight);
    const Vector2D b(GetPositionX() + m_halfWidth, GetPositionY() - m_halfHeight);
    const Vector2D c(GetPositionX() + m_halfWidth, GetPositionY() + m_halfHeight);
    const bool ab = IsNegativeCross(b - a, p - a);
    const bool bc = IsNegativeCross(c - b, p - b);
    const bool ca = IsNegativeCross(a - c, p - c);
    const bool inside = (ab && bc && ca) || (!ab && !bc && !ca);
    const float width = b.x - a.x;
    // Only a press that went down once the slider was drawn faded in moves
    // it: one held since before, as the second click of a double click on
    // the page that brought it, never does, however long it is held.
    if (!mouse->IsPressed(0)) {
        m_pressTaken = 0;
    } else if (mouse->IsDown(0)) {
        m_pressTaken = drawnShown ? 1 : 0;
    }
    // A wedge without width has no fraction to give.
    if (inside && m_pressTaken != 0 && width != 0.0f) {
        SetValue((p.x - a.x) / width);
    }
}

void VolumeControl::SetValue(float value) {
    if (std::isnan(value)) {
        return;
    }
    m_value = std::max(value, 0.0f);
    if (m_fillBar) {
        // Its left edge stays on the wedge's.
        const float width = FilledWidth();
        CropFrameWidth(*m_fillBar, width);
        m_fillBar->SetPositionX(GetPositionX() + width * 0.5f - m_halfWidth);
        m_fillBar->SetModulationColor(RedToGreen(m_value));
    }
    if (MyGame* game = GetGame()) {
        Tundra::Sound* hover = Globals().buttonHoverSound;
        if (!game->IsMuted() && hover != nullptr) {
            hover->SetVolume(m_value);
        }
        game->StoreVolume(m_value);
    }
}

float VolumeControl::FilledWidth() const {
    // No wider than the wedge, whatever the value.
    return DrawnFraction(m_value) * 2.0f * m_halfWidth;
}

void VolumeControl::SetVisible(bool visible) {
    Sprite::SetVisible(visible);
    if (m_fillBar) {
        m_fillBar->SetVisible(visible);
    }
}
