#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_Enemy.h"
#include "tundra/Tundra_StateMachine.h"

#include <cstdint>
#include <vector>

class BossHp;

// The Bear: a boss standing at the right of the screen with two arms
// ("BearLArm", "BearRArm") mounted on its body. Its machine "Bear_SM"
// swings the arms to throw shots at the player, or lowers them to call
// lightning down where the player stood; while an attack is under way the
// arms hurt and push back the player. Called in by the stage, it opens with
// three markers and three columns and then steps into place.
class BearBoss : public Enemy {
    TUN_DECLARE_CLASS(BearBoss);
    using StateMachine = Tundra::StateMachine<BearBoss>;

    // The states of "Bear_SM" by index.
    enum BearState : std::int32_t {
        kBackToIdle = 0,
        kPrepAttack = 1,
        kForeSwing = 2,
        kBackToIdle2 = 3,
        kIdle = 4,
        kForeLight = 5,
        kLightningAttack = 6,
        kRightSwing = 7,
        kLeftSwing = 8,
    };
    enum AttackChoice : std::int32_t { kNoAttack = 0, kSwing = 1, kLightning = 2 };

    BearBoss();
    explicit BearBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The enemy part and the fields but the parts, which the copy finds at
    // its start; the machine is the source's, cloned and run on behalf of the
    // copy.
    BearBoss(const BearBoss& other);
    ~BearBoss() override;

    // The enemy part, then the fields (the parts as object references) and
    // "Bear_SM".
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds and mounts the arms, finds the boss bar; inactive.
    void OnStart() override;
    void Update(float dt) override;
    // Also shows the health on the boss bar.
    void OnHealthChanged() override;
    // The dying animations; the bar hides. Ends a burn.
    void OnDeath() override;
    // Also destroys both arms.
    void Destroy() override;
    std::int32_t GetEnemyKind() const override { return 3; }

    // The stage calls the boss in on ground at the vertical offset: the
    // opening starts with the next update.
    void Activate(float verticalOffset);

    bool IsActive() const { return m_active != 0; }
    bool IsOpeningDone() const { return m_openingDone != 0; }
    float GetOpeningTimer() const { return m_openingTimer; }
    float GetVerticalOffset() const { return m_verticalOffset; }
    float GetCooldown() const { return m_cooldown; }
    bool IsAttacking() const { return m_attacking != 0; }
    std::int32_t GetAttackChoice() const { return m_attackChoice; }
    const Vector2D& GetStrikeTarget() const { return m_strikeTarget; }
    bool AreArmsDangerous() const { return m_armsDangerous != 0; }
    std::int32_t GetSwingCount() const { return m_swingCount; }
    float GetLeftArmAngle() const { return m_leftArmAngle; }
    float GetRightArmAngle() const { return m_rightArmAngle; }
    Tundra::Sprite* GetLeftArm() const { return m_leftArm.Get(); }
    Tundra::Sprite* GetRightArm() const { return m_rightArm.Get(); }
    const StateMachine* GetMachine() const { return m_machine.Get(); }

private:
    // Read by the set-up and by the state machine alike.
    static constexpr float kStartCooldown = 0.7f;
    static constexpr float kMarkerHeight = 600.0f;
    static constexpr float kColumnHeight = 400.0f;

    friend class BearBossTestAccess;

    // "Bear_SM" in state order, run on behalf of the owner.
    static StateMachine* BuildBearMachine(BearBoss* owner);

    // Machine callbacks (MyGame_BearBoss_Bear_SM_StateMachine).
    void ExitBackToIdle(float dt);
    void ExitBackToIdle2(float dt);
    void RaiseArmsToRest(float dt);
    void EnterPrepAttack(float dt);
    void LowerArms(float dt);
    void EnterForeSwing(float dt);
    void RaiseArmsForSwing(float dt);
    void EnterBackToIdle2(float dt);
    void EnterIdle(float dt);
    void UpdateIdle(float dt);
    void EnterForeLight(float dt);
    void EnterLightningAttack(float dt);
    void RaiseArmsAfterLightning(float dt);
    void SwingRightArm(float dt);
    void ExitRightSwing(float dt);
    void SwingLeftArm(float dt);
    void ExitLeftSwing(float dt);
    bool IsRestingAfterSwings(float dt);
    bool IsSwingingOn(float dt);
    bool AreArmsDown(float dt);
    bool AreArmsRaised(float dt);
    bool AreArmsBack(float dt);
    bool CommitsTo(std::int32_t choice);
    bool ChoosesLightning(float dt);
    bool ChoosesSwing(float dt);
    bool Always(float dt);
    bool IsRightSwingDone(float dt);
    bool IsLeftSwingDone(float dt);

    void UpdateOpening(float dt);
    void UpdateFight(float dt);
    void UpdateDying();
    void SetArmAngles(float left, float right);
    // The rotation read back from the arm; without the arm, the angle it
    // would have been given.
    float LeftArmRotation() const;
    float RightArmRotation() const;
    // Back at rest: arms at 0, a new cooldown, no attack chosen.
    void ReturnArms();
    // Where lightning strikes: the target's x, at half health or less also
    // 100 to either side.
    std::vector<float> StrikeXs() const;
    // A kind-1 shot from the arm's hand toward the player.
    void ThrowFromArm(bool rightArm);

    // Mounted on the body; held, found by name at start.
    Core::RefPtr<Tundra::Sprite> m_leftArm;
    Core::RefPtr<Tundra::Sprite> m_rightArm;
    // Degrees, the rotation last given to each arm.
    float m_rightArmAngle = 0.0f;
    float m_leftArmAngle = 0.0f;
    float m_cooldown = 0.7f;
    std::uint8_t m_attacking = 0;
    std::int32_t m_attackChoice = kNoAttack;
    Vector2D m_strikeTarget;
    std::uint8_t m_armsDangerous = 0;
    std::uint8_t m_active = 0;
    Core::RefPtr<Tundra::Sprite> m_healthBarFrame;
    Core::RefPtr<BossHp> m_bossHealthBar;
    // The body's modulation colour, which the arms share.
    Color m_color{0.0f, 0.0f, 0.0f, 1.0f};
    std::int32_t m_swingCount = 0;
    float m_verticalOffset = 0.0f;
    std::uint8_t m_openingDone = 0;
    float m_openingTimer = 0.0f;
    std::uint8_t m_markersPlaced = 0;
    Core::RefPtr<StateMachine> m_machine;
};
