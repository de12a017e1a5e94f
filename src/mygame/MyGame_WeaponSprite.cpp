#include "mygame/MyGame_WeaponSprite.h"

#include "core/Core_File.h"
#include "input/Input_Mouse.h"
#include "math/Math_Angles.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponFlame.h"
#include "mygame/MyGame_WeaponKind.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sound.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(WeaponSprite)

namespace {

constexpr const char* kEmitterNames[WeaponSprite::kEmitterCount] = {"GasEmitter", "FlameEmitter", "SmokeEmitter"};
constexpr float kFlameEmissionRate = 30.0f;
constexpr float kFlameReach = 400.0f;
constexpr float kFlameGrowth = 1000.0f;
constexpr float kFlameRechargeDelay = 1.0f;
constexpr float kSoundFadeRate = 5.0f;
constexpr float kSoundSilence = 0.001f;
// Body speeds of the shots, in physics units.
constexpr float kRoundSpeed = 50.0f;
constexpr float kBeamShotSpeed = 300.0f;
constexpr float kPelletSpeed = 250.0f;
constexpr float kBeamReach = 620.0f;
constexpr float kBeamShotStart = 30.0f;
constexpr float kPelletSpread = 0.1f;

std::uint32_t Stat(std::uint32_t weaponBit, std::uint32_t stat) {
    const MyGame* game = GetGame();
    return game != nullptr ? GetUpgradeLevel(game->GetProfile(), weaponBit, stat) : 0;
}

// A cooldown shortened by stats 1 and 2; the step is the f32 value widened.
float Cooldown(double base, float step, std::uint32_t weaponBit) {
    const double s1 = Stat(weaponBit, 1);
    const double s2 = Stat(weaponBit, 2);
    return static_cast<float>(base - static_cast<double>(step) * s1 - static_cast<double>(step) * s2);
}

Vector2D MousePosition() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    return mouse != nullptr ? mouse->GetPosition() : Vector2D{};
}

Core::String WeaponSoundPath(const char* stem, std::int32_t index) {
    return Tundra::Game::GetDirectory() + "\\Resources\\Sounds\\" + stem + static_cast<char>('0' + index) + ".ogg";
}

}  // namespace

WeaponSprite::WeaponSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

WeaponSprite::WeaponSprite(const WeaponSprite& other) : Sprite(other), m_weapon(other.m_weapon) {}

void WeaponSprite::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU32(m_weapon);
    file.WriteF32(m_charge);
    file << m_bar;
    file.WriteF32(m_period);
    for (const Tundra::ParticleSystem* emitter : m_emitters) {
        file << emitter;
    }
    file.WriteU8(m_fired);
    file.WriteF32(m_flameRange);
    file << m_cursor;
    file.WriteU8(m_wasPlaying);
    file << m_startSound;
    file << m_endSound;
    file.WriteF32(m_soundVolume);
    file.WriteU8(m_soundOn);
}

void WeaponSprite::Load(Core::File& file) {
    Sprite::Load(file);
    // Read aside (a spare weapon would take an object id): the weapon
    // changes only when the whole part reads well.
    struct Fields {
        std::uint32_t weapon = 0;
        float charge = 0.0f;
        WeaponBar* bar = nullptr;
        float period = 0.0f;
        std::array<Tundra::ParticleSystem*, kEmitterCount> emitters{};
        std::uint8_t fired = 0;
        float flameRange = 0.0f;
        CursorClass* cursor = nullptr;
        std::uint8_t wasPlaying = 0;
        Tundra::Sound* startSound = nullptr;
        Tundra::Sound* endSound = nullptr;
        float soundVolume = 0.0f;
        std::uint8_t soundOn = 0;
    } read;
    file.ReadU32(read.weapon);
    file.ReadF32(read.charge);
    file >> read.bar;
    file.ReadF32(read.period);
    for (Tundra::ParticleSystem*& emitter : read.emitters) {
        file >> emitter;
    }
    file.ReadU8(read.fired);
    file.ReadF32(read.flameRange);
    file >> read.cursor;
    file.ReadU8(read.wasPlaying);
    file >> read.startSound;
    file >> read.endSound;
    file.ReadF32(read.soundVolume);
    file.ReadU8(read.soundOn);
    const bool linksStay = StaysInItsLayer(read.bar) && StaysInItsLayer(read.cursor) &&
                           StaysInItsLayer(read.startSound) && StaysInItsLayer(read.endSound) &&
                           std::all_of(read.emitters.begin(), read.emitters.end(), StaysInItsLayer);
    const bool valid = std::isfinite(read.charge) && std::isfinite(read.period) && std::isfinite(read.flameRange) &&
                       std::isfinite(read.soundVolume) && read.soundVolume >= 0.0f && read.fired <= 1 &&
                       read.wasPlaying <= 1 && read.soundOn <= 1 && linksStay;
    if (!valid) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_weapon = read.weapon;
    m_charge = read.charge;
    m_bar = read.bar;
    m_period = read.period;
    m_emitters = read.emitters;
    m_fired = read.fired;
    m_flameRange = read.flameRange;
    m_cursor = read.cursor;
    m_wasPlaying = read.wasPlaying;
    m_startSound = read.startSound;
    m_endSound = read.endSound;
    m_soundVolume = read.soundVolume;
    m_soundOn = read.soundOn;
}

void WeaponSprite::OnStart() {
    Sprite::OnStart();
    m_charge = 0.0f;
    m_period = 1.0f;
    m_fired = 0;
    m_cursor = Tundra::FindObject<CursorClass>("MainCursor");
    SetWeapon(SelectedWeaponOfHand(GetName().c_str()));
    m_bar = Tundra::FindObject<WeaponBar>(IsLeftHand() ? "LeftWeaponBar" : "RightWeaponBar");
    m_emitters = {};
    ForgetWeaponSounds();
    switch (m_weapon) {
        case kRifle:
        case kBeamGun:
            LoadWeaponSounds(false);
            break;
        case kFlameThrower:
            m_charge = 1.0f;
            for (std::size_t i = 0; i < kEmitterCount; ++i) {
                m_emitters[i] = Tundra::FindObject<Tundra::ParticleSystem>(kEmitterNames[i]);
            }
            TakeFlameEmitters();
            LoadWeaponSounds(true);
            break;
        case kScatterGun:
            LoadWeaponSounds(true);
            break;
        default:
            break;
    }
}

// The level places the flame's emitters on one hand; the flame comes from
// whichever hand holds the flame thrower. The other two hang on the gas.
void WeaponSprite::TakeFlameEmitters() {
    Tundra::ParticleSystem* gas = m_emitters[0];
    Tundra::GameObject* holder = gas != nullptr ? gas->GetMount() : nullptr;
    if (gas == nullptr || holder == this) {
        return;
    }
    if (holder != nullptr) {
        holder->UnMount(gas);
        gas->SetPosition(gas->GetPosition() + (GetPosition() - holder->GetPosition()));
        gas->SetRotationAngle(gas->GetRotationAngle() + (GetRotationAngle() - holder->GetRotationAngle()));
    }
    Mount(gas);
}

void WeaponSprite::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0) {
        FadeStartSound(dt);
        return;
    }
    if (m_weapon == kFlameThrower) {
        UpdateFlame(dt);
        ShowReadiness(m_charge);
    } else {
        if (m_charge > 0.0f) {
            m_charge -= dt;
        }
        ShowReadiness(m_period > 0.0f ? 1.0f - m_charge / m_period : 1.0f);
    }
    if (m_weapon == kScatterGun && m_soundOn != 0 && m_fired == 0) {
        m_soundOn = 0;
        if (m_startSound != nullptr) {
            m_startSound->Stop();
        }
        if (m_endSound != nullptr) {
            m_endSound->Rewind();
            m_endSound->Play(false);
        }
    }
    m_fired = 0;
}

void WeaponSprite::UpdateFlame(float dt) {
    if (m_fired == 0 || m_charge <= 0.0f) {
        FadeStartSound(dt);
        m_flameRange = 0.0f;
        SetEmissionRate(0.0f);
        m_period -= dt;
        if (m_period <= 0.0f && m_charge < 1.0f) {
            m_charge += static_cast<float>(Stat(kFlameThrower, 1) + 1) * dt / 10.0f;
        }
        return;
    }
    m_soundVolume = 1.0f;
    ApplySoundVolume();
    if (m_startSound != nullptr) {
        m_startSound->Play(false);
    }
    m_soundOn = 1;
    m_flameRange = std::min(m_flameRange + dt * kFlameGrowth, kFlameReach);
    SetEmissionRate(kFlameEmissionRate);
    const Tundra::Game* game = Tundra::Game::GetInstance();
    if (game != nullptr && game->GetCurrentLevelIndex() == MyLevelFactory::kGameLevel) {
        BurnEnemiesInCone(*this, m_flameRange, dt);
    }
    const float s2 = static_cast<float>(Stat(kFlameThrower, 2));
    m_charge -= (0.2f - (s2 * 0.025f - 0.125f)) * dt;
    m_period = kFlameRechargeDelay;
}

void WeaponSprite::ShowReadiness(float fill) {
    if (m_bar != nullptr) {
        m_bar->SetFill(fill);
    }
    if (m_cursor != nullptr) {
        if (IsLeftHand()) {
            m_cursor->SetLeftGauge(fill);
        } else {
            m_cursor->SetRightGauge(fill);
        }
    }
}

void WeaponSprite::SetEmissionRate(float perSecond) {
    for (Tundra::ParticleSystem* emitter : m_emitters) {
        if (emitter != nullptr) {
            emitter->SetEmissionRate(perSecond, perSecond);
        }
    }
}

// Whether the start sound runs is the weapon's own record, never the audio
// engine's answer: the fade level is game state.
void WeaponSprite::FadeStartSound(float dt) {
    if (m_soundOn == 0) {
        return;
    }
    m_soundVolume = FadeStep(m_soundVolume, 0.0f, dt, kSoundFadeRate);
    if (m_soundVolume <= kSoundSilence) {
        m_soundVolume = 1.0f;
        m_soundOn = 0;
        if (m_startSound != nullptr) {
            m_startSound->Stop();
        }
    }
    ApplySoundVolume();
}

// The fade level scales the game's volume, so that mute reaches the flame.
void WeaponSprite::ApplySoundVolume() {
    const MyGame* game = GetGame();
    if (m_startSound == nullptr || game == nullptr) {
        return;
    }
    m_startSound->SetVolume(m_soundVolume * (game->IsMuted() ? 0.0f : game->GetVolume()));
}

void WeaponSprite::SetWeapon(std::uint32_t weaponBit) {
    m_weapon = weaponBit;
    SetCurrentAnimationIndex(WeaponAnimationIndex(weaponBit), false);
}

void WeaponSprite::Fire() {
    m_fired = 1;
    if (m_weapon == kFlameThrower) {
        for (Tundra::ParticleSystem* emitter : m_emitters) {
            if (emitter != nullptr) {
                emitter->SetVisible(true);
            }
        }
        return;
    }
    if (m_charge > 0.0f) {
        return;
    }
    const Vector2D position = GetPosition();
    Vector2D aim = Vector2D::Normalized(MousePosition() - position);
    switch (m_weapon) {
        case kRifle:
            PlaceShot(SpawnBullet(position, aim * kRoundSpeed), Bullet::kRound);
            SetCooldown(Cooldown(0.4, 0.01f, kRifle));
            RestartStartSound();
            break;
        case kBeamGun:
            if (Bullet* beam = PlaceShot(SpawnBullet(position + aim * kBeamReach, {0.0f, 0.0f}), Bullet::kBeam)) {
                beam->Play(true);
                Mount(beam);
            }
            PlaceShot(SpawnBullet(position + aim * kBeamShotStart, aim * kBeamShotSpeed), Bullet::kBeamShot);
            SetCooldown(Cooldown(static_cast<double>(0.7f), 0.01f, kBeamGun));
            RestartStartSound();
            break;
        case kScatterGun: {
            if (m_startSound != nullptr) {
                m_startSound->Play(false);
            }
            m_soundOn = 1;
            aim.x += RandomFloat(-kPelletSpread, kPelletSpread);
            aim.y += RandomFloat(-kPelletSpread, kPelletSpread);
            if (Bullet* pellet = PlaceShot(SpawnBullet(position, aim * kPelletSpeed), Bullet::kPellet)) {
                pellet->SetScaleX(RandomFloat(1.0f, 3.0f));
            } else {
                // The draws stay in step whether or not the template exists.
                RandomFloat(1.0f, 3.0f);
            }
            const float spread = Cooldown(0.25, 0.02f, kScatterGun);
            SetCooldown(RandomFloat(0.0f, spread) + 0.1f);
            break;
        }
        default:
            break;
    }
}

Bullet* WeaponSprite::PlaceShot(Bullet* shot, int kind) const {
    if (shot != nullptr) {
        shot->SetCurrentAnimationIndex(kind, true);
        shot->SetRotationAngle(GetRotationAngle());
    }
    return shot;
}

void WeaponSprite::SetCooldown(float seconds) {
    m_charge = seconds;
    m_period = seconds;
}

void WeaponSprite::RestartStartSound() {
    if (m_startSound != nullptr) {
        m_startSound->Rewind();
        m_startSound->Play(false);
    }
    m_soundOn = 1;
}

void WeaponSprite::AimAtCursor() {
    SetRotationAngle(Math::UnitVectorToDegrees(Vector2D::Normalized(MousePosition() - GetPosition())));
}

void WeaponSprite::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }

// A second start makes new sounds, or none: the old ones must not play on
// with nobody to stop them.
void WeaponSprite::ForgetWeaponSounds() {
    for (Tundra::Sound* sound : {m_startSound, m_endSound}) {
        if (sound != nullptr) {
            sound->Stop();
        }
    }
    m_startSound = nullptr;
    m_endSound = nullptr;
    m_soundOn = 0;
    m_soundVolume = 1.0f;
}

void WeaponSprite::LoadWeaponSounds(bool withEnd) {
    ForgetWeaponSounds();
    MyGame* game = GetGame();
    const std::int32_t index = WeaponAnimationIndex(m_weapon);
    if (game == nullptr || index < 0) {
        return;
    }
    m_startSound = game->CreateSoundEffect(WeaponSoundPath("weaponStart", index));
    if (!withEnd) {
        return;
    }
    if (m_startSound != nullptr) {
        m_startSound->SetLooping(true);
    }
    m_endSound = game->CreateSoundEffect(WeaponSoundPath("weaponEnd", index));
}

bool WeaponSprite::IsLeftHand() const { return !GetName().empty() && GetName()[0] == 'L'; }
