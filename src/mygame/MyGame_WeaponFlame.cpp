#include "mygame/MyGame_WeaponFlame.h"

#include "math/Math_Angles.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_WeaponSprite.h"

namespace {

// cos 20 degrees: the cone's half angle.
constexpr float kConeCosine = 0.939693f;
constexpr float kBurnPerSecond = 0.5f;

}  // namespace

void BurnEnemiesInCone(const WeaponSprite& weapon, float range, float dt) {
    GameLevel* stage = GetRunningStage();
    if (stage == nullptr) {
        return;
    }
    const Vector2D aim = Math::DegreesToUnitVector(weapon.GetRotationAngle());
    // By index, re-reading the length: a burning death leaves the list.
    for (std::size_t i = 0; i < stage->GetLiveEnemyCount(); ++i) {
        const Core::RefPtr<Enemy> enemy(stage->GetLiveEnemy(i));
        if (enemy == nullptr) {
            continue;
        }
        const Vector2D offset = enemy->GetPosition() - weapon.GetPosition();
        if (!(offset.Length() < range) || !(Vector2D::Normalized(offset).Dot(aim) > kConeCosine) ||
            !(enemy->GetHealth() > 0.0f)) {
            continue;
        }
        enemy->TakeDamage(dt * kBurnPerSecond, static_cast<std::int32_t>(WeaponSprite::kFlameThrower));
        enemy->SetOnFire();
        // The enemy left the list: the next one now has its index.
        if (i < stage->GetLiveEnemyCount() && stage->GetLiveEnemy(i) != enemy.Get()) {
            --i;
        }
    }
}
