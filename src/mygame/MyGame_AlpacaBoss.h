#pragma once

#include "math/Math_Vector2D.h"
#include "mygame/MyGame_Enemy.h"

#include <cstdint>
#include <vector>

class BossHp;

// The boss that stands at the right of the screen and drops announced
// strikes around the player: an opening barrage, then volleys that grow
// longer and denser as its health falls. Its eye shows the phase.
class AlpacaBoss : public Enemy {
    TUN_DECLARE_CLASS(AlpacaBoss);
    AlpacaBoss() = default;
    explicit AlpacaBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The fields; the parts are found when the copy starts.
    AlpacaBoss(const AlpacaBoss& other);

    // After the enemy part: the parts (references), then the fight's fields.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds the bar, its frame and the eye (mounted on the boss); inactive.
    void OnStart() override;
    // The opening, then the fight; nothing while paused or inactive.
    void Update(float dt) override;
    // Also shows the health on the bar.
    void OnHealthChanged() override;
    // The death animation; bar, frame and eye hidden, no drop. Ends a
    // burning debuff, which the stopped enemy update would never end.
    void OnDeath() override;
    // The eye goes too.
    void Destroy() override;
    std::int32_t GetEnemyKind() const override { return 4; }

    // Called in by the stage on its last ground; a non-finite offset is
    // refused.
    void Activate(float verticalOffset);

    // Salvos of the current volley (or the opening) so far; a count below 0
    // or above the opening's 90 is refused.
    void SetSalvoCounter(std::int32_t count);

    bool IsActive() const { return m_active != 0; }
    bool IsOpeningDone() const { return m_openingDone != 0; }
    float GetVerticalOffset() const { return m_verticalOffset; }
    float GetCooldown() const { return m_cooldown; }
    std::int32_t GetSalvoLimit() const { return m_salvoLimit; }
    std::int32_t GetSalvoCounter() const { return m_salvoCounter; }
    float GetProjectileDepth() const { return m_projectileDepth; }
    const Vector2D& GetTarget() const { return m_target; }
    Tundra::Sprite* GetHealthBarFrame() const { return m_barFrame.Get(); }
    BossHp* GetBossHealthBar() const { return m_bar.Get(); }
    Tundra::Sprite* GetEye() const { return m_eye.Get(); }

private:
    friend class AlpacaBossTestAccess;

    // Salvos around the stand until 90 are placed, then the boss takes its
    // stand with its bar.
    void UpdateOpening();
    // Once the death animation has ended: the stage is cleared and the boss
    // hidden.
    void UpdateDying();
    // Volleys of salvos around the player and rests, by phase.
    void UpdateFight(float dt);

    // HUD and world objects of the level; held, as the level may let go of
    // them first when it ends.
    Core::RefPtr<Tundra::Sprite> m_barFrame;
    Core::RefPtr<BossHp> m_bar;
    Core::RefPtr<Tundra::Sprite> m_eye;
    std::uint8_t m_active = 0;
    Vector2D m_target;
    float m_cooldown = 0.7f;
    std::int32_t m_salvoLimit = 3;
    std::int32_t m_salvoCounter = 0;
    float m_projectileDepth = 4.0f;
    std::uint8_t m_openingDone = 0;
    float m_verticalOffset = 0.0f;
};
