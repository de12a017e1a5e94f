#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "support/MyGame_StageStreamFixture.h"

using namespace mygametest;

namespace {

constexpr std::uint32_t kBearStage = 2;
constexpr std::uint32_t kFinalStage = 8;
constexpr int kPlayedFrames = 600;

class FightStreamTest : public StageStreamFixture {
protected:
    // The boss of the stage called in and active; null when it never came.
    template <class Boss>
    Boss* CallTheBossIn(std::uint32_t stage) {
        auto* boss = dynamic_cast<Boss*>(EnterBossFight(stage));
        if (boss == nullptr || !RunUntil([boss] { return boss->IsActive(); }, 60)) {
            return nullptr;
        }
        return boss;
    }

    template <class T>
    static int Count(const char* name, bool (*test)(const T&)) {
        std::vector<Tundra::GameObject*> objects;
        const Core::String key(name);
        GetGame()->GetCurrentLevel()->GetGameObjects(&key, objects);
        int count = 0;
        for (const Tundra::GameObject* object : objects) {
            const auto* typed = dynamic_cast<const T*>(object);
            count += typed != nullptr && !typed->IsDestroyRequested() && test(*typed) ? 1 : 0;
        }
        return count;
    }

    static bool IsBossShot(const BossProjectile& shot) { return shot.GetKind() == BossProjectile::kFlyingShot; }
    static bool IsMarker(const BossProjectile& shot) { return shot.GetKind() == BossProjectile::kWarningMarker; }
    static bool IsArc(const Projectile& shot) { return shot.GetKind() == 0 && !shot.IsPlaying(); }
    static bool IsFalling(const EnemyDrop& drop) {
        Vector2D velocity;
        return drop.GetVelocity(velocity) && velocity.y != 0.0f;
    }

    // Stage 2's Bear in its fight, played until it swings with its shots in
    // the air, a marker bobbing beside them, a flyer on its path, a
    // walker's arc in flight and a drop falling.
    void StartBearFight() {
        auto* bear = CallTheBossIn<BearBoss>(kBearStage);
        ASSERT_NE(bear, nullptr);
        GameLevel& stage = *Stage();
        ASSERT_TRUE(RunUntil([bear] { return bear->IsOpeningDone(); }, 300));
        stage.SpawnFlyingEnemy(1, 0.0f);
        stage.SpawnGroundEnemy();
        const auto swinging = [bear] {
            const std::int32_t state = bear->GetMachine()->GetCurrent();
            return (state == BearBoss::kLeftSwing || state == BearBoss::kRightSwing ||
                    state == BearBoss::kBackToIdle) &&
                   Count<BossProjectile>("BossProjTemplate", &IsBossShot) > 0 &&
                   Count<Projectile>("ProjectileTemplate", &IsArc) > 0;
        };
        ASSERT_TRUE(RunUntil(swinging, 1800));
        const Vector2D player = stage.GetPlayer()->GetPosition();
        if (Count<BossProjectile>("BossProjTemplate", &IsMarker) == 0) {
            ASSERT_NE(CreateBossProjectileTimed(BossProjectile::kWarningMarker, {player.x, 600.0f}, 1.5f), nullptr);
        }
        ASSERT_NE(SpawnEnemyDrop(player + Vector2D{250.0f, 200.0f}), nullptr);
        Step();
        ASSERT_GT(Count<EnemyDrop>("EnemyDropTemplate", &IsFalling), 0);
        ASSERT_GT(Count<FlyingRangedEnemy>("FlyingRangedEnemyTemplate",
                                           [](const FlyingRangedEnemy& flyer) { return flyer.GetHealth() > 0.0f; }),
                  0);
    }

    // Stage 8's final boss called in and played until it fades out to
    // teleport.
    void StartTeleport() {
        auto* boss = CallTheBossIn<UnknownBoss>(kFinalStage);
        ASSERT_NE(boss, nullptr);
        ASSERT_TRUE(RunUntil([boss] { return boss->IsTeleporting() && boss->IsFadingOut(); }, 1800));
        Step(5);
        ASSERT_TRUE(boss->IsFadingOut());
    }
};

TEST_F(FightStreamTest, ABearFightLoadedIntoAFreshGamePlaysOnAsTheUninterruptedOne) {
    StartBearFight();
    ASSERT_FALSE(HasFatalFailure());
    ExpectLoadPlaysOn("bear", kBearStage, SaveAndPlayOn("bear", kPlayedFrames));
}

TEST_F(FightStreamTest, ATeleportLoadedIntoAFreshGamePlaysOnAsTheUninterruptedOne) {
    StartTeleport();
    ASSERT_FALSE(HasFatalFailure());
    ExpectLoadPlaysOn("teleport", kFinalStage, SaveAndPlayOn("teleport", kPlayedFrames));
}

TEST_F(FightStreamTest, ABearFightSavedLoadedAndSavedAgainGivesTheSameBytes) {
    StartBearFight();
    ASSERT_FALSE(HasFatalFailure());
    ExpectSaveLoadSaveGivesTheSameBytes();
}

TEST_F(FightStreamTest, ATeleportSavedLoadedAndSavedAgainGivesTheSameBytes) {
    StartTeleport();
    ASSERT_FALSE(HasFatalFailure());
    ExpectSaveLoadSaveGivesTheSameBytes();
}

// A fight's health held by the test stays held in the fresh game that loads
// it, so that a loaded fight lasts as long as the uninterrupted one.
TEST_F(FightStreamTest, HeldHealthHoldsInTheFreshGameThatLoadsTheSave) {
    ASSERT_TRUE(EnterStage(kBearStage));
    HoldHealth();
    Save("held");
    EndGame();
    ASSERT_TRUE(EnterStage(kBearStage, kSeed + 1));
    Load("held");
    Stage()->DamagePlayer(0.5f);
    EXPECT_EQ(Stage()->GetHealth(), 1.0f);
}

// A sample of cuts and changes of each fight: the fuzz harness of saved
// stages goes further.
TEST_F(FightStreamTest, CutAndMutatedFightsLoadOrAreRefusedCleanly) {
    StartBearFight();
    ASSERT_FALSE(HasFatalFailure());
    Save("bear");
    LoadCutsAndMutations(m_saves.Payload("bear"), 10, 20);
    StartTeleport();
    ASSERT_FALSE(HasFatalFailure());
    Save("teleport");
    LoadCutsAndMutations(m_saves.Payload("teleport"), 10, 20);
}

}  // namespace
