#include "MyGame_DamageFixture.h"

#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_Debuff.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_PauseableParticleSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace mygametest {
namespace {

const Color kBurning{0.8f, 0.5f, 0.125f, 1.0f};
const Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};

bool SameColor(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

class DebuffTest : public DamageTest {
protected:
    // Frames until the enemy's burn ended, at most `limit`; health before
    // the last frame in `before`.
    int StepUntilBurnEnds(const TestEnemy& enemy, float& before, int limit = 200) {
        int frames = 0;
        while (enemy.GetDebuff() != nullptr && frames < limit) {
            before = enemy.GetHealth();
            Step();
            ++frames;
        }
        return frames;
    }

    // Frames until the effect finished, at most `limit`.
    int StepUntilFinished(const PS_FireDebuff& effect, int limit = 200) {
        int frames = 0;
        for (; !effect.IsFinished() && frames < limit; ++frames) {
            Step();
        }
        return frames;
    }

    static PS_FireDebuff* MountedEffect(const TestEnemy& enemy) {
        return enemy.GetMountsCount() == 1 ? dynamic_cast<PS_FireDebuff*>(enemy.GetMountAt(0)) : nullptr;
    }

    static float EmissionHigh(const PS_FireDebuff& effect) {
        float low = 0.0f;
        float high = 0.0f;
        effect.GetEmissionRate(low, high);
        return high;
    }
};

TEST_F(DebuffTest, AFlameContactTintsTheTargetAndMountsAFireEffectThatFollowsIt) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    EXPECT_TRUE(SameColor(enemy.GetModulationColor(), kBurning));
    PS_FireDebuff* effect = MountedEffect(enemy);
    ASSERT_NE(effect, nullptr);
    Step(2);
    EXPECT_EQ(effect->GetLayer(), Game().GetWorldLayer());
    EXPECT_TRUE(effect->GetVisible());
    EXPECT_EQ(EmissionHigh(*effect), 10.0f);
    enemy.SetPosition({250.0f, 120.0f});
    EXPECT_EQ(effect->GetPosition(), (Vector2D{250.0f, 120.0f}));
}

// Two seconds of burning at fifth-weapon level 0 take 0.3 from a plain
// enemy; the frame the time runs out burns nothing and ends it all.
TEST_F(DebuffTest, ABurnRunsTwoSecondsThenTheEffectLingersAndReturnsToThePool) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    PS_FireDebuff* effect = MountedEffect(enemy);
    ASSERT_NE(effect, nullptr);
    float before = 0.0f;
    const int frames = StepUntilBurnEnds(enemy, before);
    EXPECT_NEAR(frames, 120, 1);
    EXPECT_EQ(enemy.GetHealth(), before);
    EXPECT_NEAR(1.0f - enemy.GetHealth(), 0.3f, 0.0025f);
    EXPECT_TRUE(SameColor(enemy.GetModulationColor(), kWhite));
    EXPECT_EQ(enemy.GetEffectFactor(), 1.0f);
    EXPECT_EQ(enemy.GetMountsCount(), 0);
    EXPECT_TRUE(effect->IsStopping());
    EXPECT_EQ(EmissionHigh(*effect), 0.0f);
    EXPECT_NEAR(StepUntilFinished(*effect), 60, 1);
    EXPECT_EQ(GetFireEffectPoolSize(), 1u);
}

TEST_F(DebuffTest, ContactEveryFrameKeepsOneEffectAndBurnsOnTwoSecondsPastTheLast) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    for (int frame = 0; frame < 90; ++frame) {
        enemy.SetOnFire();
        Step();
    }
    EXPECT_EQ(enemy.GetMountsCount(), 1);
    float before = 0.0f;
    EXPECT_NEAR(StepUntilBurnEnds(enemy, before), 120, 1);
}

// The first burn clones the template; a burn after that effect finished
// takes the same object back from the pool.
TEST_F(DebuffTest, AFinishedEffectIsReusedByTheNextBurn) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    PS_FireDebuff* first = MountedEffect(enemy);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, Game().GetTemplate(kFireDebuffTemplate));
    Step(2);
    enemy.EndDebuff();
    StepUntilFinished(*first);
    enemy.SetOnFire();
    EXPECT_EQ(MountedEffect(enemy), first);
    EXPECT_FALSE(first->IsStopping());
    EXPECT_EQ(first->GetLingerTime(), 1.0f);
    EXPECT_EQ(GetFireEffectPoolSize(), 0u);
}

// The pool holds its effects: one destroyed while idle is not handed out again.
TEST_F(DebuffTest, ADestroyedIdleEffectIsNeverTakenAgain) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    const Core::RefPtr<PS_FireDebuff> first = MountedEffect(enemy);
    Step(2);
    enemy.EndDebuff();
    StepUntilFinished(*first);
    first->Destroy();
    Step();
    enemy.SetOnFire();
    PS_FireDebuff* second = MountedEffect(enemy);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first.Get());
    EXPECT_EQ(GetFireEffectPoolSize(), 0u);
}

// The burn ends before the layer started its new effect: the start does
// not make it emit again, and it finishes as any other.
TEST_F(DebuffTest, AnEffectStoppedBeforeItStartedStillFinishes) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    const Core::RefPtr<PS_FireDebuff> effect = MountedEffect(enemy);
    ASSERT_NE(effect, nullptr);
    enemy.EndDebuff();
    EXPECT_NEAR(StepUntilFinished(*effect), 60, 2);
    EXPECT_EQ(EmissionHigh(*effect), 0.0f);
    EXPECT_EQ(GetFireEffectPoolSize(), 1u);
}

TEST_F(DebuffTest, AnEndingEnemyEndsItsBurn) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    const Core::RefPtr<PS_FireDebuff> effect = MountedEffect(enemy);
    enemy.Destroy();
    Step();
    EXPECT_TRUE(effect->IsStopping());
    EXPECT_EQ(effect->GetMount(), nullptr);
}

// While paused a stopping effect keeps its linger time and every pauseable
// system's particles stand still.
TEST_F(DebuffTest, PausedParticleSystemsStandStill) {
    EnterStage();
    auto* smoke = TUN_NEW(PauseableParticleSystem, "test/smoke.png", 16, 64.0f, Vector2D{0.0f, -20.0f});
    smoke->SetParticleSpeed(40.0f, 60.0f);
    Game().GetWorldLayer()->AddGameObject(smoke);
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    PS_FireDebuff* effect = MountedEffect(enemy);
    ASSERT_NE(effect, nullptr);
    Step(30);
    enemy.EndDebuff();
    Step(10);
    const float linger = effect->GetLingerTime();
    std::vector<Vector2D> positions;
    for (const Tundra::Particle& particle : smoke->GetParticles()) {
        positions.push_back(particle.position);
    }
    const auto& particles = smoke->GetParticles();
    ASSERT_TRUE(std::any_of(particles.begin(), particles.end(), [](const auto& particle) { return particle.alive; }));
    Globals().paused = 1;
    Step(60);
    EXPECT_EQ(effect->GetLingerTime(), linger);
    ASSERT_EQ(smoke->GetParticles().size(), positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(smoke->GetParticles()[i].position, positions[i]) << "particle " << i;
    }
    Globals().paused = 0;
    Step();
    EXPECT_LT(effect->GetLingerTime(), linger);
}

// A burning enemy read back burns on with the same time left and effect.
TEST_F(DebuffTest, ABurnSurvivesTheStream) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    Step(30);
    Core::MemoryFile file;
    file << static_cast<const Core::Object*>(&enemy);
    Core::MemoryFile reader(file.GetData(), file.GetSize());
    const Core::RefPtr<Enemy> read = reader.ReadObjectAs<Enemy>(Core::File::Reference::Owning);
    ASSERT_FALSE(reader.HasFailed());
    ASSERT_NE(read, nullptr);
    ASSERT_NE(read->GetDebuff(), nullptr);
    EXPECT_EQ(read->GetDebuff()->GetRemaining(), enemy.GetDebuff()->GetRemaining());
    EXPECT_EQ(read->GetHealth(), enemy.GetHealth());
    EXPECT_TRUE(SameColor(read->GetModulationColor(), kBurning));
    EXPECT_EQ(read->GetMountsCount(), 1);
    EXPECT_EQ(read->GetDebuff()->GetEffect(), read->GetMountAt(0));
}

// Every cut of a burning enemy's stream loads or fails; a failed one gives nothing.
TEST_F(DebuffTest, EveryTruncatedBurningEnemyFailsCleanly) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    enemy.SetOnFire();
    Step(2);
    Core::MemoryFile file;
    file << static_cast<const Core::Object*>(&enemy);
    for (std::uint32_t size = 0; size < file.GetSize(); ++size) {
        Core::MemoryFile reader(file.GetData(), size);
        const Core::RefPtr<Enemy> read = reader.ReadObjectAs<Enemy>(Core::File::Reference::Owning);
        EXPECT_TRUE(reader.HasFailed()) << "size " << size;
        EXPECT_EQ(read, nullptr) << "size " << size;
    }
}

}  // namespace
}  // namespace mygametest
