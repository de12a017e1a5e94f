#pragma once

#include "tundra/Tundra_Sprite.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Tundra {
class ParticleSystem;
class Sound;
}  // namespace Tundra
class Bullet;
class CursorClass;
class WeaponBar;

// A weapon in one of the player's hands ("LeftWeapon" or "RightWeapon").
// Its kind is a weapon bit: 1 a rifle, 2 a beam gun, 4 a flame thrower
// with an energy reserve that burns enemies in a cone, 8 a scatter gun,
// 16 no firing of its own. The bar and the cursor's gauge of its hand show
// its readiness.
class WeaponSprite : public Tundra::Sprite {
    TUN_DECLARE_CLASS(WeaponSprite);
    static constexpr std::uint32_t kRifle = 1;
    static constexpr std::uint32_t kBeamGun = 2;
    static constexpr std::uint32_t kFlameThrower = 4;
    static constexpr std::uint32_t kScatterGun = 8;
    static constexpr std::uint32_t kFifthWeapon = 16;
    static constexpr std::size_t kEmitterCount = 3;

    WeaponSprite() = default;
    explicit WeaponSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part and the kind; the copy finds its links and makes its
    // sounds when started.
    WeaponSprite(const WeaponSprite& other);

    // The sprite part, then the fields in order, links and sounds as
    // object references.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Takes the hand's selected weapon, finds bar, cursor and (flame
    // thrower) emitters and makes the kind's sounds.
    void OnStart() override;
    void Update(float dt) override;

    // The kind and the animation that shows it (-1 for an unknown bit).
    void SetWeapon(std::uint32_t weaponBit);
    std::uint32_t GetWeapon() const { return m_weapon; }
    // Shoots when ready; called every frame the hand's button is held.
    void Fire();
    // Turns the weapon toward the mouse cursor.
    void AimAtCursor();
    // Pausing stops the animation; resuming plays it again if it played.
    void SetPaused(bool paused);
    // The start sound and, with an end, the end sound of the kind; the
    // sounds this weapon made before are stopped first.
    void LoadWeaponSounds(bool withEnd);

    // Cooldown left in seconds, or the flame thrower's energy 0..1.
    float GetCharge() const { return m_charge; }
    // The last shot's cooldown, or the flame thrower's recharge delay.
    float GetPeriod() const { return m_period; }
    bool WasFired() const { return m_fired != 0; }
    float GetFlameRange() const { return m_flameRange; }
    float GetSoundVolume() const { return m_soundVolume; }
    WeaponBar* GetBar() const { return m_bar; }
    Tundra::Sound* GetStartSound() const { return m_startSound; }
    Tundra::Sound* GetEndSound() const { return m_endSound; }
    // Whether the weapon has its start sound running (its own record).
    bool IsStartSoundOn() const { return m_soundOn != 0; }
    bool IsLeftHand() const;

private:
    void TakeFlameEmitters();
    void UpdateFlame(float dt);
    // The bar and the cursor's gauge of this hand.
    void ShowReadiness(float fill);
    void SetEmissionRate(float perSecond);
    void FadeStartSound(float dt);
    void ApplySoundVolume();
    // The shot's kind (its animation) and the weapon's rotation.
    Bullet* PlaceShot(Bullet* shot, int kind) const;
    void SetCooldown(float seconds);
    void RestartStartSound();
    void ForgetWeaponSounds();

    std::uint32_t m_weapon = 0;
    float m_charge = 0.0f;
    WeaponBar* m_bar = nullptr;
    float m_period = 1.0f;
    std::array<Tundra::ParticleSystem*, kEmitterCount> m_emitters{};
    std::uint8_t m_fired = 0;
    float m_flameRange = 0.0f;
    CursorClass* m_cursor = nullptr;
    std::uint8_t m_wasPlaying = 0;
    Tundra::Sound* m_startSound = nullptr;
    Tundra::Sound* m_endSound = nullptr;
    float m_soundVolume = 1.0f;
    // 1 from the start sound's start until the weapon stops or fades it out.
    std::uint8_t m_soundOn = 0;
};
