#pragma once

#include "core/Core_RefPtr.h"

#include <cstdint>

class DeBuffable;
class PS_BaseDebuff;

// The damage a hit of the weapon (bit 1, 2, 4, 8 or 16) deals to an enemy of
// the kind, from the weapon table, the weapon's damage level and the current
// stage's damage percentage.
float ComputeWeaponDamage(std::int32_t enemyKind, std::int32_t weaponCode);

// A status effect carried by one target, with a particle effect mounted on
// it. Freeing the record ends the effect: the particles are unmounted and
// stop, and the target's tint goes back to white.
class Debuff {
public:
    Debuff(DeBuffable* target, PS_BaseDebuff* effect, float duration);
    Debuff(const Debuff&) = delete;
    Debuff& operator=(const Debuff&) = delete;
    virtual ~Debuff();

    // One frame of the effect while time remains; sets healthChanged when it
    // changed health.
    virtual void Tick(std::int32_t enemyKind, float& health, float& effectFactor, float dt, bool& healthChanged) = 0;

    float GetDuration() const { return m_duration; }
    float GetRemaining() const { return m_remaining; }
    void SetRemaining(float remaining) { m_remaining = remaining; }
    DeBuffable* GetTarget() const { return m_target; }
    PS_BaseDebuff* GetEffect() const { return m_effect.Get(); }

private:
    float m_duration;
    float m_remaining;
    DeBuffable* m_target;
    // Held so that a level ending in any order never leaves it dangling.
    Core::RefPtr<PS_BaseDebuff> m_effect;
};

// Burning: an orange tint and a fire effect from the pool for two seconds,
// losing health at the fifth weapon's burn rate.
class FireDebuff : public Debuff {
public:
    static constexpr float kDuration = 2.0f;

    explicit FireDebuff(DeBuffable* target);
    // Rebuilt from a stream: the effect is already mounted and the target tinted.
    FireDebuff(DeBuffable* target, PS_BaseDebuff* effect);

    void Tick(std::int32_t enemyKind, float& health, float& effectFactor, float dt, bool& healthChanged) override;
};
