#include "collision/Collision_CollisionActor.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_DialogArrow.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_InternalSprite.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "mygame/MyGame_PauseableParticleSystem.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_TestContent.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <string>

// The stage's rows as the game's content gives them: names, classes, sheets,
// grids, delays, positions, z-orders, colliders and bodies.
namespace mygametest {
namespace {

// Collision groups: 0 player, enemies and terrain; 1 enemy shots; 2 the
// player's bullets; 3 drops.
// The collider defaults: the bounding rectangle only, group 0 meeting 0.
const ColliderSettings kRectangleCollider{};
const ColliderSettings kTileCollider{1, 8.0f, 0, {0, 1, 2, 3}, true};
const ColliderSettings kPlayerCollider{1, 8.0f, 0, {0, 1, 3}, true};
const ColliderSettings kBulletCollider{1, 8.0f, 2, {0}, false};
const ColliderSettings kDropCollider{1, 8.0f, 3, {0}, false};
const ColliderSettings kSpikeCollider{1, 8.0f, 0, {0, 2}, false};
const ColliderSettings kWalkerCollider{1, 4.0f, 0, {0, 2}, false};
const ColliderSettings kFlyerCollider{1, 8.0f, 0, {0, 2}, false};
const ColliderSettings kShotCollider{1, 4.0f, 1, {0}, false};
const ColliderSettings kBossPartCollider{1, 4.0f, 0, {0}, true};
const ColliderSettings kBossCollider{1, 8.0f, 0, {0, 2}, true};
const ColliderSettings kBossShotCollider{1, 8.0f, 1, {0}, true};

std::vector<TextRow> HudTexts() {
    return {
        {"DebugText", &MakeText<Tundra::Text>, "debug text", {-512.0f, -384.0f}, 0.0f, 1.0f, true},
        {"DialogText", &MakeText<DialogText>, "DialogText", {-426.0f, -281.0f}, 0.3f},
        {"CenteredTextTemplate", &MakeText<CenteredText>, "template", {-648.0f, 1021.0f}, 1.2f},
        {"DropsCollectedText", &MakeText<ScoreText>, "0", {-404.0f, 210.0f}, 5.0f},
        {"EndGameDialog", &MakeText<CenteredText>, "win", {600.0f, 600.0f}, 5.0f, 2.0f, true},
        {"ScoreTextTemplate", &MakeText<ScoreText>, "template", {-642.0f, 1068.0f}, 5.0f},
    };
}

std::vector<SpriteRow> HudSprites() {
    using Sprite = Tundra::Sprite;
    const std::vector<SheetAnimation> deadFlying{{"Flying1Dead", 3, 3, DelayRuns({{0.2f, 4}, {0.05f, 5}})},
                                                 {"Flying2Dead", 3, 3, DelayRuns({{0.2f, 4}, {0.05f, 5}})},
                                                 {"Flying3Dead", 3, 3, DelayRuns({{0.2f, 4}, {0.05f, 5}})}};
    return {
        {.name = "DistBar", .make = &MakeSprite<Sprite>, .animations = {{"DistBar", 1, 1, Delays(1)}}, .actorIndex = 37,
         .position = {0.0f, -358.0f}, .z = -0.1f, .stopped = true},
        {.name = "DistBG", .make = &MakeSprite<Sprite>, .animations = {{"DistBG", 1, 1, Delays(1)}}, .actorIndex = 38,
         .position = {0.0f, -358.0f}, .z = 0.0f, .stopped = true},
        {.name = "LeftWeaponBarBG", .make = &MakeSprite<Sprite>, .animations = {{"WeaponBars", 2, 2, Delays(4)}},
         .actorIndex = 3, .position = {-468.0f, 287.0f}, .z = 0.0f, .stopped = true},
        {.name = "LeftWeaponBar", .make = &MakeSprite<WeaponBar>, .animations = WeaponBarAnimations(), .actorIndex = 4,
         .position = {-468.0f, 287.0f}, .z = 0.0f, .stopped = true},
        {.name = "RightWeaponBarBG", .make = &MakeSprite<Sprite>, .animations = {{"WeaponBars", 2, 2, Delays(4)}},
         .actorIndex = 3, .position = {-409.0f, 287.0f}, .z = 0.0f, .stopped = true},
        {.name = "RightWeaponBar", .make = &MakeSprite<WeaponBar>, .animations = WeaponBarAnimations(), .actorIndex = 4,
         .position = {-409.0f, 287.0f}, .z = 0.0f, .stopped = true},
        {.name = "PlayerHPBarColor", .make = &MakeSprite<HpBar>, .animations = {{"PlayerHPColor", 1, 1, Delays(1)}},
         .actorIndex = 5, .position = {-438.0f, 349.0f}, .z = 0.0f, .stopped = true},
        {.name = "Donut", .make = &MakeSprite<Sprite>, .animations = {{"EnemyDrop", 2, 2, Delays(4, 0.25f)}},
         .actorIndex = 6, .collider = kRectangleCollider, .position = {-470.0f, 215.0f}, .z = 0.0f},
        {.name = "DistanceUI", .make = &MakeSprite<DistanceUI>, .animations = {{"DistPoint", 1, 1, Delays(1)}},
         .actorIndex = 39, .position = {0.0f, -358.0f}, .z = 0.1f},
        {.name = "WarningText", .make = &MakeSprite<Sprite>, .animations = {{"WarningText", 2, 1, Delays(2, 0.5f)}},
         .actorIndex = 40, .collider = kRectangleCollider, .position = {0.0f, -700.0f}, .z = 0.12f},
        {.name = "WarningBoss", .make = &MakeSprite<Sprite>, .animations = {{"WarningBoss", 1, 1, Delays(1)}},
         .actorIndex = 41, .collider = kRectangleCollider, .position = {0.0f, -700.0f}, .z = 0.12f, .stopped = true},
        {.name = "FrameBGTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FrameBG", 1, 1, Delays(1)}},
         .actorIndex = 8, .collider = kRectangleCollider, .position = {-810.0f, 244.0f}, .z = 0.2f, .scale = {50.0f, 50.0f}},
        {.name = "FramePipeTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FramePipe", 1, 1, Delays(1)}},
         .actorIndex = 9, .collider = kRectangleCollider, .position = {-827.0f, 303.0f}, .z = 0.3f, .scale = {100.0f, 1.0f}},
        {.name = "DialogArrow", .make = &MakeSprite<DialogArrow>, .animations = {{"DialogArrow", 1, 1, Delays(1)}},
         .actorIndex = 42, .collider = kRectangleCollider, .position = {410.0f, -340.0f}, .z = 0.3f, .hidden = true},
        {.name = "FrameCornerTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FrameCorner", 1, 1, Delays(1)}},
         .actorIndex = 10, .collider = kRectangleCollider, .position = {-807.0f, 366.0f}, .z = 0.4f},
        {.name = "ButtonTemplate", .make = &MakeSprite<LabeledButton>, .animations = {{"ButtonTemplate", 2, 2, Delays(3)}},
         .actorIndex = 43, .position = {-575.0f, 969.0f}, .z = 1.0f, .stopped = true, .hidden = true,
         .setOpacity = &SetOpacityAs<LabeledButton>, .setVisible = &SetVisibleAs<LabeledButton>},
        {.name = "Volume", .make = &MakeSprite<InternalSprite>, .animations = {{"Volume", 1, 1, Delays(1)}},
         .actorIndex = 11, .collider = kRectangleCollider, .position = {-842.0f, 468.0f}, .z = 1.0f, .hidden = true},
        {.name = "VolumeBG", .make = &MakeSprite<VolumeControl>, .animations = {{"volumeBG", 1, 1, Delays(1)}},
         .actorIndex = 12, .collider = kRectangleCollider, .position = {-842.0f, 468.0f}, .z = 1.2f, .hidden = true},
        {.name = "PlayerHPBar", .make = &MakeSprite<Sprite>, .animations = {{"PlayerHP", 1, 1, Delays(1)}},
         .actorIndex = 17, .position = {-437.0f, 349.0f}, .z = 3.0f, .stopped = true},
        {.name = "WinEnemyTemplate1", .make = &MakeSprite<Sprite>, .animations = deadFlying, .actorIndex = 44,
         .collider = kRectangleCollider, .position = {-116.0f, 108.0f}, .z = 3.9f, .hidden = true},
        {.name = "Stars", .make = &MakeSprite<Sprite>, .animations = {{"Star", 2, 2, Delays(4)}}, .actorIndex = 45,
         .collider = kRectangleCollider, .position = {0.0f, 244.0f}, .z = 3.9f, .stopped = true, .hidden = true},
        {.name = "WinEnemyTemplate2",
         .make = &MakeSprite<Sprite>,
         .animations = {{"Range1Dead", 3, 3, Delays(7, 0.15f)},
                        {"Range2Dead", 3, 3, DelayRuns({{0.25f, 2}, {0.15f, 5}})},
                        {"Range3Dead", 3, 3, DelayRuns({{0.25f, 2}, {0.15f, 6}})}},
         .actorIndex = 46,
         .collider = kRectangleCollider,
         .position = {3.0f, 117.0f},
         .z = 3.9f,
         .hidden = true},
        {.name = "WinEnemyTemplate3",
         .make = &MakeSprite<Sprite>,
         .animations = {{"Rolling1", 3, 3, Delays(8, 0.15f)},
                        {"Rolling2", 3, 3, Delays(7, 0.175f)},
                        {"Rolling3", 3, 3, Delays(7, 0.175f)}},
         .actorIndex = 47,
         .collider = kRectangleCollider,
         .position = {122.0f, 97.0f},
         .z = 3.9f,
         .hidden = true},
        {.name = "LeftCursor", .make = &MakeSprite<CursorSprite>, .animations = {{"LRCursor", 2, 1, Delays(2)}},
         .actorIndex = 22, .position = {-580.0f, -245.0f}, .z = 12.0f, .stopped = true},
        {.name = "RightCursor", .make = &MakeSprite<CursorSprite>, .animations = {{"LRCursor", 2, 1, Delays(2)}},
         .actorIndex = 22, .position = {-580.0f, -245.0f}, .z = 12.0f, .stopped = true, .frame = 1},
        {.name = "MainCursor", .make = &MakeSprite<CursorClass>, .animations = {{"Cursor", 1, 1, Delays(1)}},
         .actorIndex = 21, .position = {-580.0f, -245.0f}, .z = 12.0f, .stopped = true},
        {.name = "FadeTransition", .make = &MakeSprite<FadeTransition>, .animations = {{"WhiteDot", 1, 1, Delays(1)}},
         .actorIndex = 20, .collider = kRectangleCollider, .position = {0.0f, 0.0f}, .z = 100.0f,
         .scale = {1024.0f, 768.0f}},
    };
}

// The world's sprite rows in creation order, the bullet's last, but those
// left out.
std::vector<SpriteRow> WorldSprites(StageLeftOut leftOut) {
    using Sprite = Tundra::Sprite;
    const std::vector<float> deadFlyer = DelayRuns({{0.2f, 4}, {0.05f, 5}});
    const std::vector<float> firstShots = DelayRuns({{0.05f, 1}, {0.15f, 4}});
    const std::vector<float> laterShots = DelayRuns({{0.05f, 1}, {0.15f, 3}, {0.05f, 1}});
    const std::vector<SheetAnimation> bearArm{{"BearBossArm", 2, 1, Delays(2)},
                                              {"BearBossArmDead", 3, 2, DelayRuns({{0.25f, 5}, {1.0f, 1}})}};
    const std::vector<float> alpacaEye{0.1f, 0.5f, 0.5f, 0.001f};
    std::vector<SpriteRow> rows{
        {.name = "CloudTemplate", .make = &MakeSprite<Cloud>, .animations = {{"BGCloud", 2, 2, Delays(3)}},
         .actorIndex = 48, .position = {-582.0f, 82.0f}, .z = -100.0f, .stopped = true,
         .color = Color{1.0f, 1.0f, 1.0f, 1.0f}},
        {.name = "SkyGradient",
         .make = &MakeSprite<SkyGradient>,
         .animations = {{"Sky1Gradient", 1, 1, Delays(1)},
                        {"Sky2Gradient", 1, 1, Delays(1)},
                        {"Sky3Gradient", 1, 1, Delays(1)}},
         .actorIndex = 23,
         .position = {511.0f, 383.0f},
         .z = -5.0f,
         .scale = {1030.0f, 1.05f},
         .stopped = true},
        {.name = "MapTileTemplate", .make = &MakeSprite<MapTile>, .animations = {{"GrassTileset", 4, 4, Delays(15)}},
         .actorIndex = 30, .position = {-577.0f, 388.0f}, .z = 0.0f, .stopped = true},
        {.name = "BossHPBar", .make = &MakeSprite<Sprite>, .animations = {{"BossHPBar", 1, 1, Delays(1)}},
         .actorIndex = 49, .collider = kRectangleCollider, .position = {1263.0f, 574.0f}, .z = 0.0f},
        {.name = "BossHP", .make = &MakeSprite<BossHp>, .animations = {{"BossHP", 1, 1, Delays(1)}}, .actorIndex = 50,
         .collider = kRectangleCollider, .position = {1263.0f, 570.0f}, .z = 0.0f},
        {.name = "EnemyDropTemplate", .make = &MakeSprite<EnemyDrop>,
         .animations = {{"EnemyDrop", 2, 2, Delays(4, 0.25f)}}, .actorIndex = 6, .collider = kDropCollider,
         .position = {-579.0f, -318.0f}, .z = 0.0f, .body = BodySettings{1.0f, 9.8f}},
        {.name = "MapTileColliderTemplate", .make = &MakeSprite<MapTile>,
         .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}}, .actorIndex = 18, .collider = kTileCollider,
         .position = {-578.0f, 520.0f}, .z = 0.0f, .stopped = true},
        {.name = "RollingSpikeTemplate",
         .make = &MakeSprite<RollingSpike>,
         .animations = {{"Rolling1", 3, 3, Delays(8, 0.15f)},
                        {"Rolling2", 3, 3, Delays(7, 0.175f)},
                        {"Rolling3", 3, 3, Delays(7, 0.175f)}},
         .actorIndex = 47,
         .collider = kSpikeCollider,
         .position = {-579.0f, -159.0f},
         .z = 0.1f,
         .stopped = true,
         .body = BodySettings{1.0f, 15.0f}},
        {.name = "Player",
         .make = &MakeSprite<GamePlayer>,
         .animations = {{"Player", 1, 1, Delays(1, 0.33f)},
                        {"PlayerDmg", 2, 1, Delays(2, 0.2f)},
                        {"PlayerDeath", 5, 4, Delays(17, 0.3f)}},
         .actorIndex = 51,
         .collider = kPlayerCollider,
         .position = {153.0f, 305.0f},
         .z = 1.0f,
         .stopped = true,
         .body = BodySettings{1.0f, std::nullopt}},
        {.name = "Quorvex", .make = &MakeSprite<Quorvex>, .animations = {{"Quorvex", 1, 1, Delays(1)}},
         .actorIndex = 33, .collider = kRectangleCollider, .position = {153.0f, 337.0f}, .z = 1.5f},
        {.name = "WalkingRangedEnemyTemplate",
         .make = &MakeSprite<WalkingRangedEnemy>,
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
        {.name = "FlyingRangedEnemyTemplate",
         .make = &MakeSprite<FlyingRangedEnemy>,
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
        {.name = "ProjectileTemplate",
         .make = &MakeSprite<Projectile>,
         .animations = {{"Range1P", 3, 2, firstShots},
                        {"Flying1P", 3, 2, firstShots},
                        {"Range2P", 3, 2, laterShots},
                        {"Flying2P", 3, 2, laterShots},
                        {"Range3P", 3, 2, laterShots},
                        {"Flying3P", 3, 2, laterShots}},
         .actorIndex = 54,
         .collider = kShotCollider,
         .position = {-581.0f, 648.0f},
         .z = 2.0f,
         .stopped = true,
         .body = BodySettings{0.0f, std::nullopt}},
        {.name = "RightWeapon", .make = &MakeSprite<WeaponSprite>, .animations = WeaponAnimations(), .actorIndex = 34,
         .collider = kRectangleCollider, .position = {154.0f, 305.0f}, .z = 2.0f},
        {.name = "LeftWeapon", .make = &MakeSprite<WeaponSprite>, .animations = WeaponAnimations(), .actorIndex = 34,
         .position = {154.0f, 305.0f}, .z = 2.0f},
        {.name = "HpBarTemplate", .make = &MakeSprite<Sprite>, .animations = {{"HpBar", 2, 1, Delays(2)}},
         .actorIndex = 55, .position = {-587.0f, 29.0f}, .z = 3.0f, .stopped = true, .hidden = true},
        {.name = "UnknownRight",
         .make = &MakeSprite<Sprite>,
         .animations = {{"UnRight", 2, 1, Delays(2)},
                        {"UnknownRightDead", 3, 2, DelayRuns({{0.35f, 1}, {0.25f, 5}})}},
         .actorIndex = 56,
         .collider = kBossPartCollider,
         .position = {1231.0f, 868.0f},
         .z = 3.1f,
         .stopped = true,
         .frame = 1},
        {.name = "BearRArm", .make = &MakeSprite<Sprite>, .animations = bearArm, .actorIndex = 57,
         .collider = kBossPartCollider, .position = {1214.0f, 325.0f}, .z = 3.1f, .stopped = true},
        {.name = "UnknownBoss",
         .make = &MakeSprite<UnknownBoss>,
         .animations = {{"UnknownBoss", 1, 1, Delays(1)}, {"UnknownDead", 3, 2, Delays(6, 0.35f)}},
         .actorIndex = 58,
         .collider = kBossCollider,
         .position = {1331.0f, 996.0f},
         .z = 3.2f},
        {.name = "BearBossBody",
         .make = &MakeSprite<BearBoss>,
         .animations = {{"BearBossBody", 2, 1, Delays(2)},
                        {"BearBossLightAtt", 2, 2, Delays(3, 0.3f)},
                        {"BearBossDead", 3, 3, Delays(9, 0.3f)}},
         .actorIndex = 59,
         .collider = kBossCollider,
         .position = {1271.0f, 359.0f},
         .z = 3.2f},
        {.name = "AlpacaBoss",
         .make = &MakeSprite<AlpacaBoss>,
         .animations = {{"Alpaca", 2, 1, {2.0f, 0.5f}},
                        {"AlpacaDead", 4, 3,
                         DelayRuns({{1.0f, 1}, {0.4f, 2}, {0.35f, 1}, {0.3f, 1}, {1.0f, 2}, {0.25f, 5}})}},
         .actorIndex = 60,
         .collider = kBossCollider,
         .position = {1615.0f, 352.0f},
         .z = 3.2f},
        {.name = "UnknownEye", .make = &MakeSprite<Sprite>, .animations = {{"UnknownEyes", 2, 2, Delays(4)}},
         .actorIndex = 61, .collider = kRectangleCollider, .position = {1277.0f, 954.0f}, .z = 3.21f, .stopped = true},
        {.name = "UnknownLeft",
         .make = &MakeSprite<Sprite>,
         .animations = {{"UnLeft", 2, 1, Delays(2)}, {"UnknownLeftDead", 3, 2, Delays(6, 0.35f)}},
         .actorIndex = 62,
         .collider = kBossPartCollider,
         .position = {1308.0f, 847.0f},
         .z = 3.3f,
         .stopped = true,
         .frame = 1},
        {.name = "BearLArm", .make = &MakeSprite<Sprite>, .animations = bearArm, .actorIndex = 57,
         .collider = kBossPartCollider, .position = {1335.0f, 320.0f}, .z = 3.3f, .stopped = true},
        {.name = "AlpacaEye",
         .make = &MakeSprite<Sprite>,
         .animations = {{"AlpacaEye1", 2, 2, alpacaEye}, {"AlpacaEye2", 2, 2, alpacaEye}, {"AlpacaEye3", 2, 2, alpacaEye}},
         .actorIndex = 63,
         .collider = kRectangleCollider,
         .position = {1566.0f, 361.0f},
         .z = 3.3f,
         .stopped = true},
        {.name = "BossProjTemplate",
         .make = &MakeSprite<BossProjectile>,
         .animations = {{"BossAttWarn", 1, 1, Delays(1, 0.25f)},
                        {"BearBall", 3, 2, Delays(5, 0.1f)},
                        {"BearLightning", 2, 5, DelayRuns({{0.01f, 1}, {0.02f, 9}})},
                        {"AlpacaBomb", 3, 2, {0.25f, 0.2f, 0.15f, 0.1f, 0.1f}},
                        {"UnLeft", 2, 1, Delays(2)},
                        {"UnRight", 2, 1, Delays(2)}},
         .actorIndex = 64,
         .collider = kBossShotCollider,
         .position = {-578.0f, 773.0f},
         .z = 3.5f,
         .stopped = true,
         .animation = 1,
         .body = BodySettings{0.0f, std::nullopt}},
        {.name = "BulletTemplate", .make = &MakeSprite<Bullet>, .animations = BulletAnimations(), .actorIndex = 35,
         .collider = kBulletCollider, .position = {-584.0f, 266.0f}, .z = 4.5f, .body = BodySettings{0.0f, std::nullopt}},
    };
    std::erase_if(rows, [leftOut](const SpriteRow& row) {
        const std::string name = row.name;
        const bool enemy = name == "WalkingRangedEnemyTemplate" || name == "FlyingRangedEnemyTemplate" ||
                           name == "RollingSpikeTemplate";
        const bool boss = name == "UnknownBoss" || name == "BearBossBody" || name == "AlpacaBoss";
        return (enemy && leftOut.enemies) || (boss && leftOut.bosses);
    });
    return rows;
}

constexpr float k100 = 100.0f / 255.0f;
constexpr float k52 = 52.0f / 255.0f;
constexpr float k46 = 46.0f / 255.0f;
constexpr float k166 = 166.0f / 255.0f;
constexpr float k70 = 70.0f / 255.0f;
constexpr float k53 = 53.0f / 255.0f;

std::vector<ParticleRow> ParticleRows() {
    std::vector<ParticleRow> rows = WeaponEffectRows(&MakeParticles<PauseableParticleSystem>, {193.0f, 306.0f});
    rows.insert(rows.begin() + 1,
                {"FireDebuffTemplate", &MakeParticles<PS_FireDebuff>, 5, {0.0f, 9.8f}, {0.0f, -20.0f}, {0.0f, 0.0f},
                 30.0f, {-581.0f, 874.0f}, 6.8f, {5.0f, 10.0f}, 6, 7, {{1.0f, 1.0f, 1.0f, 0.9f}, {1.0f, 1.0f, 1.0f, 0.9f}},
                 {{1.0f, 1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f}}, {0.5f, 1.0f}, {10.0f, 8.0f},
                 Range<float>{0.0f, 0.0f}, 1, {{0.0f, 0.0f}, {0.0f, 0.0f}}, {{2.6f, 2.6f}, {3.0f, 3.0f}}, 0.0f});
    return rows;
}

void BuildStageHud(const LayerBuild& build) {
    for (const TextRow& row : HudTexts()) {
        PlaceTextRow(build, row);
    }
    for (const SpriteRow& row : HudSprites()) {
        PlaceSpriteRow(build, row);
    }
}

void BuildStageWorld(const LayerBuild& build, StageLeftOut leftOut) {
    PlaceTextRow(build, {"Zcollision", &MakeText<Tundra::Text>,
                         "zcollision\n\n0 player ememies terrain \n1 enemy projectiles\n2 player bullets\n3 enemy drops",
                         {-1140.0f, 110.0f}, 0.0f, 1.0f, true});
    for (const SpriteRow& row : WorldSprites(leftOut)) {
        PlaceSpriteRow(build, row);
    }
    for (const ParticleRow& row : ParticleRows()) {
        PlaceParticleRow(build, row);
    }
}

// Collision actors: per animation its frames, each with a bounding
// rectangle (top, left, right, bottom) and its circles and segments.
struct Circle {
    Vector2D centre;
    float radius;
    int id;
    bool mirror = true;
};
struct Segment {
    Vector2D p1;
    Vector2D p2;
    int id;
};
struct FrameShapes {
    Collision2D::TunRect rectangle;
    std::vector<Circle> circles;
    std::vector<Segment> segments;
};
using AnimationShapes = std::vector<FrameShapes>;

AnimationShapes Frames(int count, const FrameShapes& shapes) {
    return AnimationShapes(static_cast<std::size_t>(count), shapes);
}

// Runs of equal frames in turn: {{3, first}, {5, rest}}.
AnimationShapes FrameRuns(std::initializer_list<std::pair<int, FrameShapes>> runs) {
    AnimationShapes frames;
    for (const auto& [count, shapes] : runs) {
        frames.insert(frames.end(), static_cast<std::size_t>(count), shapes);
    }
    return frames;
}

Collision2D::CollisionActor* MakeActor(const std::vector<AnimationShapes>& animations) {
    auto* actor = TUN_NEW(Collision2D::CollisionActor);
    for (const AnimationShapes& frames : animations) {
        auto* animation = TUN_NEW(Collision2D::CollisionAnimation);
        for (const FrameShapes& shapes : frames) {
            auto* frame = TUN_NEW(Collision2D::CollisionFrame);
            frame->SetBoundingRectangle(shapes.rectangle, true);
            for (const Circle& circle : shapes.circles) {
                frame->AddCircle(circle.centre, circle.radius, circle.id, circle.mirror);
            }
            for (const Segment& segment : shapes.segments) {
                frame->AddLineSegment(segment.p1, segment.p2, segment.id, true);
            }
            animation->AddCollisionFrame(frame);
        }
        actor->AddCollisionAnimation(animation);
    }
    return actor;
}

// The ground tiles: a flat top, or a slope's top beside its wall.
AnimationShapes ColliderTileFrames() {
    constexpr int kTopSegment = 22;
    const Collision2D::TunRect square{25.0f, -25.0f, 25.0f, -25.0f};
    const FrameShapes flat{square, {}, {{{-24.0f, 18.0f}, {24.0f, 18.0f}, kTopSegment}}};
    const FrameShapes slope{square,
                            {},
                            {{{-22.0f, 18.0f}, {24.0f, 18.0f}, kTopSegment}, {{-22.0f, -24.0f}, {-22.0f, 18.0f}, 0}}};
    return {flat, flat, slope, flat, flat, slope, flat, flat, slope};
}

// The enemies' and shots' shapes: a circle on the frames that hurt or can
// be hit, the bounding rectangle alone on the others.
FrameShapes Box(float top, float left, float right, float bottom, std::vector<Circle> circles = {}) {
    return {{top, left, right, bottom}, std::move(circles), {}};
}

std::vector<AnimationShapes> SpikeShapes() {
    const auto rolling = [](int frames, float radius, int id) {
        return FrameRuns({{3, Box(47.0f, -47.0f, 47.0f, -47.0f, {{{0.0f, 0.0f}, radius, id}})},
                          {frames - 3, Box(47.0f, -47.0f, 47.0f, -47.0f)}});
    };
    return {rolling(8, 24.0f, 22), rolling(7, 24.0f, 0), rolling(7, 26.0f, 0)};
}

std::vector<AnimationShapes> WalkerShapes() {
    const FrameShapes plain = Box(48.0f, -48.0f, 48.0f, -48.0f);
    const FrameShapes wide = Box(48.0f, -60.0f, 60.0f, -48.0f);
    return {Frames(3, Box(48.0f, -48.0f, 48.0f, -48.0f, {{{0.0f, -20.0f}, 24.0f, 0}})),
            FrameRuns({{1, Box(48.0f, -48.0f, 48.0f, -48.0f, {{{6.0f, -19.0f}, 26.0f, 0}})},
                       {6, Box(48.0f, -48.0f, 48.0f, -48.0f, {{{6.0f, -19.0f}, 29.0f, 0}})}}),
            Frames(3, Box(48.0f, -48.0f, 48.0f, -48.0f, {{{0.0f, -19.0f}, 26.0f, 0}})),
            Frames(7, plain),
            Frames(3, Box(48.0f, -60.0f, 60.0f, -48.0f, {{{0.0f, -15.0f}, 30.0f, 0}})),
            Frames(8, wide)};
}

std::vector<AnimationShapes> FlyerShapes() {
    const FrameShapes small = Box(48.0f, -48.0f, 48.0f, -48.0f, {{{0.0f, -18.0f}, 16.0f, 0}});
    const FrameShapes plain = Box(48.0f, -48.0f, 48.0f, -48.0f);
    const FrameShapes wide = Box(48.0f, -56.0f, 56.0f, -48.0f);
    return {Frames(4, small),
            Frames(9, plain),
            Frames(4, small),
            Frames(9, plain),
            Frames(4, Box(48.0f, -56.0f, 56.0f, -48.0f, {{{0.0f, -12.0f}, 23.0f, 0}})),
            Frames(9, wide)};
}

std::vector<AnimationShapes> ProjectileShapes() {
    std::vector<AnimationShapes> animations;
    for (const Circle& circle : {Circle{{0.0f, 0.0f}, 12.0f, 0}, Circle{{-2.0f, 0.0f}, 8.0f, 0},
                                 Circle{{0.0f, 0.0f}, 11.0f, 12}, Circle{{-2.0f, 0.0f}, 8.0f, 0},
                                 Circle{{0.0f, 0.0f}, 12.0f, 0}, Circle{{-2.0f, 0.0f}, 8.0f, 0}}) {
        animations.push_back(FrameRuns(
            {{1, Box(24.0f, -24.0f, 24.0f, -24.0f, {circle})}, {4, Box(24.0f, -24.0f, 24.0f, -24.0f)}}));
    }
    return animations;
}

// A half of the final boss, or a shot made of one: hurting on its first
// frame only.
AnimationShapes HalfShapes(const Circle& circle) {
    return FrameRuns({{1, Box(61.0f, -61.0f, 61.0f, -61.0f, {circle})}, {1, Box(61.0f, -61.0f, 61.0f, -61.0f)}});
}

std::map<int, std::vector<AnimationShapes>> BossActors() {
    const Circle leftHalf{{0.0f, 0.0f}, 46.0f, 0};
    const Circle rightHalf{{-4.0f, -2.0f}, 41.0f, 0};
    const FrameShapes arm = Box(165.0f, -37.0f, 37.0f, -165.0f);
    const Circle bearHead{{0.0f, -89.0f}, 84.0f, 0};
    const FrameShapes bigBall = Box(52.0f, -52.0f, 52.0f, -52.0f);
    return {
        {56, {HalfShapes(rightHalf), Frames(6, Box(61.0f, -61.0f, 61.0f, -61.0f))}},
        {57,
         {Frames(2, Box(165.0f, -37.0f, 37.0f, -165.0f, {{{0.0f, -126.0f}, 37.0f, 0}})),
          FrameRuns({{1, arm}, {3, Box(165.0f, -37.0f, 38.0f, -165.0f)}, {2, arm}})}},
        {58,
         {Frames(1, Box(210.0f, -305.0f, 305.0f, -210.0f, {{{-24.0f, -42.0f}, 89.0f, 0}})),
          Frames(6, Box(210.0f, -305.0f, 305.0f, -210.0f))}},
        {59,
         {FrameRuns({{1, Box(210.0f, -150.0f, 150.0f, -210.0f, {{{4.0f, 54.0f}, 81.0f, 0}, bearHead})},
                     {1, Box(210.0f, -150.0f, 150.0f, -210.0f, {{{4.0f, 44.0f}, 81.0f, 0}, bearHead})}}),
          Frames(3, Box(210.0f, -150.0f, 150.0f, -210.0f, {{{4.0f, 54.0f}, 81.0f, 0}, bearHead})),
          Frames(9, Box(210.0f, -150.0f, 150.0f, -210.0f))}},
        {60,
         {Frames(2, Box(210.0f, -160.0f, 160.0f, -210.0f,
                        {{{-35.0f, 28.0f}, 86.0f, 0}, {{-13.0f, -115.0f}, 87.0f, 0}})),
          Frames(12, Box(210.0f, -160.0f, 160.0f, -210.0f))}},
        {61, {Frames(4, Box(84.0f, -60.0f, 60.0f, -84.0f))}},
        {62, {HalfShapes(leftHalf), Frames(6, Box(61.0f, -61.0f, 61.0f, -61.0f))}},
        {63,
         {Frames(4, Box(36.0f, -64.0f, 64.0f, -36.0f)), Frames(4, Box(36.0f, -64.0f, 64.0f, -36.0f)),
          Frames(4, Box(36.0f, -64.0f, 64.0f, -36.0f))}},
        {64,
         {Frames(1, Box(45.0f, -28.0f, 28.0f, -45.0f)),
          FrameRuns({{1, Box(52.0f, -52.0f, 52.0f, -52.0f, {{{1.0f, 0.0f}, 33.0f, 0}})},
                     {2, bigBall},
                     {2, Box(52.0f, -52.0f, 53.0f, -53.0f)}}),
          Frames(10, Box(40.0f, -450.0f, 450.0f, -40.0f)),
          FrameRuns({{1, bigBall}, {3, Box(52.0f, -52.0f, 52.0f, -52.0f, {{{0.0f, -1.0f}, 35.0f, 0}})}, {1, bigBall}}),
          HalfShapes(leftHalf),
          HalfShapes(rightHalf)}},
    };
}

std::map<int, std::vector<AnimationShapes>> StageActors() {
    constexpr int kBulletCircle = 16;
    const Circle player{{0.0f, -14.0f}, 30.0f, 0, false};
    const Collision2D::TunRect bullet{12.0f, -12.0f, 12.0f, -12.0f};
    auto box = [](float top, float left, float right, float bottom, int frames = 1) {
        return std::vector<AnimationShapes>{Frames(frames, {{top, left, right, bottom}, {}, {}})};
    };
    std::map<int, std::vector<AnimationShapes>> shapes{
        {6, {Frames(4, {{32.0f, -32.0f, 32.0f, -32.0f}, {{{0.0f, 0.0f}, 32.0f, 0}}, {}})}},
        {8, box(0.0f, 0.0f, 1.0f, -1.0f)},
        {9, box(4.0f, 0.0f, 1.0f, -5.0f)},
        {10, box(17.0f, -17.0f, 17.0f, -17.0f)},
        {11, box(36.0f, -100.0f, 100.0f, -36.0f)},
        {12, box(36.0f, -100.0f, 100.0f, -36.0f)},
        {18, {ColliderTileFrames()}},
        {20, box(0.0f, 0.0f, 1.0f, -1.0f)},
        {32, {Frames(1, {{48.0f, -48.0f, 48.0f, -48.0f}, {player}, {}})}},
        {33, box(13.0f, -10.0f, 10.0f, -13.0f)},
        {34,
         {Frames(4, {{10.0f, -26.0f, 26.0f, -10.0f}, {}, {}}), Frames(4, {{11.0f, -26.0f, 26.0f, -11.0f}, {}, {}}),
          Frames(2, {{11.0f, -26.0f, 27.0f, -11.0f}, {}, {}}), Frames(1, {{11.0f, -26.0f, 26.0f, -11.0f}, {}, {}})}},
        {35,
         {Frames(12, {bullet, {{{0.0f, 0.0f}, 9.0f, kBulletCircle}}, {}}), Frames(6, {bullet, {}, {}}),
          Frames(1, {{10.0f, -10.0f, 10.0f, -10.0f}, {{{0.0f, 0.0f}, 10.0f, kBulletCircle}}, {}}),
          Frames(6, {{40.0f, -600.0f, 600.0f, -40.0f}, {}, {}}),
          Frames(1, {{8.0f, -32.0f, 32.0f, -8.0f}, {{{24.0f, 0.0f}, 5.0f, kBulletCircle}}, {}}),
          Frames(6, {bullet, {}, {}})}},
        {40, box(26.0f, -206.0f, 206.0f, -26.0f, 2)},
        {41, box(82.0f, -282.0f, 282.0f, -82.0f)},
        {42, box(8.0f, -16.0f, 16.0f, -8.0f)},
        {44,
         {Frames(9, {{48.0f, -48.0f, 48.0f, -48.0f}, {}, {}}), Frames(9, {{48.0f, -48.0f, 48.0f, -48.0f}, {}, {}}),
          Frames(9, {{48.0f, -56.0f, 56.0f, -48.0f}, {}, {}})}},
        {45, box(59.0f, -115.0f, 115.0f, -59.0f, 4)},
        {46,
         {Frames(7, {{48.0f, -48.0f, 48.0f, -48.0f}, {}, {}}), Frames(7, {{48.0f, -48.0f, 48.0f, -48.0f}, {}, {}}),
          Frames(8, {{48.0f, -60.0f, 60.0f, -48.0f}, {}, {}})}},
        {47, SpikeShapes()},
        {49, box(37.0f, -78.0f, 78.0f, -37.0f)},
        {50, box(15.0f, -68.0f, 68.0f, -15.0f)},
        {51,
         {Frames(1, {{48.0f, -48.0f, 48.0f, -48.0f}, {player}, {}}),
          Frames(2, {{48.0f, -48.0f, 48.0f, -48.0f}, {{player.centre, 30.0f, 0}}, {}}),
          Frames(17, {{96.0f, -48.0f, 48.0f, -96.0f}, {{{0.0f, -12.0f}, 30.0f, 0}}, {}})}},
        {52, WalkerShapes()},
        {53, FlyerShapes()},
        {54, ProjectileShapes()},
        {55, box(4.0f, -25.0f, 25.0f, -4.0f, 2)},
    };
    shapes.merge(BossActors());
    return shapes;
}

}  // namespace

std::vector<SheetAnimation> WeaponAnimations() {
    return {
        {"PlasmaWeapon", 2, 2, Delays(4, 0.2f)},
        {"LightningWeapon", 2, 2, Delays(4, 0.6f)},
        {"FlamethrowerWeapon", 2, 1, {0.5f, 1.0f}},
        {"MachineGunWeapon", 1, 1, Delays(1)},
    };
}

std::vector<SheetAnimation> WeaponBarAnimations() {
    return {
        {"PlasmaBar", 1, 1, Delays(1)},
        {"LightningBar", 1, 1, Delays(1)},
        {"FlamethrowerBar", 1, 1, Delays(1)},
        {"MachineGunBar", 1, 1, Delays(1)},
    };
}

std::vector<SheetAnimation> BulletAnimations() {
    return {
        {"PlasmaBullet", 4, 3, Delays(12, 0.05f)}, {"PlasmaDestroy", 3, 2, Delays(6, 0.1f)},
        {"LightHack", 1, 1, Delays(1)},           {"Lightning", 1, 6, Delays(6, 0.03f)},
        {"MachineGunBullet", 1, 1, Delays(1)},     {"MiniDestroy", 3, 2, Delays(6, 0.1f)},
    };
}

std::vector<ParticleRow> WeaponEffectRows(decltype(ParticleRow::make) make, const Vector2D& position) {
    return {
        {"SmokeEmitter", make, 45, {0.0f, 9.8f}, {10.0f, 0.0f}, {10.0f, -10.0f}, std::nullopt, position, 6.8f,
         {0.0f, 0.0f}, 6, 7, {{0.6f, 0.6f, 0.6f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}},
         {{0.4f, 0.4f, 0.4f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}}, {0.0f, 1.0f}, {400.0f, 500.0f},
         Range<float>{0.0f, 0.0f}, 1, {{0.3f, 0.3f}, {0.5f, 0.5f}}, {{3.0f, 3.0f}, {3.5f, 3.5f}}, 0.1f},
        {"FlameEmitter", make, 30, {0.0f, 0.0f}, {30.0f, 0.0f}, {10.0f, -10.0f}, std::nullopt, position, 6.9f,
         {0.0f, 0.0f}, 6, 1, {{1.0f, 0.4f, 0.4f, 1.0f}, {1.0f, k100, k52, 1.0f}},
         {{0.6f, k46, 0.0f, 0.0f}, {k166, k70, k53, 0.0f}}, {0.0f, 2.0f}, {200.0f, 250.0f}, Range<float>{-2.0f, 2.0f},
         1, {{1.0f, 1.0f}, {1.0f, 1.0f}}, {{2.0f, 2.0f}, {3.0f, 3.0f}}, 0.1f},
        {"GasEmitter", make, 10, {0.0f, 0.0f}, {0.0f, 0.0f}, {30.0f, -30.0f}, std::nullopt, position, 7.0f,
         {0.0f, 0.0f}, 6, 1, {{1.0f, 0.0f, 1.0f, 0.3f}, {0.8f, 0.0f, 0.8f, 0.5f}},
         {{1.0f, 0.2f, 0.0f, 0.0f}, {1.0f, 0.6f, 0.0f, 0.0f}}, {0.0f, 1.25f}, {100.0f, 100.0f}, std::nullopt, 0,
         {{0.8f, 0.3f}, {1.0f, 0.35f}}, {{1.0f, 0.8f}, {2.0f, 1.2f}}, 0.0f},
    };
}

void BuildStageActors(MyLevelFactory& factory) {
    Tundra::Game* game = Tundra::Game::GetInstance();
    if (game == nullptr) {
        return;
    }
    // Every number gets an actor, in number order: a sprite read back from a
    // saved game finds its actor by its index in the game's asset list.
    const std::map<int, std::vector<AnimationShapes>> shapes = StageActors();
    for (std::uint32_t number = 0; number < kCollisionActorCount; ++number) {
        const auto found = shapes.find(static_cast<int>(number));
        Collision2D::CollisionActor* actor =
            found != shapes.end() ? MakeActor(found->second) : TUN_NEW(Collision2D::CollisionActor);
        game->AddCollisionAssets(actor);
        factory.GetCollisionActors()[number] = actor;
    }
}

void AddStageContent(TestContent& content, StageLeftOut leftOut) {
    content.OnLoadActors(&BuildStageActors);
    content.OnBuild(MyLevelFactory::kGameLevel, MyLevelFactory::kHudLayer, &BuildStageHud);
    content.OnBuild(MyLevelFactory::kGameLevel, MyLevelFactory::kWorldLayer,
                    [leftOut](const LayerBuild& build) { BuildStageWorld(build, leftOut); });
}

std::unique_ptr<TestContent> MakeStageContent() {
    auto content = std::make_unique<TestContent>();
    AddStageContent(*content);
    return content;
}

}  // namespace mygametest
