#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <memory>
#include <vector>

class Debuff;

// A sprite with health that the player's weapons lower through the damage
// formula, carrying at most one status effect at a time.
class DeBuffable : public Tundra::Sprite {
    TUN_DECLARE_CLASS(DeBuffable);
    DeBuffable();
    explicit DeBuffable(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part, health and effect factor; the copy starts without a
    // debuff, which belongs to the source alone.
    DeBuffable(const DeBuffable& other);
    ~DeBuffable() override;

    // Health, effect factor and the debuff after the sprite part.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Forgets a debuff without ending it; full health, effect factor 1.
    void OnStart() override;
    // Ends a current debuff, keeping the effect factor.
    void OnEnd() override;
    // Ticks the debuff, ending it once its time runs out.
    void Update(float dt) override;

    // After every change of health.
    virtual void OnHealthChanged() {}
    // Lowers health by the weapon's damage times the scale (unclamped, also
    // when already dead), then reports the change.
    virtual void TakeDamage(float scale, std::int32_t weaponCode);
    // The weapon table's column for this enemy.
    virtual std::int32_t GetEnemyKind() const { return 0; }

    // A flame contact on the living: burning starts, a burn is renewed to its full
    // duration, another debuff is ended and replaced by burning.
    void SetOnFire();
    // Ends a current debuff (effect factor back to 1); nothing without one.
    void EndDebuff();
    Debuff* GetDebuff() const { return m_debuff.get(); }

    float GetHealth() const { return m_health; }
    void SetHealth(float health) { m_health = health; }
    float GetEffectFactor() const { return m_effectFactor; }
    void SetEffectFactor(float factor) { m_effectFactor = factor; }

private:
    float m_health = 1.0f;
    std::unique_ptr<Debuff> m_debuff;
    float m_effectFactor = 1.0f;
};
