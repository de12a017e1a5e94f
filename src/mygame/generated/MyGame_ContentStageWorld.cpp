#include "mygame/generated/MyGame_ContentStage.h"
#include "mygame/generated/MyGame_ContentWeaponRows.h"

#include <iterator>

namespace {

// Collision groups: 0 the player, the enemies and the terrain; 1 enemy
// projectiles; 2 the player's bullets; 3 enemy drops.
const ColliderSettings kDropCollider{.type = 1, .thickness = 8.0f, .group = 3, .collidesWith = {0}};
const ColliderSettings kTileCollider{
    .type = 1, .thickness = 8.0f, .collidesWith = {0, 1, 2, 3}, .updateOnIdle = true};
const ColliderSettings kSpikeCollider{.type = 1, .thickness = 8.0f, .collidesWith = {0, 2}};
const ColliderSettings kPlayerCollider{.type = 1, .thickness = 8.0f, .collidesWith = {0, 1, 3}, .updateOnIdle = true};
const ColliderSettings kWalkerCollider{.type = 1, .collidesWith = {0, 2}};
const ColliderSettings kFlyerCollider{.type = 1, .thickness = 8.0f, .collidesWith = {0, 2}};
const ColliderSettings kProjectileCollider{.type = 1, .group = 1, .collidesWith = {0}};
const ColliderSettings kBulletCollider{.type = 1, .thickness = 8.0f, .group = 2, .collidesWith = {0}};

const Color kOpaqueWhite{1.0f, 1.0f, 1.0f, 1.0f};

// The legend of the groups, worded as it always was.
constexpr const char* kLegend =
    "zcollision\n\n0 player ememies terrain \n1 enemy projectiles\n2 player bullets\n3 enemy drops";

// Row 1 of the layer.
LayerRows LegendRows() {
    return {TextRow{.name = "Zcollision", .make = "Tundra::Text", .text = kLegend, .position = {-1140.0f, 110.0f},
                    .z = 0.0f, .hidden = true}};
}

// Rows 2 to 4.
LayerRows SceneryRows() {
    return {
        SpriteRow{.name = "CloudTemplate", .make = "Cloud", .animations = {{"BGCloud", 2, 2, Delays(3)}},
                  .actorIndex = 48, .position = {-582.0f, 82.0f}, .z = -100.0f, .stopped = true,
                  .color = kOpaqueWhite},
        SpriteRow{.name = "SkyGradient",
                  .make = "SkyGradient",
                  .animations = {{"Sky1Gradient", 1, 1, Delays(1)},
                                 {"Sky2Gradient", 1, 1, Delays(1)},
                                 {"Sky3Gradient", 1, 1, Delays(1)}},
                  .actorIndex = 23,
                  .position = {511.0f, 383.0f},
                  .z = -5.0f,
                  .scale = {1030.0f, 1.05f},
                  .stopped = true},
        SpriteRow{.name = "MapTileTemplate", .make = "MapTile", .animations = {{"GrassTileset", 4, 4, Delays(15)}},
                  .actorIndex = 30, .position = {-577.0f, 388.0f}, .z = 0.0f, .stopped = true},
    };
}

// Rows 7 to 17.
LayerRows PlayingPieceRows() {
    const std::vector<float> deadFlyer = DelayRuns({{0.2f, 4}, {0.05f, 5}});
    const std::vector<float> firstShots = DelayRuns({{0.05f, 1}, {0.15f, 4}});
    const std::vector<float> laterShots = DelayRuns({{0.05f, 1}, {0.15f, 3}, {0.05f, 1}});
    return {
        SpriteRow{.name = "EnemyDropTemplate", .make = "EnemyDrop",
                  .animations = {{"EnemyDrop", 2, 2, Delays(4, 0.25f)}}, .actorIndex = 6, .collider = kDropCollider,
                  .position = {-579.0f, -318.0f}, .z = 0.0f, .body = BodySettings{1.0f, 9.8f}},
        SpriteRow{.name = "MapTileColliderTemplate", .make = "MapTile",
                  .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}}, .actorIndex = 18,
                  .collider = kTileCollider, .position = {-578.0f, 520.0f}, .z = 0.0f, .stopped = true},
        SpriteRow{.name = "RollingSpikeTemplate",
                  .make = "RollingSpike",
                  .animations = {{"Rolling1", 3, 3, Delays(8, 0.15f)},
                                 {"Rolling2", 3, 3, Delays(7, 0.175f)},
                                 {"Rolling3", 3, 3, Delays(7, 0.175f)}},
                  .actorIndex = 47,
                  .collider = kSpikeCollider,
                  .position = {-579.0f, -159.0f},
                  .z = 0.1f,
                  .stopped = true,
                  .body = BodySettings{1.0f, 15.0f}},
        SpriteRow{.name = "Player",
                  .make = "GamePlayer",
                  .animations = {{"Player", 1, 1, Delays(1, 0.33f)},
                                 {"PlayerDmg", 2, 1, Delays(2, 0.2f)},
                                 {"PlayerDeath", 5, 4, Delays(17, 0.3f)}},
                  .actorIndex = 51,
                  .collider = kPlayerCollider,
                  .position = {153.0f, 305.0f},
                  .z = 1.0f,
                  .stopped = true,
                  .body = BodySettings{1.0f}},
        SpriteRow{.name = "Quorvex", .make = "Quorvex", .animations = {{"Quorvex", 1, 1, Delays(1)}},
                  .actorIndex = 33, .collider = kRectangleCollider, .position = {153.0f, 337.0f}, .z = 1.5f},
        SpriteRow{.name = "WalkingRangedEnemyTemplate",
                  .make = "WalkingRangedEnemy",
                  .animations = {{"Range1Shoot", 2, 2, Delays(3, 0.2f)},
                                 {"Range1Dead", 3, 3, Delays(7, 0.15f)},
                                 {"Range2Shoot", 2, 2, Delays(3, 0.2f)},
                                 {"Range2Dead", 3, 3, DelayRuns({{0.25f, 2}, {0.15f, 5}})},
                                 {"Range3Shoot", 2, 2, Delays(3, 0.2f)},
                                 {"Range3Dead", 3, 3, DelayRuns({{0.25f, 2}, {0.15f, 6}})}},
                  .actorIndex = 52,
                  .collider = kWalkerCollider,
                  .position = {-582.0f, -33.0f},
                  .z = 2.0f,
                  .stopped = true},
        SpriteRow{.name = "FlyingRangedEnemyTemplate",
                  .make = "FlyingRangedEnemy",
                  .animations = {{"Flying1", 2, 2, Delays(4, 0.15f)},
                                 {"Flying1Dead", 3, 3, deadFlyer},
                                 {"Flying2", 2, 2, Delays(4, 0.15f)},
                                 {"Flying2Dead", 3, 3, deadFlyer},
                                 {"Flying3", 2, 2, Delays(4, 0.15f)},
                                 {"Flying3Dead", 3, 3, deadFlyer}},
                  .actorIndex = 53,
                  .collider = kFlyerCollider,
                  .position = {-583.0f, 195.0f},
                  .z = 2.0f},
        SpriteRow{.name = "ProjectileTemplate",
                  .make = "Projectile",
                  .animations = {{"Range1P", 3, 2, firstShots},
                                 {"Flying1P", 3, 2, firstShots},
                                 {"Range2P", 3, 2, laterShots},
                                 {"Flying2P", 3, 2, laterShots},
                                 {"Range3P", 3, 2, laterShots},
                                 {"Flying3P", 3, 2, laterShots}},
                  .actorIndex = 54,
                  .collider = kProjectileCollider,
                  .position = {-581.0f, 648.0f},
                  .z = 2.0f,
                  .stopped = true,
                  .body = BodySettings{0.0f}},
        SpriteRow{.name = "RightWeapon", .make = "WeaponSprite", .animations = WeaponAnimations(), .actorIndex = 34,
                  .collider = kRectangleCollider, .position = {154.0f, 305.0f}, .z = 2.0f},
        SpriteRow{.name = "LeftWeapon", .make = "WeaponSprite", .animations = WeaponAnimations(), .actorIndex = 34,
                  .position = {154.0f, 305.0f}, .z = 2.0f},
        SpriteRow{.name = "HpBarTemplate", .make = "Tundra::Sprite", .animations = {{"HpBar", 2, 1, Delays(2)}},
                  .actorIndex = 55, .position = {-587.0f, 29.0f}, .z = 3.0f, .stopped = true, .hidden = true},
    };
}

// Row 28.
LayerRows BulletRows() {
    return {SpriteRow{.name = "BulletTemplate",
            .make = "Bullet",
            .animations = {{"PlasmaBullet", 4, 3, Delays(12, 0.05f)},
                           {"PlasmaDestroy", 3, 2, Delays(6, 0.1f)},
                           {"LightHack", 1, 1, Delays(1)},
                           {"Lightning", 1, 6, Delays(6, 0.03f)},
                           {"MachineGunBullet", 1, 1, Delays(1)},
                           {"MiniDestroy", 3, 2, Delays(6, 0.1f)}},
            .actorIndex = 35,
            .collider = kBulletCollider,
            .position = {-584.0f, 266.0f},
            .z = 4.5f,
            .body = BodySettings{0.0f}}};
}

void Append(LayerRows& rows, LayerRows&& more) {
    rows.insert(rows.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

}  // namespace

LayerRows StageWorldRows() {
    LayerRows rows = LegendRows();
    Append(rows, SceneryRows());
    Append(rows, StageBossHealthRows());
    Append(rows, PlayingPieceRows());
    Append(rows, StageBossRows());
    Append(rows, BulletRows());
    Append(rows, StageParticleRows());
    return rows;
}
