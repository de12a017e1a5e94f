#include "mygame/generated/MyGame_ContentMenu.h"
#include "mygame/generated/MyGame_ContentWeaponRows.h"

#include <utility>
#include <vector>

namespace {

const ColliderSettings kShapeCollider{.type = 1};
// The player stays in the collision test while it stands still.
const ColliderSettings kPlayerCollider{.type = 1, .updateOnIdle = true};
const ColliderSettings kTileCollider{.type = 1, .collidesWith = {0, 1, 2}};
const ColliderSettings kBulletCollider{.type = 1, .thickness = 8.0f, .group = 2};

// Beside the right weapon, which carries the effects once they are mounted.
const Vector2D kEffectsPosition{652.0f, 816.0f};

// The smoke, flame and gas of the right weapon, last in the layer.
LayerRows WeaponEffectRows() {
    return {
        ParticleRow{.name = "SmokeEmitter",
                    .make = "Tundra::ParticleSystem",
                    .count = 45,
                    .gravity = {0.0f, 9.8f},
                    .emitterOffset = {10.0f, 0.0f},
                    .emitterAngles = {10.0f, -10.0f},
                    .position = kEffectsPosition,
                    .z = 6.8f,
                    .sourceBlend = 6,
                    .destinationBlend = 7,
                    .startColor = {{0.6f, 0.6f, 0.6f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}},
                    .endColor = {{0.4f, 0.4f, 0.4f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}},
                    .lifetime = {0.0f, 1.0f},
                    .speed = {400.0f, 500.0f},
                    .rotationSpeed = ValueRange<float>{0.0f, 0.0f},
                    .direction = 1,
                    .startScale = {{0.3f, 0.3f}, {0.5f, 0.5f}},
                    .endScale = {{3.0f, 3.0f}, {3.5f, 3.5f}},
                    .warmUp = 0.1f},
        ParticleRow{.name = "FlameEmitter",
                    .make = "Tundra::ParticleSystem",
                    .count = 30,
                    .gravity = {0.0f, 0.0f},
                    .emitterOffset = {30.0f, 0.0f},
                    .emitterAngles = {10.0f, -10.0f},
                    .position = kEffectsPosition,
                    .z = 6.9f,
                    .sourceBlend = 6,
                    .destinationBlend = 1,
                    .startColor = {{1.0f, 0.4f, 0.4f, 1.0f}, {1.0f, 100.0f / 255.0f, 52.0f / 255.0f, 1.0f}},
                    .endColor = {{0.6f, 46.0f / 255.0f, 0.0f, 0.0f},
                                 {166.0f / 255.0f, 70.0f / 255.0f, 53.0f / 255.0f, 0.0f}},
                    .lifetime = {0.0f, 2.0f},
                    .speed = {200.0f, 250.0f},
                    .rotationSpeed = ValueRange<float>{-2.0f, 2.0f},
                    .direction = 1,
                    .startScale = {{1.0f, 1.0f}, {1.0f, 1.0f}},
                    .endScale = {{2.0f, 2.0f}, {3.0f, 3.0f}},
                    .warmUp = 0.1f},
        ParticleRow{.name = "GasEmitter",
                    .make = "Tundra::ParticleSystem",
                    .count = 10,
                    .gravity = {0.0f, 0.0f},
                    .emitterOffset = {0.0f, 0.0f},
                    .emitterAngles = {30.0f, -30.0f},
                    .position = kEffectsPosition,
                    .z = 7.0f,
                    .sourceBlend = 6,
                    .destinationBlend = 1,
                    .startColor = {{1.0f, 0.0f, 1.0f, 0.3f}, {0.8f, 0.0f, 0.8f, 0.5f}},
                    .endColor = {{1.0f, 0.2f, 0.0f, 0.0f}, {1.0f, 0.6f, 0.0f, 0.0f}},
                    .lifetime = {0.0f, 1.25f},
                    .speed = {100.0f, 100.0f},
                    .direction = 0,
                    .startScale = {{0.8f, 0.3f}, {1.0f, 0.35f}},
                    .endScale = {{1.0f, 0.8f}, {2.0f, 1.2f}}},
    };
}

}  // namespace

LayerRows MenuWorldRows() {
    LayerRows rows{
        TextRow{.name = "DialogTemplate", .make = "Tundra::Text", .text = "", .position = {-640.0f, 385.0f},
                .z = 0.0f, .color = std::nullopt},
        TextRow{.name = "ScoreTextTemplate", .make = "ScoreText", .text = "template", .position = {-667.0f, 526.0f},
                .z = 5.0f},
        SpriteRow{.name = "SkyGradient",
                  .make = "Tundra::Sprite",
                  .animations = {{"Sky1Gradient", 1, 1, Delays(1)},
                                 {"Sky2Gradient", 1, 1, Delays(1)},
                                 {"Sky3Gradient", 1, 1, Delays(1)}},
                  .actorIndex = 23,
                  .position = {512.0f, 384.0f},
                  .z = -5.0f,
                  .scale = {1030.0f, 1.05f},
                  .stopped = true},
        SpriteRow{.name = "TitleSun", .make = "TitleSun", .animations = {{"TitleSun", 1, 1, Delays(1)}},
                  .actorIndex = 24, .position = {-312.0f, 123.0f}, .z = -4.0f, .stopped = true},
        SpriteRow{.name = "ExitSign",
                  .make = "MenuExit",
                  .animations = {{"MenuSignGeneric", 2, 2, Delays(4, 0.25f)},
                                 {"MenuExit", 2, 2, Delays(4, 0.2f)},
                                 {"MenuExitHover", 1, 1, Delays(1)}},
                  .actorIndex = 25,
                  .collider = kRectangleCollider,
                  .position = {50.0f, 122.0f},
                  .z = -2.0f,
                  .stopped = true},
        SpriteRow{.name = "OptionsUI", .make = "OptionsUI", .animations = {{"OptionMachine", 2, 2, Delays(3, 0.5f)}},
                  .actorIndex = 26, .position = {273.0f, 166.0f}, .z = -0.2f},
        SpriteRow{.name = "LevelSelUI", .make = "LevelUI", .animations = {{"LevelSelMachine", 2, 2, Delays(3, 0.5f)}},
                  .actorIndex = 27, .position = {739.0f, 166.0f}, .z = -0.2f},
        SpriteRow{.name = "ShopUI", .make = "ShopUI", .animations = {{"WepSelMachine", 2, 2, Delays(3, 0.5f)}},
                  .actorIndex = 28, .position = {527.0f, 166.0f}, .z = -0.2f},
        SpriteRow{.name = "Title", .make = "Tundra::Sprite", .animations = {{"Title", 1, 1, Delays(1)}},
                  .actorIndex = 29, .collider = kShapeCollider, .position = {512.0f, 860.0f}, .z = -0.1f,
                  .stopped = true},
        SpriteRow{.name = "MapTileTemplate", .make = "MapTile", .animations = {{"GrassTileset", 4, 4, Delays(15)}},
                  .actorIndex = 30, .position = {-635.0f, 347.0f}, .z = 0.0f, .stopped = true},
        SpriteRow{.name = "PushX", .make = "Tundra::Sprite", .animations = {{"PushX", 1, 1, Delays(1)}},
                  .actorIndex = 31, .position = {-623.0f, 729.0f}, .z = 0.0f},
        SpriteRow{.name = "Player", .make = "MenuPlayer", .animations = {{"Player", 1, 1, Delays(1, 0.33f)}},
                  .actorIndex = 32, .collider = kPlayerCollider, .position = {603.0f, 817.0f}, .z = 0.0f,
                  .stopped = true, .flipped = true, .body = BodySettings{.mass = 1.0f}},
        SpriteRow{.name = "MapTileColliderTemplate", .make = "MapTile",
                  .animations = {{"GrassColliderTileset", 3, 3, Delays(9)}}, .actorIndex = 18,
                  .collider = kTileCollider, .position = {-635.0f, 280.0f}, .z = 0.0f, .stopped = true},
        SpriteRow{.name = "Quorvex", .make = "Quorvex", .animations = {{"Quorvex", 1, 1, Delays(1)}},
                  .actorIndex = 33, .collider = kRectangleCollider, .position = {602.0f, 849.0f}, .z = 1.5f,
                  .flipped = true},
        SpriteRow{.name = "RightWeapon", .make = "WeaponSprite", .animations = WeaponAnimations(), .actorIndex = 34,
                  .collider = kRectangleCollider, .position = {603.0f, 816.0f}, .z = 2.0f, .hidden = true},
        SpriteRow{.name = "LeftWeapon", .make = "WeaponSprite", .animations = WeaponAnimations(), .actorIndex = 34,
                  .position = {603.0f, 816.0f}, .z = 2.0f},
        SpriteRow{.name = "BulletTemplate",
                  .make = "Bullet",
                  .animations = {{"PlasmaBullet", 4, 3, Delays(12, 0.05f)},
                                 {"PlasmaDestroy", 3, 2, Delays(6, 0.1f)},
                                 {"LightHack", 1, 1, Delays(1)},
                                 {"Lightning", 1, 6, Delays(6, 0.03f)},
                                 {"MachineGunBullet", 1, 1, Delays(1)},
                                 {"MiniDestroy", 3, 2, Delays(6, 0.1f)}},
                  .actorIndex = 35,
                  .collider = kBulletCollider,
                  .position = {-635.0f, 410.0f},
                  .z = 4.5f,
                  .body = BodySettings{.mass = 0.0f}},
        SpriteRow{.name = "ControlsInstruction1", .make = "Tundra::Sprite",
                  .animations = {{"ControlInstruction", 2, 1, Delays(2)}}, .actorIndex = 36,
                  .position = {512.0f, 342.0f}, .z = 6.0f, .stopped = true, .hidden = true},
        SpriteRow{.name = "ControlsInstruction2", .make = "Tundra::Sprite",
                  .animations = {{"ControlInstruction", 2, 1, Delays(2)}}, .actorIndex = 36,
                  .position = {512.0f, 281.0f}, .z = 6.0f, .stopped = true, .hidden = true, .frame = 1},
    };
    for (ContentRow& row : WeaponEffectRows()) {
        rows.push_back(std::move(row));
    }
    return rows;
}

LevelRows MenuLevelRows() { return {MenuHudRows(), MenuWorldRows(), {}}; }
