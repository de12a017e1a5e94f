#include "mygame/MyGame_CursorClass.h"

#include "engine/Engine_OverlayView.h"
#include "gui/GUI_HUD.h"
#include "input/Input_Mouse.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Viewport.h"

#include <cmath>
#include <optional>

TUN_DEFINE_CLASS(CursorClass)

namespace {

// The colour of each weapon bit, as the weapon bars show it.
std::optional<Color> WeaponColour(std::uint32_t weaponBit) {
    switch (weaponBit) {
        case 1:
            return Color{0.79607844f, 0.20392157f, 0.9490196f, 1.0f};
        case 2:
            return Color{0.050980393f, 0.64705884f, 0.9882353f, 1.0f};
        case 4:
            return Color{0.99607843f, 0.4745098f, 0.15686275f, 1.0f};
        case 8:
            return Color{0.99607843f, 0.9882353f, 0.0f, 1.0f};
        default:
            return std::nullopt;
    }
}

void Tint(CursorSprite* gauge, std::uint32_t weaponBit) {
    const std::optional<Color> colour = WeaponColour(weaponBit);
    if (gauge != nullptr && colour) {
        gauge->SetModulationColor(*colour);
    }
}

}  // namespace

CursorClass::CursorClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

// The source's gauges are mounted on the source: a clone finds its own when
// it starts.
CursorClass::CursorClass(const CursorClass& other)
    : Sprite(other), m_leftFill(other.m_leftFill), m_rightFill(other.m_rightFill) {}

void CursorClass::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_leftFill);
    file.WriteF32(m_rightFill);
}

void CursorClass::Load(Core::File& file) {
    Sprite::Load(file);
    float left = m_leftFill;
    float right = m_rightFill;
    ReadFinite(file, left);
    ReadFinite(file, right);
    if (file.HasFailed()) {
        return;
    }
    m_leftFill = left;
    m_rightFill = right;
    // The level being read is not whole yet.
    m_leftGauge = nullptr;
    m_rightGauge = nullptr;
    m_gaugesPending = 1;
}

void CursorClass::OnStart() {
    Sprite::OnStart();
    if (GUI::HUD* hud = GUI::HUD::GetInstance()) {
        hud->SetCursorVisible(false);
    }
    FindGauges();
    for (CursorSprite* gauge : {m_leftGauge, m_rightGauge}) {
        if (gauge != nullptr && gauge->GetMount() != this) {
            Mount(gauge);
        }
    }
    UpdateGaugeColours();
}

void CursorClass::Update(float dt) {
    Sprite::Update(dt);
    FindGaugesAfterLoad();
    const Input::Mouse* mouse = MenuMouse();
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Tundra::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    const Tundra::Viewport* viewport = level != nullptr ? level->GetViewport(0) : nullptr;
    if (mouse == nullptr || viewport == nullptr) {
        return;
    }
    const Vector2D half(static_cast<float>(viewport->GetWidth()) / 2.0f,
                        static_cast<float>(viewport->GetHeight()) / 2.0f);
    // The HUD is seen in perspective: the cursor stands in front of the
    // other widgets, drawn farther out than where it is placed.
    const Tundra::Layer* layer = GetLayer();
    const float depth = GetZOrder() + (layer != nullptr ? layer->GetZOrder() : 0.0f);
    SetPosition(Engine::OverlayPointAtDepth(mouse->GetPosition() - half, depth, viewport->GetHeight()));
}

void CursorClass::UpdateGaugeColours() {
    FindGaugesAfterLoad();
    const MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    const PlayerProfile& profile = game->GetProfile();
    Tint(m_leftGauge, profile.LeftWeapon());
    Tint(m_rightGauge, profile.RightWeapon());
}

void CursorClass::SetLeftGauge(float fraction) {
    if (std::isfinite(fraction)) {
        m_leftFill = fraction;
        FindGaugesAfterLoad();
        FillGauge(m_leftGauge, fraction);
    }
}

void CursorClass::SetRightGauge(float fraction) {
    if (std::isfinite(fraction)) {
        m_rightFill = fraction;
        FindGaugesAfterLoad();
        FillGauge(m_rightGauge, fraction);
    }
}

CursorSprite* CursorClass::GetLeftGaugeSprite() {
    FindGaugesAfterLoad();
    return m_leftGauge;
}

CursorSprite* CursorClass::GetRightGaugeSprite() {
    FindGaugesAfterLoad();
    return m_rightGauge;
}

void CursorClass::FindGauges() {
    m_gaugesPending = 0;
    m_leftGauge = Tundra::FindObject<CursorSprite>("LeftCursor");
    m_rightGauge = Tundra::FindObject<CursorSprite>("RightCursor");
}

void CursorClass::FindGaugesAfterLoad() {
    if (m_gaugesPending != 0) {
        FindGauges();
    }
}

void CursorClass::FillGauge(CursorSprite* gauge, float fraction) const {
    if (gauge != nullptr) {
        gauge->SetFill(gauge->GetFullHeight() * DrawnFraction(fraction), GetPositionY());
    }
}
