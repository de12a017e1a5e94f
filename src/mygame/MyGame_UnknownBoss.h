#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_Enemy.h"

#include <array>
#include <cstdint>
#include <vector>

class BossHp;
class SkyGradient;

// The last stage's boss: a body carrying an eye and a left and a right part.
// Called in, it fades in while it glides into place and darkens the sky;
// then it circles its home point, fires from each part on its own timer,
// hurts the player it touches and now and then vanishes to reappear on the
// other side. Below half health it attacks faster and darkens the sky
// further; dying, it fades out while the sky brightens, then clears the
// stage.
class UnknownBoss : public Enemy {
    TUN_DECLARE_CLASS(UnknownBoss);
    static constexpr std::int32_t kEnemyKind = 5;
    // Which side of the screen it circles on.
    static constexpr std::uint8_t kRightSide = 0;
    static constexpr std::uint8_t kLeftSide = 1;

    UnknownBoss();
    explicit UnknownBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The fight's values; the parts, bar and sky are found when it starts.
    UnknownBoss(const UnknownBoss& other);
    ~UnknownBoss() override;

    // After the enemy part, the fight's values; the parts, bar and sky are
    // found again by name.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds and mounts its parts; it waits, invisible, to be called in.
    void OnStart() override;
    // Nothing while the game is paused.
    void Update(float dt) override;
    // The boss bar follows the health.
    void OnHealthChanged() override;
    // Plays the dying animations, hides the eye and the bar, and ends a
    // burn (its update no longer ticks it).
    void OnDeath() override;
    // Also destroys the eye and both parts.
    void Destroy() override;
    std::int32_t GetEnemyKind() const override { return kEnemyKind; }

    // The stage calls it in on the ground height it reached.
    void Activate(std::int32_t verticalOffset);

    bool IsActive() const { return m_fight.active != 0; }
    bool IsOpeningDone() const { return m_fight.openingDone != 0; }
    std::int32_t GetVerticalOffset() const { return m_fight.verticalOffset; }
    bool IsTeleporting() const { return m_fight.teleporting != 0; }
    bool IsFadingOut() const { return m_fight.fadingOut != 0; }
    float GetTeleportTimer() const { return m_fight.teleportTimer; }
    std::uint8_t GetSide() const { return m_fight.side; }
    const Vector2D& GetHome() const { return m_fight.home; }
    float GetLeftCooldown() const { return m_fight.leftCooldown; }
    float GetRightCooldown() const { return m_fight.rightCooldown; }

private:
    friend class UnknownBossTestAccess;

    // The links are taken by name: after a load they are found on first use,
    // once the level read is whole.
    void FindParts();
    void FindPartsAfterLoad();
    // The eye and both parts; null where one is missing.
    std::array<Tundra::Sprite*, 3> MountedParts() const;

    void UpdateOpening();
    void UpdateDying();
    void UpdateTeleport(float dt);
    void UpdateFight(float dt);
    void UpdatePart(Tundra::Sprite* part, float dt, bool left, bool phaseTwo);
    void FirePart(Tundra::Sprite& part, bool left, bool phaseTwo);
    void FadePartIn(Tundra::Sprite* part, std::uint8_t& fadingIn, float rate);
    void SetOpacityOfAll(float opacity);
    void TurnToSide(std::uint8_t side);
    // The sky's red, green and blue moved together (alpha kept).
    void ShadeSky(float step);
    bool IsPhaseTwo() const;
    float GroundY(float above) const;

    // The fight's values, as they stand at start; streamed in this order.
    struct FightValues {
        float leftCooldown = 1.0f;
        float orbitStep = 0.0f;
        Vector2D home{830.0f, 430.0f};
        float eyeTimer = 0.0f;
        std::uint8_t leftFadingIn = 0;
        std::uint8_t rightFadingIn = 0;
        float leftCharge = 0.0f;
        float rightCharge = 0.0f;
        float rightCooldown = 1.5f;
        // The body's tint, handed to its parts every frame.
        Color color{0.0f, 0.0f, 0.0f, 1.0f};
        std::uint8_t active = 0;
        std::uint8_t openingDone = 0;
        std::int32_t verticalOffset = 0;
        // It starts as if coming back from a teleport: the first frame of
        // the fight finds it opaque and ends it.
        std::uint8_t teleporting = 1;
        std::uint8_t side = kRightSide;
        std::uint8_t fadingOut = 0;
        float teleportTimer = 0.0f;
    };

    // Found by name; held, as the layer may let go of them first.
    Core::RefPtr<Tundra::Sprite> m_healthBarFrame;
    Core::RefPtr<BossHp> m_healthBar;
    Core::RefPtr<Tundra::Sprite> m_eye;
    Core::RefPtr<Tundra::Sprite> m_leftPart;
    Core::RefPtr<Tundra::Sprite> m_rightPart;
    Core::RefPtr<SkyGradient> m_sky;
    FightValues m_fight;
    // Set by a load: the links are found again before they are next used.
    std::uint8_t m_partsPending = 0;
};
