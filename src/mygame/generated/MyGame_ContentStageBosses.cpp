#include "mygame/generated/MyGame_ContentStage.h"

namespace {

// The bodies, the arms and the halves test collisions even while idle.
const ColliderSettings kPartCollider{.type = 1, .updateOnIdle = true};
const ColliderSettings kBodyCollider{.type = 1, .thickness = 8.0f, .collidesWith = {0, 2}, .updateOnIdle = true};
const ColliderSettings kShotCollider{
    .type = 1, .thickness = 8.0f, .group = 1, .collidesWith = {0}, .updateOnIdle = true};

std::vector<SheetAnimation> BearArmAnimations() {
    return {{"BearBossArm", 2, 1, Delays(2)}, {"BearBossArmDead", 3, 2, DelayRuns({{0.25f, 5}, {1.0f, 1}})}};
}

std::vector<SheetAnimation> AlpacaEyeAnimations() {
    const std::vector<float> blink{0.1f, 0.5f, 0.5f, 0.001f};
    return {{"AlpacaEye1", 2, 2, blink}, {"AlpacaEye2", 2, 2, blink}, {"AlpacaEye3", 2, 2, blink}};
}

}  // namespace

// Rows 5 and 6 of the world layer.
LayerRows StageBossHealthRows() {
    return {
        SpriteRow{.name = "BossHPBar", .make = "Tundra::Sprite", .animations = {{"BossHPBar", 1, 1, Delays(1)}},
                  .actorIndex = 49, .collider = kRectangleCollider, .position = {1263.0f, 574.0f}, .z = 0.0f},
        SpriteRow{.name = "BossHP", .make = "BossHp", .animations = {{"BossHP", 1, 1, Delays(1)}}, .actorIndex = 50,
                  .collider = kRectangleCollider, .position = {1263.0f, 570.0f}, .z = 0.0f},
    };
}

// Rows 18 to 27: all three bosses, whichever the stage calls in.
LayerRows StageBossRows() {
    return {
        SpriteRow{.name = "UnknownRight",
                  .make = "Tundra::Sprite",
                  .animations = {{"UnRight", 2, 1, Delays(2)},
                                 {"UnknownRightDead", 3, 2, DelayRuns({{0.35f, 1}, {0.25f, 5}})}},
                  .actorIndex = 56,
                  .collider = kPartCollider,
                  .position = {1231.0f, 868.0f},
                  .z = 3.1f,
                  .stopped = true,
                  .frame = 1},
        SpriteRow{.name = "BearRArm", .make = "Tundra::Sprite", .animations = BearArmAnimations(), .actorIndex = 57,
                  .collider = kPartCollider, .position = {1214.0f, 325.0f}, .z = 3.1f, .stopped = true},
        SpriteRow{.name = "UnknownBoss",
                  .make = "UnknownBoss",
                  .animations = {{"UnknownBoss", 1, 1, Delays(1)}, {"UnknownDead", 3, 2, Delays(6, 0.35f)}},
                  .actorIndex = 58,
                  .collider = kBodyCollider,
                  .position = {1331.0f, 996.0f},
                  .z = 3.2f},
        SpriteRow{.name = "BearBossBody",
                  .make = "BearBoss",
                  .animations = {{"BearBossBody", 2, 1, Delays(2)},
                                 {"BearBossLightAtt", 2, 2, Delays(3, 0.3f)},
                                 {"BearBossDead", 3, 3, Delays(9, 0.3f)}},
                  .actorIndex = 59,
                  .collider = kBodyCollider,
                  .position = {1271.0f, 359.0f},
                  .z = 3.2f},
        SpriteRow{.name = "AlpacaBoss",
                  .make = "AlpacaBoss",
                  .animations = {{"Alpaca", 2, 1, {2.0f, 0.5f}},
                                 {"AlpacaDead", 4, 3,
                                  DelayRuns({{1.0f, 1}, {0.4f, 2}, {0.35f, 1}, {0.3f, 1}, {1.0f, 2}, {0.25f, 5}})}},
                  .actorIndex = 60,
                  .collider = kBodyCollider,
                  .position = {1615.0f, 352.0f},
                  .z = 3.2f},
        SpriteRow{.name = "UnknownEye", .make = "Tundra::Sprite", .animations = {{"UnknownEyes", 2, 2, Delays(4)}},
                  .actorIndex = 61, .collider = kRectangleCollider, .position = {1277.0f, 954.0f}, .z = 3.21f,
                  .stopped = true},
        SpriteRow{.name = "UnknownLeft",
                  .make = "Tundra::Sprite",
                  .animations = {{"UnLeft", 2, 1, Delays(2)}, {"UnknownLeftDead", 3, 2, Delays(6, 0.35f)}},
                  .actorIndex = 62,
                  .collider = kPartCollider,
                  .position = {1308.0f, 847.0f},
                  .z = 3.3f,
                  .stopped = true,
                  .frame = 1},
        SpriteRow{.name = "BearLArm", .make = "Tundra::Sprite", .animations = BearArmAnimations(), .actorIndex = 57,
                  .collider = kPartCollider, .position = {1335.0f, 320.0f}, .z = 3.3f, .stopped = true},
        SpriteRow{.name = "AlpacaEye", .make = "Tundra::Sprite", .animations = AlpacaEyeAnimations(),
                  .actorIndex = 63, .collider = kRectangleCollider, .position = {1566.0f, 361.0f}, .z = 3.3f,
                  .stopped = true},
        // Starts on the bear's ball, stopped.
        SpriteRow{.name = "BossProjTemplate",
                  .make = "BossProjectile",
                  .animations = {{"BossAttWarn", 1, 1, Delays(1, 0.25f)},
                                 {"BearBall", 3, 2, Delays(5, 0.1f)},
                                 {"BearLightning", 2, 5, DelayRuns({{0.01f, 1}, {0.02f, 9}})},
                                 {"AlpacaBomb", 3, 2, {0.25f, 0.2f, 0.15f, 0.1f, 0.1f}},
                                 {"UnLeft", 2, 1, Delays(2)},
                                 {"UnRight", 2, 1, Delays(2)}},
                  .actorIndex = 64,
                  .collider = kShotCollider,
                  .position = {-578.0f, 773.0f},
                  .z = 3.5f,
                  .stopped = true,
                  .animation = 1,
                  .body = BodySettings{0.0f}},
    };
}
