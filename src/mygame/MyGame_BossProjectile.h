#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_StateMachine.h"

#include <cstdint>
#include <vector>

// Every attack of the bosses: its kind, which is also the index of its
// animation, chooses what it does. Markers bob under "BossAttWarn" until
// their time is up; shots fly and burst on the player or outside the area;
// columns hurt a player beside them; strikes wait, fade in and hit once;
// fading shots fade out after a hit.
class BossProjectile : public Tundra::Sprite {
    TUN_DECLARE_CLASS(BossProjectile);
    using StateMachine = Tundra::StateMachine<BossProjectile>;

    enum Kind : std::int32_t {
        kWarningMarker = 0,
        kFlyingShot = 1,
        kColumn = 2,
        kStrike = 3,
        kLeftFadingShot = 4,
        kRightFadingShot = 5,
    };
    static constexpr std::int32_t kKindCount = 6;
    // "BossAttWarn"'s states, in array order.
    enum WarningState : std::int32_t { kGoUp = 0, kGoDown = 1 };
    // How far below its home a marker bobs.
    static constexpr float kBobDepth = 30.0f;

    BossProjectile();
    explicit BossProjectile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // Drives a deep copy of the source's machine.
    BossProjectile(const BossProjectile& other);
    ~BossProjectile() override;

    // The sprite part, then "BossAttWarn", then the fields.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Timer, duration, home and fading start afresh, except the duration and
    // home a timed creation gave.
    void OnStart() override;
    // Nothing while the game is paused.
    void Update(float dt) override;

    // Pausing stops the animation; resuming plays it again if it played.
    void SetPaused(bool paused);

    std::int32_t GetKind() const { return m_kind; }
    float GetTimer() const { return m_timer; }
    float GetDuration() const { return m_duration; }
    const Vector2D& GetHomePosition() const { return m_homePosition; }
    bool IsFading() const { return m_fading != 0; }
    const StateMachine* GetWarningMachine() const { return m_warningMachine.Get(); }

private:
    friend BossProjectile* CreateBossProjectileMoving(std::int32_t kind, Vector2D position, Vector2D velocity);
    friend BossProjectile* CreateBossProjectileTimed(std::int32_t kind, Vector2D position, float duration);
    friend BossProjectile* CreateBossProjectileTurned(std::int32_t kind, Vector2D position);

    // A clone of the template in the world layer, placed, of that kind.
    static BossProjectile* Create(std::int32_t kind, const Vector2D& position);

    void UpdateWarningMarker(float dt);
    void UpdateFlyingShot(float dt);
    void UpdateColumn();
    void UpdateStrike(float dt);
    void UpdateFadingShot();

    // "BossAttWarn" (its own source file): one unit a frame up to the home
    // height, then down to the bob's depth, and again.
    static StateMachine* BuildBossAttWarn(BossProjectile* owner);
    void Rise(float dt);
    void SettleAtTop(float dt);
    void Sink(float dt);
    void SettleAtBottom(float dt);
    bool HasRisen(float dt);
    bool HasSunk(float dt);

    std::int32_t m_kind = kWarningMarker;
    float m_timer = 0.0f;
    float m_duration = 1.5f;
    Vector2D m_homePosition;
    std::uint8_t m_wasPlaying = 0;
    std::uint8_t m_fading = 0;
    Core::RefPtr<StateMachine> m_warningMachine;
    // Set by the timed creation: its duration and home outlast the start.
    std::uint8_t m_timedStart = 0;
};

// A clone of the boss-shot template in the world layer at the position
// (previous position too), of that kind and showing that animation; null
// for a kind outside 0..5, a value that is not finite, or without a
// template or a world layer.
// With the body's velocity.
BossProjectile* CreateBossProjectileMoving(std::int32_t kind, Vector2D position, Vector2D velocity);
// Lasting duration seconds, bobbing from the position when a marker.
BossProjectile* CreateBossProjectileTimed(std::int32_t kind, Vector2D position, float duration);
// Turned upright (rotation -90 degrees), as a column stands.
BossProjectile* CreateBossProjectileTurned(std::int32_t kind, Vector2D position);
