#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_AlpacaBossTestHooks.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "support/MyGame_StageBot.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_StageSaves.h"

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

// The boss, its eye, its bar and the boss shots' template, as the content
// places them in the world layer.
void PlaceAlpacaRows(const LayerBuild& build) {
    using Sprite = Tundra::Sprite;
    const std::vector<float> eyeDelays{0.1f, 0.5f, 0.5f, 0.001f};
    PlaceSpriteRow(build, {.name = "BossHPBar", .make = &MakeSprite<Sprite>,
                           .animations = {{"BossHPBar", 1, 1, Delays(1)}}, .actorIndex = 49,
                           .position = {1263.0f, 574.0f}});
    PlaceSpriteRow(build, {.name = "BossHP", .make = &MakeSprite<BossHp>, .animations = {{"BossHP", 1, 1, Delays(1)}},
                           .actorIndex = 50, .position = {1263.0f, 570.0f}});
    PlaceSpriteRow(build, {.name = "AlpacaBoss",
                           .make = &MakeSprite<AlpacaBoss>,
                           .animations = {{"Alpaca", 2, 1, {2.0f, 0.5f}},
                                          {"AlpacaDead", 4, 3,
                                           DelayRuns({{1.0f, 1}, {0.4f, 2}, {0.35f, 1}, {0.3f, 1}, {1.0f, 2},
                                                      {0.25f, 5}})}},
                           .actorIndex = 60,
                           .position = {1615.0f, 352.0f},
                           .z = 3.2f});
    PlaceSpriteRow(build, {.name = "AlpacaEye",
                           .make = &MakeSprite<Sprite>,
                           .animations = {{"AlpacaEye1", 2, 2, eyeDelays},
                                          {"AlpacaEye2", 2, 2, eyeDelays},
                                          {"AlpacaEye3", 2, 2, eyeDelays}},
                           .actorIndex = 63,
                           .position = {1566.0f, 361.0f},
                           .z = 3.3f,
                           .stopped = true});
    PlaceSpriteRow(build, {.name = "BossProjTemplate",
                           .make = &MakeSprite<BossProjectile>,
                           .animations = {{"BossAttWarn", 1, 1, {0.25f}},
                                          {"BearBall", 3, 2, Delays(5, 0.1f)},
                                          {"BearLightning", 2, 5, DelayRuns({{0.01f, 1}, {0.02f, 9}})},
                                          {"AlpacaBomb", 3, 2, DelayRuns({{0.25f, 1}, {0.2f, 1}, {0.15f, 1}, {0.1f, 2}})},
                                          {"UnLeft", 2, 1, Delays(2)},
                                          {"UnRight", 2, 1, Delays(2)}},
                           .actorIndex = 64,
                           .position = {-578.0f, 773.0f},
                           .z = 3.5f,
                           .stopped = true,
                           .animation = 1});
}

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

class AlpacaTest : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        AlsoBuild(1, &PlaceAlpacaRows);
        ASSERT_TRUE(EnterStage(kAlpacaStage));
        m_boss = Find<AlpacaBoss>("AlpacaBoss");
        ASSERT_NE(m_boss, nullptr);
        ASSERT_EQ(Stage()->GetBoss(), m_boss);
        // The stage's first frame has no time behind it.
        Step();
    }

    // The strikes only are the point: the player is never hurt.
    void StepHeld(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            if (auto* player = dynamic_cast<GamePlayer*>(Stage()->GetPlayer())) {
                player->SetInvulnerableTime(1.0f);
            }
            Step();
        }
    }

    // The opening cut short: its last salvo counted, the boss stands.
    void CallInAfterOpening() {
        m_boss->Activate(kOffset);
        m_boss->SetSalvoCounter(90);
        StepHeld();
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

TEST_F(AlpacaTest, UntilCalledInTheBossNeitherAttacksNorChangesItsBar) {
    StepHeld(120);
    EXPECT_TRUE(NewPairs().empty());
    EXPECT_EQ(m_boss->GetCooldown(), 0.7f);
    EXPECT_EQ(m_boss->GetSalvoCounter(), 0);
    EXPECT_EQ(m_boss->GetBossHealthBar()->GetHealth(), 1.0f);
    EXPECT_EQ(m_boss->GetEye()->GetMount(), m_boss);
}

TEST_F(AlpacaTest, TheOpeningPlacesNinetySalvosAroundItsCentreThenTheBossTakesItsStand) {
    m_boss->Activate(kOffset);
    std::size_t pairs = 0;
    const Vector2D centre{900.0f, kOffset + 171.0f};
    const PairSpread opening{{-100.0f, 100.0f}, {-200.0f, 200.0f}};
    const PairSpread wide{{-300.0f, 300.0f}, {-400.0f, 400.0f}};
    for (int frame = 0; frame < 600 && !m_boss->IsOpeningDone(); ++frame) {
        StepHeld();
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
        StepHeld();
        const std::vector<Strike> placed = NewPairs();
        ExpectSalvos(placed, m_boss->GetTarget(), phase.a, phase.b);
        salvos += static_cast<std::int32_t>(placed.size() / 2);
    }
    ASSERT_EQ(m_boss->GetCooldown(), 1.5f);
    EXPECT_EQ(salvos, phase.salvos);
    EXPECT_EQ(m_boss->GetSalvoLimit(), phase.salvos);
    EXPECT_EQ(m_boss->GetEye()->GetCurrentAnimationIndex(), phase.eyeAnimation);
    // The rest: 1.5 s without a salvo.
    StepHeld(90);
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
        StepHeld(c.framesWaiting);
        EXPECT_EQ(m_boss->GetSalvoLimit(), before) << c.health;
        StepHeld();
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

class AlpacaStreamTest : public AlpacaTest {
protected:
    StageSaves m_saves;
};

// Saved mid-volley with strikes in the air, loaded into a fresh game: the
// fight plays on as the uninterrupted one did.
TEST_F(AlpacaStreamTest, AFightSavedMidVolleyPlaysOnAfterALoadAsItWouldHave) {
    CallInAfterOpening();
    m_boss->SetHealth(0.6f);
    ASSERT_TRUE(RunUntil([this] { return m_boss->GetSalvoCounter() == 3; }, 600));
    constexpr int kFrames = 240;
    std::vector<std::uint64_t> uninterrupted{Game().GetStateHash()};
    Game().RequestSave("alpaca");
    for (int frame = 0; frame < kFrames; ++frame) {
        Step();
        uninterrupted.push_back(Game().GetStateHash());
    }
    ASSERT_FALSE(m_saves.Payload("alpaca").empty());
    ASSERT_TRUE(EnterStage(kAlpacaStage, kSeed + 1));
    const Tundra::Level* before = Game().GetCurrentLevel();
    Game().RequestLoad("alpaca");
    ASSERT_TRUE(RunUntil([&] { return Game().GetCurrentLevel() != before; }, 3));
    ASSERT_EQ(Game().GetStateHash(), uninterrupted[1]);
    // The frame after a load has no time behind it.
    Step();
    ASSERT_EQ(Game().GetStateHash(), uninterrupted[1]);
    for (int frame = 2; frame <= kFrames; ++frame) {
        Step();
        ASSERT_EQ(Game().GetStateHash(), uninterrupted[static_cast<std::size_t>(frame)]) << "frame " << frame;
    }
    const auto* boss = Find<AlpacaBoss>("AlpacaBoss");
    ASSERT_NE(boss, nullptr);
    EXPECT_TRUE(boss->IsOpeningDone());
    EXPECT_EQ(boss->GetEye()->GetMount(), boss);
}

}  // namespace
}  // namespace mygametest
