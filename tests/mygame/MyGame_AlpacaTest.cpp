#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_AlpacaBossTestHooks.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "support/MyGame_StageBot.h"
#include "support/MyGame_StageStreamFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace mygametest {
namespace {

constexpr std::uint32_t kAlpacaStage = 5;
constexpr float kOffset = 100.0f;

struct Spread {
    float low;
    float high;
};
struct PairSpread {
    Spread x;
    Spread y;
};

// A marker, then its strike, as one salvo's pair places them.
struct Strike {
    Vector2D marker;
    Vector2D strike;
    float strikeOpacity;
};

class AlpacaTest : public StageStreamFixture {
protected:
    void SetUp() override {
        StageStreamFixture::SetUp();
        // The strikes are the point, not the player's health: in every game
        // that enters the stage, also one that loads a save.
        HoldHealth();
        ASSERT_TRUE(EnterStage(kAlpacaStage));
        m_boss = Find<AlpacaBoss>("AlpacaBoss");
        ASSERT_NE(m_boss, nullptr);
        ASSERT_EQ(Stage()->GetBoss(), m_boss);
        // The stage's first frame has no time behind it.
        Step();
    }

    // The opening cut short: its last salvo counted, the boss stands.
    void CallInAfterOpening() {
        Stage()->SpawnBoss(kOffset);
        m_boss->SetSalvoCounter(90);
        Step();
        ASSERT_TRUE(m_boss->IsOpeningDone());
    }

    // The pairs placed in the last frame, in creation order.
    std::vector<Strike> NewPairs() {
        std::vector<Tundra::GameObject*> shots;
        Game().GetWorldLayer()->GetGameObjectsByName("BossProjTemplate", shots);
        std::vector<const BossProjectile*> fresh;
        for (const Tundra::GameObject* object : shots) {
            if (m_seen.insert(object->GetID()).second) {
                fresh.push_back(dynamic_cast<const BossProjectile*>(object));
            }
        }
        std::sort(fresh.begin(), fresh.end(), [](auto* a, auto* b) { return a->GetID() < b->GetID(); });
        std::vector<Strike> pairs;
        for (std::size_t i = 0; i + 1 < fresh.size(); i += 2) {
            EXPECT_EQ(fresh[i]->GetKind(), BossProjectile::kWarningMarker);
            EXPECT_EQ(fresh[i + 1]->GetKind(), BossProjectile::kStrike);
            pairs.push_back({fresh[i]->GetPosition(), fresh[i + 1]->GetPosition(), fresh[i + 1]->GetOpacity()});
        }
        EXPECT_EQ(fresh.size() % 2, 0u);
        return pairs;
    }

    // Each salvo's pair A and pair B lie within their spreads around the
    // centre, each strike on its marker and unseen.
    static void ExpectSalvos(const std::vector<Strike>& pairs, const Vector2D& centre, const PairSpread& a,
                             const PairSpread& b) {
        ASSERT_EQ(pairs.size() % 2, 0u);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const PairSpread& spread = i % 2 == 0 ? a : b;
            const Vector2D offset = pairs[i].marker - centre;
            EXPECT_TRUE(offset.x >= spread.x.low && offset.x <= spread.x.high) << offset.x;
            EXPECT_TRUE(offset.y >= spread.y.low && offset.y <= spread.y.high) << offset.y;
            EXPECT_EQ(pairs[i].strike, pairs[i].marker);
            EXPECT_EQ(pairs[i].strikeOpacity, 0.0f);
        }
    }

    AlpacaBoss* m_boss = nullptr;
    std::set<std::uint32_t> m_seen;
};

TEST_F(AlpacaTest, TheBarIsCroppedFromTheRightKeepingItsLeftEdge) {
    auto* bar = TUN_NEW(BossHp, SheetAnimations({{"BossHP", 1, 1, Delays(1)}}));
    bar->GetEngineSprite()->GetCurrentAnimation()->SetFrameWidth(200);
    bar->SetOldPosition({900.0f, 500.0f});
    Game().GetWorldLayer()->AddGameObject(bar);
    Step();
    struct Case {
        float health;
        int width;
        float x;
    };
    for (const Case& c : {Case{0.5f, 100, 850.0f}, Case{0.25f, 50, 825.0f}, Case{0.0f, 0, 800.0f},
                          Case{1.0f, 200, 900.0f}}) {
        bar->SetHealth(c.health);
        EXPECT_EQ(bar->GetFrameWidth(0), c.width) << c.health;
        EXPECT_EQ(bar->GetPositionX(), c.x) << c.health;
    }
    // Refused: nothing changes.
    for (float health : {std::numeric_limits<float>::quiet_NaN(), -0.1f, 1.5f}) {
        bar->SetHealth(health);
        EXPECT_EQ(bar->GetHealth(), 1.0f);
        EXPECT_EQ(bar->GetFrameWidth(0), 200);
    }
}

TEST_F(AlpacaTest, CalledInItsOpeningPlacesNinetySalvosAroundItsCentreThenTheBossTakesItsStand) {
    // Until called in it stands by, its eye mounted on it.
    Step(60);
    EXPECT_TRUE(NewPairs().empty());
    EXPECT_EQ(m_boss->GetCooldown(), 0.7f);
    EXPECT_EQ(m_boss->GetSalvoCounter(), 0);
    EXPECT_EQ(m_boss->GetEye()->GetMount(), m_boss);
    Stage()->SpawnBoss(kOffset);
    std::size_t pairs = 0;
    const Vector2D centre{900.0f, kOffset + 171.0f};
    const PairSpread opening{{-100.0f, 100.0f}, {-200.0f, 200.0f}};
    const PairSpread wide{{-300.0f, 300.0f}, {-400.0f, 400.0f}};
    for (int frame = 0; frame < 600 && !m_boss->IsOpeningDone(); ++frame) {
        Step();
        const std::vector<Strike> placed = NewPairs();
        ExpectSalvos(placed, centre, opening, wide);
        pairs += placed.size();
    }
    ASSERT_TRUE(m_boss->IsOpeningDone());
    EXPECT_EQ(pairs * 2, 360u);
    EXPECT_EQ(m_boss->GetPosition(), Vector2D(900.0f, kOffset + 217.0f));
    EXPECT_EQ(m_boss->GetHealthBarFrame()->GetPosition(), Vector2D(900.0f, kOffset + 517.0f));
    EXPECT_EQ(m_boss->GetBossHealthBar()->GetPosition(), Vector2D(900.0f, kOffset + 513.0f));
}

// Health to the phase: the eye, the volley's length and the salvos' spreads.
struct PhaseCase {
    float health;
    int eyeAnimation;
    std::int32_t salvos;
    PairSpread a;
    PairSpread b;
};

class AlpacaPhaseTest : public AlpacaTest, public testing::WithParamInterface<PhaseCase> {};

TEST_P(AlpacaPhaseTest, AVolleyPlacesItsPhasesSalvosAroundThePlayerThenTheBossRests) {
    const PhaseCase phase = GetParam();
    CallInAfterOpening();
    m_boss->SetHealth(phase.health);
    std::int32_t salvos = 0;
    for (int frame = 0; frame < 900 && m_boss->GetCooldown() != 1.5f; ++frame) {
        Step();
        const std::vector<Strike> placed = NewPairs();
        ExpectSalvos(placed, m_boss->GetTarget(), phase.a, phase.b);
        salvos += static_cast<std::int32_t>(placed.size() / 2);
    }
    ASSERT_EQ(m_boss->GetCooldown(), 1.5f);
    EXPECT_EQ(salvos, phase.salvos);
    EXPECT_EQ(m_boss->GetSalvoLimit(), phase.salvos);
    EXPECT_EQ(m_boss->GetEye()->GetCurrentAnimationIndex(), phase.eyeAnimation);
    // The rest: 1.5 s without a salvo.
    Step(90);
    EXPECT_TRUE(NewPairs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Phases, AlpacaPhaseTest,
    testing::Values(PhaseCase{0.75f, 0, 4, {{-100, 100}, {-30, 100}}, {{-300, 300}, {-50, 250}}},
                    PhaseCase{0.74f, 1, 7, {{-60, 60}, {-20, 80}}, {{-200, 200}, {-100, 200}}},
                    PhaseCase{0.5f, 1, 7, {{-60, 60}, {-20, 80}}, {{-200, 200}, {-100, 200}}},
                    PhaseCase{0.49f, 2, 12, {{-100, 100}, {-10, 100}}, {{-300, 300}, {-150, 300}}}),
    [](const testing::TestParamInfo<PhaseCase>& info) {
        return "Health" + std::to_string(std::lround(info.param.health * 100.0f));
    });

// A cooldown of exactly 0: the first phase waits one more frame, the others
// attack at once (an attack frame sets the phase's salvo limit).
TEST_F(AlpacaTest, ACooldownOfExactlyZeroWaitsOneMoreFrameInTheFirstPhaseOnly) {
    CallInAfterOpening();
    struct Case {
        float health;
        std::int32_t limit;
        int framesWaiting;
    };
    for (const Case& c : {Case{0.6f, 7, 0}, Case{1.0f, 4, 1}, Case{0.3f, 12, 0}}) {
        m_boss->SetHealth(c.health);
        AlpacaBossTestAccess::SetCooldown(*m_boss, 0.0f);
        const std::int32_t before = m_boss->GetSalvoLimit();
        Step(c.framesWaiting);
        EXPECT_EQ(m_boss->GetSalvoLimit(), before) << c.health;
        Step();
        EXPECT_EQ(m_boss->GetSalvoLimit(), c.limit) << c.health;
    }
}

TEST_F(AlpacaTest, KilledWhileBurningItDiesHidesItsPartsThenClearsTheStageForItsBonus) {
    CallInAfterOpening();
    m_boss->SetOnFire();
    ASSERT_NE(m_boss->GetDebuff(), nullptr);
    m_boss->SetHealth(0.0f);
    m_boss->OnHealthChanged();
    EXPECT_EQ(m_boss->GetDebuff(), nullptr);
    EXPECT_EQ(m_boss->GetCurrentAnimationIndex(), 1);
    EXPECT_TRUE(m_boss->IsPlaying());
    EXPECT_FALSE(m_boss->GetLoop());
    const std::vector<const Tundra::GameObject*> parts{m_boss->GetHealthBarFrame(), m_boss->GetBossHealthBar(),
                                                       m_boss->GetEye()};
    for (const Tundra::GameObject* part : parts) {
        EXPECT_FALSE(part->GetVisible()) << part->GetName().c_str();
    }
    // The death animation plays out (5.7 s), then the stage is cleared.
    ASSERT_TRUE(RunUntil([this] { return Stage()->IsCleared(); }, 400));
    EXPECT_FALSE(m_boss->GetVisible());
    EXPECT_EQ(Find("EnemyDropTemplate"), nullptr);
    std::int64_t frame = 0;
    ASSERT_TRUE(RunUntil(
        [&] {
            ApplyStageInput(DecideStageInput(LookAtStage(*Stage(), frame++)));
            return Stage()->AreResultsShowing();
        },
        1200));
    EXPECT_EQ(Stage()->GetDrops(), 150);
}

// Saved mid-volley with markers and strikes in the air: a fresh game that
// loads it plays on as the uninterrupted one did; cut or changed, it loads
// or is refused cleanly.
TEST_F(AlpacaTest, AFightSavedMidVolleyPlaysOnAfterALoadAsItWouldHave) {
    CallInAfterOpening();
    m_boss->SetHealth(0.6f);
    ASSERT_TRUE(RunUntil([this] { return m_boss->GetSalvoCounter() == 3; }, 600));
    ExpectLoadPlaysOn("alpaca", kAlpacaStage, SaveAndPlayOn("alpaca", 240));
    const auto* boss = Find<AlpacaBoss>("AlpacaBoss");
    ASSERT_NE(boss, nullptr);
    EXPECT_TRUE(boss->IsOpeningDone());
    EXPECT_EQ(boss->GetEye()->GetMount(), boss);
    LoadCutsAndMutations(m_saves.Payload("alpaca"), 20, 20);
}

}  // namespace
}  // namespace mygametest
