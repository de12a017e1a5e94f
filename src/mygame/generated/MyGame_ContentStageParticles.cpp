#include "mygame/generated/MyGame_ContentStage.h"

namespace {

// Blend-factor codes.
constexpr std::uint32_t kOne = 1;
constexpr std::uint32_t kSourceAlpha = 6;
constexpr std::uint32_t kOneMinusSourceAlpha = 7;

const Vector2D kOnTheWeapon{193.0f, 306.0f};

}  // namespace

// Rows 29 to 32 of the world layer: every system hidden until the weapons
// or the fire debuff show it.
LayerRows StageParticleRows() {
    return {
        ParticleRow{.name = "SmokeEmitter",
                    .make = "PauseableParticleSystem",
                    .count = 45,
                    .gravity = {0.0f, 9.8f},
                    .emitterOffset = {10.0f, 0.0f},
                    .emitterAngles = {10.0f, -10.0f},
                    .position = kOnTheWeapon,
                    .z = 6.8f,
                    .emissionRate = {0.0f, 0.0f},
                    .sourceBlend = kSourceAlpha,
                    .destinationBlend = kOneMinusSourceAlpha,
                    .startColor = {{0.6f, 0.6f, 0.6f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}},
                    .endColor = {{0.4f, 0.4f, 0.4f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}},
                    .lifetime = {0.0f, 1.0f},
                    .speed = {400.0f, 500.0f},
                    .rotationSpeed = ValueRange<float>{0.0f, 0.0f},
                    .direction = 1,
                    .startScale = {{0.3f, 0.3f}, {0.5f, 0.5f}},
                    .endScale = {{3.0f, 3.0f}, {3.5f, 3.5f}},
                    .warmUp = 0.1f,
                    .hidden = true},
        // Its speed range runs downward, as it always did.
        ParticleRow{.name = "FireDebuffTemplate",
                    .make = "PS_FireDebuff",
                    .count = 5,
                    .gravity = {0.0f, 9.8f},
                    .emitterOffset = {0.0f, -20.0f},
                    .diskRadius = 30.0f,
                    .position = {-581.0f, 874.0f},
                    .z = 6.8f,
                    .emissionRate = {5.0f, 10.0f},
                    .sourceBlend = kSourceAlpha,
                    .destinationBlend = kOneMinusSourceAlpha,
                    .startColor = {{1.0f, 1.0f, 1.0f, 0.9f}, {1.0f, 1.0f, 1.0f, 0.9f}},
                    .endColor = {{1.0f, 1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f}},
                    .lifetime = {0.5f, 1.0f},
                    .speed = {10.0f, 8.0f},
                    .rotationSpeed = ValueRange<float>{0.0f, 0.0f},
                    .direction = 1,
                    .startScale = {{0.0f, 0.0f}, {0.0f, 0.0f}},
                    .endScale = {{2.6f, 2.6f}, {3.0f, 3.0f}},
                    .hidden = true},
        ParticleRow{.name = "FlameEmitter",
                    .make = "PauseableParticleSystem",
                    .count = 30,
                    .gravity = {0.0f, 0.0f},
                    .emitterOffset = {30.0f, 0.0f},
                    .emitterAngles = {10.0f, -10.0f},
                    .position = kOnTheWeapon,
                    .z = 6.9f,
                    .emissionRate = {0.0f, 0.0f},
                    .sourceBlend = kSourceAlpha,
                    .destinationBlend = kOne,
                    .startColor = {{1.0f, 0.4f, 0.4f, 1.0f}, {1.0f, 100.0f / 255.0f, 52.0f / 255.0f, 1.0f}},
                    .endColor = {{0.6f, 46.0f / 255.0f, 0.0f, 0.0f},
                                 {166.0f / 255.0f, 70.0f / 255.0f, 53.0f / 255.0f, 0.0f}},
                    .lifetime = {0.0f, 2.0f},
                    .speed = {200.0f, 250.0f},
                    .rotationSpeed = ValueRange<float>{-2.0f, 2.0f},
                    .direction = 1,
                    .startScale = {{1.0f, 1.0f}, {1.0f, 1.0f}},
                    .endScale = {{2.0f, 2.0f}, {3.0f, 3.0f}},
                    .warmUp = 0.1f,
                    .hidden = true},
        // Keeps the system's own rotation speed.
        ParticleRow{.name = "GasEmitter",
                    .make = "PauseableParticleSystem",
                    .count = 10,
                    .gravity = {0.0f, 0.0f},
                    .emitterOffset = {0.0f, 0.0f},
                    .emitterAngles = {30.0f, -30.0f},
                    .position = kOnTheWeapon,
                    .z = 7.0f,
                    .emissionRate = {0.0f, 0.0f},
                    .sourceBlend = kSourceAlpha,
                    .destinationBlend = kOne,
                    .startColor = {{1.0f, 0.0f, 1.0f, 0.3f}, {0.8f, 0.0f, 0.8f, 0.5f}},
                    .endColor = {{1.0f, 0.2f, 0.0f, 0.0f}, {1.0f, 0.6f, 0.0f, 0.0f}},
                    .lifetime = {0.0f, 1.25f},
                    .speed = {100.0f, 100.0f},
                    .direction = 0,
                    .startScale = {{0.8f, 0.3f}, {1.0f, 0.35f}},
                    .endScale = {{1.0f, 0.8f}, {2.0f, 1.2f}},
                    .hidden = true},
    };
}
