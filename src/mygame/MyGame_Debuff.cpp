#include "mygame/MyGame_Debuff.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_DeBuffable.h"
#include "mygame/MyGame_FireEffectPool.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_PS_FireDebuff.h"

#include <limits>

// The damage formula is evaluated in the x87 extended format and rounded
// once; a narrower long double would change the game's numbers.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must have a 64-bit mantissa");

namespace {

constexpr std::int32_t kFifthWeaponCode = 16;
const Color kBurningTint{0.8f, 0.5f, 0.125f, 1.0f};
const Color kUntinted{1.0f, 1.0f, 1.0f, 1.0f};

// The weapon table's row of a weapon bit; -1 for anything else.
std::int32_t WeaponRow(std::int32_t weaponCode) {
    for (std::uint32_t row = 0; row < kWeaponCount; ++row) {
        if (static_cast<std::int32_t>(kWeaponBits[row]) == weaponCode) {
            return static_cast<std::int32_t>(row);
        }
    }
    return -1;
}

}  // namespace

float ComputeWeaponDamage(std::int32_t enemyKind, std::int32_t weaponCode) {
    const MyGame* game = GetGame();
    const std::int32_t row = WeaponRow(weaponCode);
    if (game == nullptr || row < 0 || enemyKind < 0 || enemyKind >= static_cast<std::int32_t>(kEnemyKindCount)) {
        return 0.0f;
    }
    const PlayerProfile& profile = game->GetProfile();
    const std::uint8_t level = GetUpgradeLevel(profile, static_cast<std::uint32_t>(weaponCode), 0);
    const auto upgradeFactor = static_cast<float>(level * 0.5 + 1.0);
    const std::int32_t percent = GetLevelInfo(profile.currentStage)[LevelInfo::kDamagePercent];
    const auto stageFactor = static_cast<float>(percent * static_cast<double>(0.01f));
    const float base = GetWeaponTable()[static_cast<std::size_t>(row) * kEnemyKindCount + enemyKind];
    return static_cast<float>(static_cast<long double>(base) * upgradeFactor * stageFactor);
}

Debuff::Debuff(DeBuffable* target, PS_BaseDebuff* effect, float duration)
    : m_duration(duration), m_remaining(duration), m_target(target), m_effect(effect) {}

Debuff::~Debuff() {
    if (m_effect != nullptr) {
        m_target->UnMount(m_effect.Get());
        m_effect->Stop();
    }
    m_target->SetModulationColor(kUntinted);
}

FireDebuff::FireDebuff(DeBuffable* target) : Debuff(target, TakeFireEffectFromPool(), kDuration) {
    if (PS_BaseDebuff* effect = GetEffect()) {
        effect->SetPosition(target->GetPosition());
        target->Mount(effect);
    }
    target->SetModulationColor(kBurningTint);
}

FireDebuff::FireDebuff(DeBuffable* target, PS_BaseDebuff* effect) : Debuff(target, effect, kDuration) {}

void FireDebuff::Tick(std::int32_t enemyKind, float& health, float&, float dt, bool& healthChanged) {
    const float perSecond = ComputeWeaponDamage(enemyKind, kFifthWeaponCode);
    health = health - perSecond * dt;
    healthChanged = true;
}
