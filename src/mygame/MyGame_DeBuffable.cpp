#include "mygame/MyGame_DeBuffable.h"

#include "core/Core_File.h"
#include "mygame/MyGame_Debuff.h"
#include "mygame/MyGame_PS_BaseDebuff.h"

#include <cmath>

TUN_DEFINE_CLASS(DeBuffable)

namespace {

constexpr std::uint8_t kNoDebuff = 0;
constexpr std::uint8_t kBurning = 1;

}  // namespace

DeBuffable::DeBuffable() = default;

DeBuffable::DeBuffable(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

DeBuffable::DeBuffable(const DeBuffable& other)
    : Sprite(other), m_health(other.m_health), m_effectFactor(other.m_effectFactor) {}

DeBuffable::~DeBuffable() = default;

void DeBuffable::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_health);
    file.WriteF32(m_effectFactor);
    file.WriteU8(m_debuff != nullptr ? kBurning : kNoDebuff);
    if (m_debuff != nullptr) {
        file.WriteF32(m_debuff->GetRemaining());
        file.WriteF32(m_debuff->GetDuration());
        file << m_debuff->GetEffect();
    }
}

void DeBuffable::Load(Core::File& file) {
    Sprite::Load(file);
    float health = m_health;
    float effectFactor = m_effectFactor;
    std::uint8_t kind = kNoDebuff;
    file.ReadF32(health);
    file.ReadF32(effectFactor);
    file.ReadU8(kind);
    float remaining = 0.0f;
    float duration = 0.0f;
    Core::RefPtr<PS_BaseDebuff> effect;
    if (kind == kBurning) {
        file.ReadF32(remaining);
        file.ReadF32(duration);
        file >> effect;
    }
    const bool debuffValid = kind == kNoDebuff || (std::isfinite(remaining) && duration == FireDebuff::kDuration);
    if (file.HasFailed() || kind > kBurning || !debuffValid || !std::isfinite(health) ||
        !std::isfinite(effectFactor)) {
        file.SetFailed();
        return;
    }
    m_health = health;
    m_effectFactor = effectFactor;
    std::unique_ptr<Debuff> debuff;
    if (kind == kBurning) {
        debuff = std::make_unique<FireDebuff>(this, effect.Get());
        debuff->SetRemaining(remaining);
    }
    // Ending a debuff this object carried before unties its tint; the read one stays.
    const Color color = GetModulationColor();
    m_debuff = std::move(debuff);
    SetModulationColor(color);
}

void DeBuffable::OnStart() {
    Sprite::OnStart();
    // Only a flame reaching the object before its start leaves a record here.
    m_debuff.reset();
    m_health = 1.0f;
    m_effectFactor = 1.0f;
}

void DeBuffable::OnEnd() {
    m_debuff.reset();
    Sprite::OnEnd();
}

void DeBuffable::Update(float dt) {
    Sprite::Update(dt);
    if (m_debuff == nullptr) {
        return;
    }
    const std::int32_t kind = GetEnemyKind();
    m_debuff->SetRemaining(m_debuff->GetRemaining() - dt);
    bool healthChanged = false;
    if (m_debuff->GetRemaining() > 0.0f) {
        m_debuff->Tick(kind, m_health, m_effectFactor, dt, healthChanged);
    } else {
        EndDebuff();
    }
    if (healthChanged) {
        OnHealthChanged();
    }
}

void DeBuffable::TakeDamage(float scale, std::int32_t weaponCode) {
    const float damage = ComputeWeaponDamage(GetEnemyKind(), weaponCode);
    m_health = static_cast<float>(m_health - static_cast<long double>(damage) * scale);
    OnHealthChanged();
}

void DeBuffable::SetOnFire() {
    // Death has ended any burn, and a dead boss no longer runs the update
    // that would end a new one.
    if (!(m_health > 0.0f)) {
        return;
    }
    if (auto* burning = dynamic_cast<FireDebuff*>(m_debuff.get())) {
        burning->SetRemaining(burning->GetDuration());
        return;
    }
    m_debuff.reset();
    m_debuff = std::make_unique<FireDebuff>(this);
}

void DeBuffable::EndDebuff() {
    if (m_debuff == nullptr) {
        return;
    }
    m_debuff.reset();
    m_effectFactor = 1.0f;
}
