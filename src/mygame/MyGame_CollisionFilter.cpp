#include "mygame/MyGame.h"

#include "mygame/MyGame_MyLevelFactory.h"
#include "tundra/Tundra_GameObject.h"

#include <string_view>

namespace {

// A pair of object names that never touch, or touch one-sidedly: the second
// is pushed by the first, which does not move.
struct NamedPair {
    std::string_view first;
    std::string_view second;
    bool oneSided;
};

constexpr NamedPair kStagePairs[] = {
    {"EnemyDropTemplate", "Player", false},
    {"EnemyDropTemplate", "RollingSpikeTemplate", false},
    {"EnemyDropTemplate", "ProjectileTemplate", true},
    {"EnemyDropTemplate", "BossProjTemplate", true},
    {"EnemyDropTemplate", "BulletTemplate", true},
    {"EnemyDropTemplate", "FlyingRangedEnemyTemplate", true},
    {"EnemyDropTemplate", "WalkingRangedEnemyTemplate", true},
    {"RollingSpikeTemplate", "Player", false},
    {"RollingSpikeTemplate", "ProjectileTemplate", false},
    {"RollingSpikeTemplate", "BulletTemplate", true},
    {"RollingSpikeTemplate", "WalkingRangedEnemyTemplate", true},
    {"RollingSpikeTemplate", "FlyingRangedEnemyTemplate", true},
    {"RollingSpikeTemplate", "BearBossBody", true},
    {"Player", "BulletTemplate", false},
    {"Player", "WalkingRangedEnemyTemplate", false},
    {"Player", "ProjectileTemplate", true},
    {"Player", "FlyingRangedEnemyTemplate", true},
    {"Player", "BossProjTemplate", false},
    {"Player", "UnknownBoss", true},
    {"Player", "UnknownEye", false},
    {"WalkingRangedEnemyTemplate", "BulletTemplate", true},
    {"WalkingRangedEnemyTemplate", "ProjectileTemplate", true},
    {"ProjectileTemplate", "FlyingRangedEnemyTemplate", true},
    {"ProjectileTemplate", "BulletTemplate", false},
    {"ProjectileTemplate", "BossProjTemplate", false},
    {"BearRArm", "MapTileTemplate", true},
    {"BearRArm", "RollingSpikeTemplate", true},
    {"BearRArm", "ProjectileTemplate", true},
    {"BearRArm", "BossProjTemplate", true},
    {"BearRArm", "BearLArm", false},
    {"BearRArm", "MapTileColliderTemplate", true},
    {"BearRArm", "BearBossBody", true},
    {"BearRArm", "Player", true},
    {"BearLArm", "MapTileTemplate", true},
    {"BearLArm", "RollingSpikeTemplate", true},
    {"BearLArm", "ProjectileTemplate", true},
    {"BearLArm", "BossProjTemplate", true},
    {"BearLArm", "MapTileColliderTemplate", true},
    {"BearLArm", "BearBossBody", true},
    {"BearLArm", "Player", true},
    {"BossProjTemplate", "BulletTemplate", false},
    {"BossProjTemplate", "RollingSpikeTemplate", true},
};

bool IsPair(std::string_view a, std::string_view b, std::string_view x, std::string_view y) {
    return (a == x && b == y) || (a == y && b == x);
}

// The player holds firm on the ground tiles and does not bounce off them;
// named pairs of the table then pass through each other or push one way.
bool StageRules(const Tundra::GameObject& a, const Tundra::GameObject* b, float& restitution, float& friction) {
    if (b == nullptr) {
        return true;
    }
    const std::string_view nameA = a.GetName();
    const std::string_view nameB = b->GetName();
    if (IsPair(nameA, nameB, "Player", "MapTileTemplate") || IsPair(nameA, nameB, "Player", "MapTileColliderTemplate")) {
        friction = 1.0f;
        restitution = 0.0f;
    }
    for (const NamedPair& pair : kStagePairs) {
        if (nameA == pair.first && nameB == pair.second) {
            return false;
        }
        if (nameA == pair.second && nameB == pair.first) {
            if (!pair.oneSided) {
                return false;
            }
            Tundra::Game::SetOneWayCollision(true);
            return true;
        }
    }
    return true;
}

}  // namespace

bool MyGame::CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution, float& friction) {
    if (a == nullptr) {
        return true;
    }
    switch (GetCurrentLevelIndex()) {
        case MyLevelFactory::kMenuLevel:
            // The title's player lands on the ground without bouncing.
            if (b == nullptr && a->GetName() == "Player") {
                restitution = 0.0f;
            }
            return true;
        case MyLevelFactory::kGameLevel:
            return StageRules(*a, b, restitution, friction);
        default:
            return true;
    }
}
