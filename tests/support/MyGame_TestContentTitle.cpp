#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_InternalSprite.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_OptionsUI.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_ShopTabs.h"
#include "mygame/MyGame_ShopUI.h"
#include "mygame/MyGame_TitleSun.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "mygame/MyGame_WepSelUI.h"
#include "support/MyGame_TestContent.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

// The title level's rows as the game's content gives them: names, classes,
// sheets, grids, delays, positions, z-orders, colliders and bodies.
namespace mygametest {
namespace {

const ColliderSettings kRectangleCollider{};
const ColliderSettings kShapeCollider{.type = 1};
const ColliderSettings kPlayerCollider{.type = 1, .updateOnIdle = true};
const ColliderSettings kTileCollider{.type = 1, .collidesWith = {0, 1, 2}};
const ColliderSettings kBulletCollider{.type = 1, .thickness = 8.0f, .group = 2};

std::vector<TextRow> TitleHudTexts() {
    return {
        {"CenteredTextTemplate", &MakeText<CenteredText>, "template", {-671.0f, 447.0f}, 3.1f},
        {"FadingTextTemplate", &MakeText<FadingText>, "I'm a template!", {-685.0f, 487.0f}, 3.1f},
        {"DropsCollectedText", &MakeText<Tundra::Text>, "0", {-420.0f, 205.0f}, 5.0f},
    };
}

std::vector<SpriteRow> TitleHudSprites() {
    using Sprite = Tundra::Sprite;
    return {
        {.name = "LeftWeaponBarBG", .make = &MakeSprite<Sprite>, .animations = {{"WeaponBars", 2, 2, Delays(4)}},
         .actorIndex = 3, .position = {-468.0f, 287.0f}, .stopped = true},
        {.name = "LeftWeaponBar", .make = &MakeSprite<WeaponBar>, .animations = WeaponBarAnimations(), .actorIndex = 4,
         .position = {-468.0f, 287.0f}, .stopped = true},
        {.name = "RightWeaponBarBG", .make = &MakeSprite<Sprite>, .animations = {{"WeaponBars", 2, 2, Delays(4)}},
         .actorIndex = 3, .position = {-409.0f, 287.0f}, .stopped = true},
        {.name = "RightWeaponBar", .make = &MakeSprite<WeaponBar>, .animations = WeaponBarAnimations(), .actorIndex = 4,
         .position = {-409.0f, 287.0f}, .stopped = true},
        {.name = "PlayerHPBarColor", .make = &MakeSprite<HpBar>, .animations = {{"PlayerHPColor", 1, 1, Delays(1)}},
         .actorIndex = 5, .position = {-437.0f, 349.0f}, .stopped = true},
        {.name = "Donut", .make = &MakeSprite<Sprite>, .animations = {{"EnemyDrop", 2, 2, Delays(4, 0.25f)}},
         .actorIndex = 6, .collider = kRectangleCollider, .position = {-470.0f, 215.0f}},
        {.name = "WepSelFrame", .make = &MakeSprite<WepSelUI>, .animations = {{"LightHack", 1, 1, Delays(1)}},
         .actorIndex = 7, .collider = kRectangleCollider, .position = {-956.0f, 260.0f}, .stopped = true},
        {.name = "FrameBGTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FrameBG", 1, 1, Delays(1)}},
         .actorIndex = 8, .collider = kRectangleCollider, .position = {-451.0f, 553.0f}, .z = 0.2f,
         .scale = {50.0f, 50.0f}},
        {.name = "FramePipeTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FramePipe", 1, 1, Delays(1)}},
         .actorIndex = 9, .collider = kRectangleCollider, .position = {-468.0f, 612.0f}, .z = 0.3f,
         .scale = {100.0f, 1.0f}},
        {.name = "FrameCornerTemplate", .make = &MakeSprite<Sprite>, .animations = {{"FrameCorner", 1, 1, Delays(1)}},
         .actorIndex = 10, .collider = kRectangleCollider, .position = {-448.0f, 675.0f}, .z = 0.4f},
        {.name = "Volume", .make = &MakeSprite<InternalSprite>, .animations = {{"Volume", 1, 1, Delays(1)}},
         .actorIndex = 11, .collider = kRectangleCollider, .position = {-1004.0f, 365.0f}, .z = 1.0f, .hidden = true},
        {.name = "VolumeBG", .make = &MakeSprite<VolumeControl>, .animations = {{"volumeBG", 1, 1, Delays(1)}},
         .actorIndex = 12, .collider = kRectangleCollider, .position = {-1004.0f, 365.0f}, .z = 1.2f, .hidden = true,
         .setVisible = &SetVisibleAs<VolumeControl>},
        {.name = "ShopTabs",
         .make = &MakeSprite<ShopTabs>,
         .animations = {{"RobotTab", 2, 2, Delays(3)},
                        {"PlasmaTab", 2, 2, Delays(3)},
                        {"BeamTab", 2, 2, Delays(3)},
                        {"FlamerTab", 2, 2, Delays(3)},
                        {"MiniTab", 2, 2, Delays(3)}},
         .actorIndex = 13,
         .position = {-627.0f, 591.0f},
         .z = 3.0f,
         .stopped = true},
        {.name = "WepSelTemplate",
         .make = &MakeSprite<WepSelButton>,
         .animations = {{"PlasmaSel", 2, 2, Delays(3)},
                        {"LightSel", 2, 2, Delays(3)},
                        {"FlameSel", 2, 2, Delays(3)},
                        {"MiniGunSel", 2, 2, Delays(3)}},
         .actorIndex = 14,
         .position = {-624.0f, 664.0f},
         .z = 3.0f,
         .stopped = true},
        {.name = "ButtonTemplate",
         .make = &MakeSprite<LabeledButton>,
         .animations = {{"ButtonTemplate", 2, 2, Delays(3)},
                        {"OneCharButton", 2, 2, Delays(3)},
                        {"LevelSelButton", 2, 2, Delays(3)}},
         .actorIndex = 15,
         .position = {-613.0f, 779.0f},
         .z = 3.0f,
         .stopped = true,
         .hidden = true,
         .setOpacity = &SetOpacityAs<LabeledButton>,
         .setVisible = &SetVisibleAs<LabeledButton>},
        {.name = "ShopCapsuleTemplate", .make = &MakeSprite<Sprite>, .animations = {{"ShopCapsule", 3, 2, Delays(6)}},
         .actorIndex = 16, .position = {-618.0f, 845.0f}, .z = 3.0f, .stopped = true, .opacity = 0.6f},
        {.name = "PlayerHPBar", .make = &MakeSprite<Sprite>, .animations = {{"PlayerHP", 1, 1, Delays(1)}},
         .actorIndex = 17, .position = {-437.0f, 349.0f}, .z = 3.0f, .stopped = true},
        {.name = "LevelTile", .make = &MakeSprite<MapTile>, .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}},
         .actorIndex = 18, .position = {-718.0f, 279.0f}, .z = 3.1f, .stopped = true},
        {.name = "Credits", .make = &MakeSprite<Sprite>, .animations = {{"Credits", 1, 1, Delays(1)}},
         .actorIndex = 19, .collider = kRectangleCollider, .position = {-972.0f, 658.0f}, .z = 3.1f},
        {.name = "FadeTransition", .make = &MakeSprite<FadeTransition>, .animations = {{"WhiteDot", 1, 1, Delays(1)}},
         .actorIndex = 20, .collider = kRectangleCollider, .z = 10.0f, .scale = {1024.0f, 768.0f}},
        {.name = "MainCursor", .make = &MakeSprite<CursorClass>, .animations = {{"Cursor", 1, 1, Delays(1)}},
         .actorIndex = 21, .collider = kRectangleCollider, .position = {-641.0f, 211.0f}, .z = 13.0f, .stopped = true},
        {.name = "LeftCursor", .make = &MakeSprite<CursorSprite>, .animations = {{"LRCursor", 2, 1, Delays(2)}},
         .actorIndex = 22, .collider = kRectangleCollider, .position = {-641.0f, 211.0f}, .z = 13.0f, .stopped = true},
        {.name = "RightCursor", .make = &MakeSprite<CursorSprite>, .animations = {{"LRCursor", 2, 1, Delays(2)}},
         .actorIndex = 22, .collider = kRectangleCollider, .position = {-641.0f, 211.0f}, .z = 13.0f, .stopped = true,
         .frame = 1},
    };
}

std::vector<TextRow> TitleWorldTexts() {
    return {
        {"DialogTemplate", &MakeText<Tundra::Text>, "", {-640.0f, 385.0f}, 0.0f},
        {"ScoreTextTemplate", &MakeText<ScoreText>, "template", {-667.0f, 526.0f}, 5.0f},
    };
}

std::vector<SpriteRow> TitleWorldSprites() {
    using Sprite = Tundra::Sprite;
    return {
        {.name = "SkyGradient",
         .make = &MakeSprite<Sprite>,
         .animations = {{"Sky1Gradient", 1, 1, Delays(1)},
                        {"Sky2Gradient", 1, 1, Delays(1)},
                        {"Sky3Gradient", 1, 1, Delays(1)}},
         .actorIndex = 23,
         .position = {512.0f, 384.0f},
         .z = -5.0f,
         .scale = {1030.0f, 1.05f},
         .stopped = true},
        {.name = "TitleSun", .make = &MakeSprite<TitleSun>, .animations = {{"TitleSun", 1, 1, Delays(1)}},
         .actorIndex = 24, .position = {-312.0f, 123.0f}, .z = -4.0f, .stopped = true},
        {.name = "ExitSign",
         .make = &MakeSprite<MenuExit>,
         .animations = {{"MenuSignGeneric", 2, 2, Delays(4, 0.25f)},
                        {"MenuExit", 2, 2, Delays(4, 0.2f)},
                        {"MenuExitHover", 1, 1, Delays(1)}},
         .actorIndex = 25,
         .collider = kRectangleCollider,
         .position = {50.0f, 122.0f},
         .z = -2.0f,
         .stopped = true},
        {.name = "OptionsUI", .make = &MakeSprite<OptionsUI>, .animations = {{"OptionMachine", 2, 2, Delays(3, 0.5f)}},
         .actorIndex = 26, .position = {273.0f, 166.0f}, .z = -0.2f},
        {.name = "LevelSelUI", .make = &MakeSprite<LevelUI>, .animations = {{"LevelSelMachine", 2, 2, Delays(3, 0.5f)}},
         .actorIndex = 27, .position = {739.0f, 166.0f}, .z = -0.2f},
        {.name = "ShopUI", .make = &MakeSprite<ShopUI>, .animations = {{"WepSelMachine", 2, 2, Delays(3, 0.5f)}},
         .actorIndex = 28, .position = {527.0f, 166.0f}, .z = -0.2f},
        {.name = "Title", .make = &MakeSprite<Sprite>, .animations = {{"Title", 1, 1, Delays(1)}}, .actorIndex = 29,
         .collider = kShapeCollider, .position = {512.0f, 860.0f}, .z = -0.1f, .stopped = true},
        {.name = "MapTileTemplate", .make = &MakeSprite<MapTile>, .animations = {{"GrassTileset", 4, 4, Delays(15)}},
         .actorIndex = 30, .position = {-635.0f, 347.0f}, .stopped = true},
        {.name = "PushX", .make = &MakeSprite<Sprite>, .animations = {{"PushX", 1, 1, Delays(1)}}, .actorIndex = 31,
         .position = {-623.0f, 729.0f}},
        {.name = "Player", .make = &MakeSprite<MenuPlayer>, .animations = {{"Player", 1, 1, Delays(1, 0.33f)}},
         .actorIndex = 32, .collider = kPlayerCollider, .position = {603.0f, 817.0f}, .stopped = true,
         .flipped = true, .body = BodySettings{1.0f, std::nullopt}},
        {.name = "MapTileColliderTemplate", .make = &MakeSprite<MapTile>,
         .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}}, .actorIndex = 18, .collider = kTileCollider,
         .position = {-635.0f, 280.0f}, .stopped = true},
        {.name = "Quorvex", .make = &MakeSprite<Quorvex>, .animations = {{"Quorvex", 1, 1, Delays(1)}},
         .actorIndex = 33, .collider = kRectangleCollider, .position = {602.0f, 849.0f}, .z = 1.5f, .flipped = true},
        {.name = "RightWeapon", .make = &MakeSprite<WeaponSprite>, .animations = WeaponAnimations(), .actorIndex = 34,
         .collider = kRectangleCollider, .position = {603.0f, 816.0f}, .z = 2.0f, .hidden = true},
        {.name = "LeftWeapon", .make = &MakeSprite<WeaponSprite>, .animations = WeaponAnimations(), .actorIndex = 34,
         .position = {603.0f, 816.0f}, .z = 2.0f},
        {.name = "BulletTemplate", .make = &MakeSprite<Bullet>, .animations = BulletAnimations(), .actorIndex = 35,
         .collider = kBulletCollider, .position = {-635.0f, 410.0f}, .z = 4.5f, .body = BodySettings{0.0f, std::nullopt}},
        {.name = "ControlsInstruction1", .make = &MakeSprite<Sprite>,
         .animations = {{"ControlInstruction", 2, 1, Delays(2)}}, .actorIndex = 36, .position = {512.0f, 342.0f},
         .z = 6.0f, .stopped = true, .hidden = true},
        {.name = "ControlsInstruction2", .make = &MakeSprite<Sprite>,
         .animations = {{"ControlInstruction", 2, 1, Delays(2)}}, .actorIndex = 36, .position = {512.0f, 281.0f},
         .z = 6.0f, .stopped = true, .hidden = true, .frame = 1},
    };
}

void BuildTitleHud(const LayerBuild& build) {
    for (const TextRow& row : TitleHudTexts()) {
        PlaceTextRow(build, row);
    }
    for (const SpriteRow& row : TitleHudSprites()) {
        PlaceSpriteRow(build, row);
    }
}

void BuildTitleWorld(const LayerBuild& build) {
    for (const TextRow& row : TitleWorldTexts()) {
        PlaceTextRow(build, row);
    }
    for (const SpriteRow& row : TitleWorldSprites()) {
        PlaceSpriteRow(build, row);
    }
    for (const ParticleRow& row : WeaponEffectRows(&MakeParticles<Tundra::ParticleSystem>, {652.0f, 816.0f})) {
        PlaceParticleRow(build, row);
    }
}

}  // namespace

void AddTitleContent(TestContent& content) {
    content.OnLoadActors(&BuildStageActors);
    content.OnBuild(MyLevelFactory::kMenuLevel, MyLevelFactory::kHudLayer, &BuildTitleHud);
    content.OnBuild(MyLevelFactory::kMenuLevel, MyLevelFactory::kWorldLayer, &BuildTitleWorld);
}

}  // namespace mygametest
