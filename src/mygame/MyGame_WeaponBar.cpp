#include "mygame/MyGame_WeaponBar.h"

#include "core/Core_File.h"
#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WeaponKind.h"
#include "tundra/Tundra_FindObject.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(WeaponBar)

namespace {

constexpr float kActiveBrightness = 1.0f;
constexpr float kInactiveBrightness = 0.4f;
constexpr float kEaseRate = 10.0f;

}  // namespace

WeaponBar::WeaponBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

WeaponBar::WeaponBar(const WeaponBar& other)
    : Sprite(other),
      m_fill(other.m_fill),
      m_fullHeight(other.m_fullHeight),
      m_baseY(other.m_baseY),
      m_active(other.m_active),
      m_brightness(other.m_brightness) {}

void WeaponBar::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_fill);
    file.WriteF32(m_fullHeight);
    file.WriteF32(m_baseY);
    file << m_background;
    file.WriteU8(m_active);
    file.WriteF32(m_brightness);
}

void WeaponBar::Load(Core::File& file) {
    Sprite::Load(file);
    float fill = 0.0f;
    float fullHeight = 0.0f;
    float baseY = 0.0f;
    Tundra::Sprite* background = nullptr;
    std::uint8_t active = 0;
    float brightness = 0.0f;
    file.ReadF32(fill);
    file.ReadF32(fullHeight);
    file.ReadF32(baseY);
    file >> background;
    file.ReadU8(active);
    file.ReadF32(brightness);
    if (!std::isfinite(fill) || !std::isfinite(fullHeight) || fullHeight < 0.0f || !std::isfinite(baseY) ||
        active > 1 || !std::isfinite(brightness) || !StaysInItsLayer(background)) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_fill = fill;
    m_fullHeight = fullHeight;
    m_baseY = baseY;
    m_background = background;
    m_active = active;
    m_brightness = brightness;
}

void WeaponBar::OnStart() {
    Sprite::OnStart();
    m_fill = 1.0f;
    m_fullHeight = static_cast<float>(GetFrameHeight(GetCurrentAnimationIndex()));
    m_baseY = GetPositionY();
    m_background = Tundra::FindObject<Tundra::Sprite>(GetName() + "BG");
    m_brightness = kActiveBrightness;
    m_active = 1;
    SetWeapon(SelectedWeaponOfHand(GetName().c_str()));
}

void WeaponBar::Update(float dt) {
    Sprite::Update(dt);
    const float target = m_active != 0 ? kActiveBrightness : kInactiveBrightness;
    m_brightness = FadeStep(m_brightness, target, dt, kEaseRate);
    SetModulationColor({m_brightness, m_brightness, m_brightness, 1.0f});
}

void WeaponBar::SetWeapon(std::uint32_t weaponBit) {
    const std::int32_t index = WeaponAnimationIndex(weaponBit);
    SetCurrentAnimationIndex(index, false);
    if (m_background != nullptr) {
        m_background->SetCurrentFrameIndex(index, false);
    }
}

// The bar grows from its bottom edge; a fill past 1 (the flame's recharge
// overshoots) would draw into the next cell of the sheet.
void WeaponBar::SetFill(float fill) {
    if (std::isnan(fill)) {
        return;
    }
    m_fill = fill;
    const float height = std::clamp(fill * m_fullHeight, 0.0f, m_fullHeight);
    CropFrameHeight(*this, height);
    SetPositionY(static_cast<float>(static_cast<double>(height) * 0.5 + m_baseY - 0.5 * m_fullHeight));
}
