#include "mygame/MyGame_EnemySpawns.h"

#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_StageTheme.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "mygame/MyGame_WidgetClone.h"

#include <cmath>

namespace {

constexpr std::int32_t kLastRandomFrame = 4;

void PlaceAt(Enemy& enemy, const Vector2D& position) {
    enemy.SetPosition(position);
    enemy.SetOldPosition(position);
}

// A barred enemy shows at the position with its theme's living animation
// from a random frame, so that a wave does not move in step.
void ShowBarred(Enemy& enemy, const Vector2D& position) {
    enemy.CreateHealthBar();
    enemy.SetVisible(true);
    PlaceAt(enemy, position);
    enemy.SetCurrentAnimationIndex(GetCurrentStageTheme() * 2, false);
    enemy.SetCurrentFrameIndex(RandomInt(0, kLastRandomFrame), true);
}

}  // namespace

Enemy* CreateFlyingRangedEnemy(Vector2D position, std::int32_t flightPattern, float formationAngle) {
    if (!Math::IsFinite(position) || !std::isfinite(formationAngle)) {
        return nullptr;
    }
    auto* enemy = CloneTemplateToWorld<FlyingRangedEnemy>(kFlyingRangedEnemyTemplate);
    if (enemy == nullptr) {
        return nullptr;
    }
    enemy->SetFlightPattern(flightPattern);
    enemy->SetFormationAngle(formationAngle);
    ShowBarred(*enemy, position);
    return enemy;
}

Enemy* CreateWalkingRangedEnemy(Vector2D position) {
    if (!Math::IsFinite(position)) {
        return nullptr;
    }
    auto* enemy = CloneTemplateToWorld<WalkingRangedEnemy>(kWalkingRangedEnemyTemplate);
    if (enemy != nullptr) {
        ShowBarred(*enemy, position);
    }
    return enemy;
}

Enemy* CreateRollingSpike(Vector2D position, Vector2D velocity) {
    if (!Math::IsFinite(position) || !Math::IsFinite(velocity)) {
        return nullptr;
    }
    auto* enemy = CloneTemplateToWorld<RollingSpike>(kRollingSpikeTemplate);
    if (enemy == nullptr) {
        return nullptr;
    }
    PlaceAt(*enemy, position);
    enemy->SetVelocity(velocity);
    enemy->SetCurrentAnimationIndex(GetCurrentStageTheme(), false);
    return enemy;
}
