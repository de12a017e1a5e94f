#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Player.h"
#include "support/MyGame_StageBot.h"
#include "support/MyGame_WholeStageFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace mygametest;

namespace {

// The bot's choices in a fight, from what it sees: the player at (500, 130)
// unless the case moves it, on flat ground.
struct FightCase {
    const char* what;
    float playerX;
    std::vector<Vector2D> enemies;
    std::vector<Vector2D> hazards;
    bool bearPresent;
    bool resultsShowing;
    std::int64_t frame;
    // -1 walks left, 0 stands, 1 walks right.
    int walk;
    bool click;
    Vector2D cursor;
};

class StageBotFightTest : public testing::TestWithParam<FightCase> {};

TEST_P(StageBotFightTest, ChoosesFromWhatItSees) {
    const FightCase& fight = GetParam();
    StageView view;
    view.frame = fight.frame;
    view.player = {fight.playerX, 130.0f};
    for (float x = 24.0f; x < 1100.0f; x += 46.0f) {
        view.groundTops.push_back({x, 70.0f});
    }
    view.enemies = fight.enemies;
    view.hazards = fight.hazards;
    view.bearPresent = fight.bearPresent;
    view.resultsShowing = fight.resultsShowing;
    const StageInput input = DecideStageInput(view);
    EXPECT_EQ(input.right ? 1 : input.left ? -1 : 0, fight.walk);
    EXPECT_FALSE(input.left && input.right);
    EXPECT_EQ(input.click, fight.click);
    if (!fight.resultsShowing) {
        EXPECT_EQ(input.cursor, fight.cursor);
    }
}

const Vector2D kAhead{800.0f, 130.0f};

INSTANTIATE_TEST_SUITE_P(
    Views, StageBotFightTest,
    testing::Values(
        FightCase{"no_enemy_no_fire", 500.0f, {}, {}, false, false, 0, 0, false, kAhead},
        FightCase{"fires_at_the_nearest_enemy", 500.0f, {{900, 600}, {600, 300}}, {}, false, false, 0, 0, true,
                  {600, 300}},
        FightCase{"holds_the_fire_on_odd_frames", 500.0f, {{900, 600}}, {}, false, false, 1, 0, true, {900, 600}},
        FightCase{"a_marker_above_steps_aside_to_the_nearer_side", 500.0f, {}, {{520, 600}}, false, false, 0, -1,
                  false, kAhead},
        FightCase{"a_marker_beyond_reach_is_left_alone", 500.0f, {}, {{570, 600}}, false, false, 0, 0, false, kAhead},
        FightCase{"three_columns_are_left_as_one", 500.0f, {}, {{400, 400}, {500, 400}, {600, 400}}, false, false,
                  0, -1, false, kAhead},
        FightCase{"no_room_on_the_left_goes_right", 300.0f, {}, {{290, 400}}, false, false, 0, 1, false,
                  {600, 130}},
        FightCase{"no_room_near_the_bear_goes_left", 530.0f, {}, {{550, 600}}, true, false, 0, -1, false,
                  {830, 130}},
        FightCase{"the_bear_keeps_it_left_of_its_arms", 600.0f, {}, {}, true, false, 0, -1, false, {900, 130}},
        FightCase{"without_the_bear_600_stands", 600.0f, {}, {}, false, false, 0, 0, false, {900, 130}},
        FightCase{"the_results_are_clicked", 500.0f, {{900, 600}}, {}, false, true, 0, 0, true, {}},
        FightCase{"between_result_clicks_the_button_is_up", 500.0f, {}, {}, false, true, 1, 0, false, {}}),
    [](const testing::TestParamInfo<FightCase>& info) { return std::string(info.param.what); });

// What the test saw of a stage's enemies and drops, looked at after every
// frame from some frame on: enemies dying or dead at the first look are no
// part of it, nor are the drops lying then, unless they are taken. Each is held, so that none is freed and its
// place taken by another while the test still counts it.
class Sightings {
public:
    void Look(const GameLevel& stage) {
        for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
            Enemy* enemy = stage.GetLiveEnemy(i);
            if (enemy != stage.GetBoss() && !enemy->IsDead() && !Seen(m_enemies, enemy)) {
                m_enemies.emplace_back(enemy);
            }
        }
        const bool firstLook = !m_looked;
        m_looked = true;
        std::vector<Tundra::GameObject*> drops;
        const Core::String dropName("EnemyDropTemplate");
        stage.GetGameObjects(&dropName, drops);
        for (Tundra::GameObject* object : drops) {
            auto* drop = dynamic_cast<EnemyDrop*>(object);
            if (drop != nullptr && !Seen(m_drops, drop)) {
                m_drops.emplace_back(drop);
                m_dropPlaces.push_back(drop->GetPosition());
                m_dropsLying += firstLook ? 1 : 0;
            }
        }
        for (std::size_t i = 0; i < m_drops.size(); ++i) {
            if (!Gone(*m_drops[i])) {
                m_dropPlaces[i] = m_drops[i]->GetPosition();
            }
        }
    }

    // Killed ones by kind: walking, flying, rolling.
    std::array<std::int32_t, 3> Kills() const {
        std::array<std::int32_t, 3> kills{};
        for (const Core::RefPtr<Enemy>& enemy : m_enemies) {
            const std::int32_t kind = enemy->GetEnemyKind();
            if (enemy->IsDead() && kind >= 0 && kind < 3) {
                ++kills[static_cast<std::size_t>(kind)];
            }
        }
        return kills;
    }
    std::size_t Enemies() const { return m_enemies.size(); }
    std::size_t EnemiesStillThere() const {
        return static_cast<std::size_t>(
            std::count_if(m_enemies.begin(), m_enemies.end(), [](const auto& enemy) { return !Gone(*enemy); }));
    }
    // Drops left since the first look.
    std::size_t Drops() const { return m_drops.size() - m_dropsLying; }
    // Drops that went inside the stage's area: the player took them (the
    // others drifted out on the left).
    std::int32_t DropsTaken() const {
        std::int32_t taken = 0;
        for (std::size_t i = 0; i < m_drops.size(); ++i) {
            taken += Gone(*m_drops[i]) && m_dropPlaces[i].x > kDropLeaves ? 1 : 0;
        }
        return taken;
    }

private:
    // A drop at this x has a frame's drift left before it goes.
    static constexpr float kDropLeaves = -95.0f;

    template <class T>
    static bool Seen(const std::vector<Core::RefPtr<T>>& seen, const T* object) {
        return std::any_of(seen.begin(), seen.end(), [object](const auto& held) { return held.Get() == object; });
    }
    static bool Gone(const Tundra::GameObject& object) { return object.IsDestroyed() || object.IsDestroyRequested(); }

    std::vector<Core::RefPtr<Enemy>> m_enemies;
    std::vector<Core::RefPtr<EnemyDrop>> m_drops;
    std::vector<Vector2D> m_dropPlaces;
    std::size_t m_dropsLying = 0;
    bool m_looked = false;
};

// The stage's own count of kills (walking, flying, rolling) and drops.
struct Tally {
    std::array<std::int32_t, 3> kills{};
    std::int32_t drops = 0;

    Tally() = default;
    explicit Tally(const GameLevel& stage)
        : kills{stage.GetKills().ground, stage.GetKills().flying, stage.GetKills().rolling},
          drops(stage.GetDrops()) {}
};

// Whole stages played by the bot, headless (BotStageFixture) or drawn
// (WholeStageFixture).
template <class Base>
class WholeStageEnemiesOf : public Base {
protected:
    // Bot frames until `done` holds after one, looking at the stage after
    // each; the frames played, or nothing at the limit.
    template <class Done>
    std::optional<int> PlayUntil(Done done, int maxFrames) {
        for (int frame = 1; frame <= maxFrames && this->Stage() != nullptr; ++frame) {
            this->BotStep();
            if (this->Stage() == nullptr) {
                break;
            }
            m_seen.Look(*this->Stage());
            if (done(*this->Stage())) {
                return frame;
            }
        }
        return std::nullopt;
    }

    // Since the tally was taken the stage counted the kills and drops the
    // test saw, and every enemy killed left one drop.
    void ExpectTheStageCountedWhatWasSeen(const Tally& before) {
        const Tally now(*this->Stage());
        const std::array<std::int32_t, 3> kills = m_seen.Kills();
        for (std::size_t kind = 0; kind < kills.size(); ++kind) {
            EXPECT_EQ(now.kills[kind] - before.kills[kind], kills[kind]) << "kind " << kind;
        }
        EXPECT_EQ(m_seen.Drops(), static_cast<std::size_t>(kills[0] + kills[1] + kills[2]));
        EXPECT_EQ(now.drops - before.drops, m_seen.DropsTaken());
    }

    void ReportSeconds(const char* what, std::chrono::steady_clock::time_point start) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        this->RecordProperty("seconds", std::to_string(seconds));
        std::printf("%s: %.1f s\n", what, seconds);
    }

    Sightings m_seen;
};

// Nothing here reads pixels: headless.
using WholeStageEnemiesTest = WholeStageEnemiesOf<BotStageFixture>;
// Every frame drawn: no other test draws the Bear's fight (the offscreen
// end-to-end run draws stage 0 from its start to its results).
using WholeStageEnemiesOffscreenTest = WholeStageEnemiesOf<WholeStageFixture>;

bool ResultsShowing(const GameLevel& stage) { return stage.AreResultsShowing(); }

// Stage index 0 with its waves of enemies from its start to its results,
// the bot at the controls; a recording from the middle of the stage
// replays. The way back from the replay loads the stage anew, so the test
// looks at the enemies and drops afresh from there.
TEST_F(WholeStageEnemiesTest, TheBotPlaysStageZeroWithItsEnemiesToItsResults) {
    const auto start = std::chrono::steady_clock::now();
    constexpr int kRecordFrom = 1200;
    constexpr int kRecordedFrames = 120;
    WriteBotProfile();
    ASSERT_TRUE(EnterStage(0));
    const std::uint32_t currency = m_game->GetProfile().currency;

    std::optional<std::int64_t> lengthRun;
    std::vector<std::string> storyLines;
    const auto watch = [&](const GameLevel& stage) {
        if (!lengthRun && stage.GetDistance() >= stage.GetStageLength()) {
            lengthRun = m_botFrame;
        }
        const auto* text = Find<DialogText>("DialogText");
        if (stage.IsStoryActive() && text != nullptr) {
            // Rows of a long line are broken on spaces.
            std::string line = text->GetLine().c_str();
            std::replace(line.begin(), line.end(), '\n', ' ');
            if (storyLines.empty() || storyLines.back() != line) {
                storyLines.push_back(line);
            }
        }
        return stage.AreResultsShowing();
    };
    ASSERT_FALSE(PlayUntil(watch, kRecordFrom));
    ExpectTheStageCountedWhatWasSeen(Tally{});
    RecordAndReplay(kRecordedFrames);
    ASSERT_FALSE(HasFatalFailure());
    m_seen = Sightings{};
    const Tally replayed(*Stage());
    const std::optional<int> ended = PlayUntil(watch, 4000);
    GameLevel* stage = Stage();
    ASSERT_NE(stage, nullptr);
    ASSERT_TRUE(ended) << "distance " << stage->GetDistance() << " of " << stage->GetStageLength() << ", health "
                       << stage->GetHealth() << ", enemies " << stage->GetLiveEnemyCount() << ", waves "
                       << stage->GetWaves().size();
    ASSERT_TRUE(lengthRun.has_value());
    // The distance runs only while the stage does: the stage is 40 s long.
    EXPECT_NEAR(static_cast<double>(*lengthRun), 2400.0, 60.0);

    // Every enemy that came was killed or left, and the counters and
    // drops are those the test saw.
    EXPECT_GT(stage->GetKills().flying, 0);
    EXPECT_EQ(m_seen.EnemiesStillThere(), 0u);
    ExpectTheStageCountedWhatWasSeen(replayed);
    EXPECT_GT(stage->GetDrops(), 0);

    // The ground ended and stands.
    EXPECT_TRUE(stage->GetTerrain().IsEndReached());
    const Vector2D leading = stage->GetTerrain().GetLeadingPosition();
    Step(30);
    EXPECT_EQ(stage->GetTerrain().GetLeadingPosition(), leading);

    std::vector<std::string> expectedLines;
    for (const char* const* line = GetStoryLines(0); **line != '\0'; ++line) {
        expectedLines.push_back(*line);
    }
    EXPECT_EQ(storyLines, expectedLines);

    // The results add the drops to the currency; stage 1 opened.
    const ReadProfile saved = SavedProfile();
    EXPECT_FALSE(saved.damaged);
    EXPECT_EQ(saved.profile.currency, currency + static_cast<std::uint32_t>(stage->GetDrops()));
    EXPECT_EQ(saved.profile.highestStage, 1);
    ReportSeconds("whole stage 0", start);
}

// Stage index 2's Bear, called in as the stage's ground runs out: the bot
// beats it, a recording begun in the fight replays, and the stage clears with
// the Bear's bonus and opens stage 3.
TEST_F(WholeStageEnemiesOffscreenTest, TheBotBeatsTheBearOnStageTwo) {
    const auto start = std::chrono::steady_clock::now();
    constexpr int kRecordedFrames = 120;
    constexpr std::int32_t kBearBonus = 50;
    WriteBotProfile();
    auto* bear = dynamic_cast<BearBoss*>(EnterBossFight(2));
    ASSERT_NE(bear, nullptr);
    ASSERT_TRUE(PlayUntil([bear](const GameLevel&) { return bear->IsOpeningDone(); }, 600));
    const std::int32_t drops = Stage()->GetDrops();
    // Into the fight before the recording starts.
    PlayUntil([](const GameLevel&) { return false; }, 30);
    const float hurt = bear->GetHealth();
    EXPECT_LT(hurt, 1.0f);
    RecordAndReplay(kRecordedFrames);
    ASSERT_FALSE(HasFatalFailure());
    bear = dynamic_cast<BearBoss*>(Stage()->GetBoss());
    ASSERT_NE(bear, nullptr);
    EXPECT_LT(bear->GetHealth(), hurt);

    ASSERT_TRUE(PlayUntil([](const GameLevel& stage) { return stage.IsCleared(); }, 1800))
        << "the Bear's health " << bear->GetHealth() << ", the player's " << Stage()->GetHealth();
    EXPECT_FALSE(bear->GetVisible());
    ASSERT_TRUE(PlayUntil(ResultsShowing, 1800));
    EXPECT_EQ(Stage()->GetDrops(), drops + kBearBonus);
    const ReadProfile saved = SavedProfile();
    EXPECT_FALSE(saved.damaged);
    EXPECT_EQ(saved.profile.highestStage, 3);
    ReportSeconds("whole stage 2", start);
}

}  // namespace
