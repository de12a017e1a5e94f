#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_SpawnWave.h"
#include "support/MyGame_TestContent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(GameTables, LevelRowsCountAndWeaponDamage) {
    const LevelInfo& second = GetLevelInfo(2);
    EXPECT_EQ(second[LevelInfo::kBossKind], 3);
    EXPECT_EQ(second[LevelInfo::kLengthSeconds], 70);
    EXPECT_EQ(second.Theme(), 0);
    EXPECT_EQ(second[LevelInfo::kDamagePercent], 95);
    const LevelInfo& last = GetLevelInfo(8);
    EXPECT_EQ(last[LevelInfo::kBossKind], 5);
    EXPECT_EQ(last[LevelInfo::kDamagePercent], 40);
    EXPECT_EQ(last[LevelInfo::kRollingSpikes], 14);
    EXPECT_EQ(GetLevelCount(), 9u);
    EXPECT_DEBUG_DEATH(GetLevelInfo(9), "stage index out of range");

    const auto& weapons = GetWeaponTable();
    EXPECT_EQ(weapons[0], 0.85f);
    EXPECT_EQ(weapons[2 * kEnemyKindCount + 2], 1.5f);
    EXPECT_EQ(weapons[3 * kEnemyKindCount + 5], 0.015f);
    EXPECT_EQ(weapons[4 * kEnemyKindCount + 4], 0.02f);
    // Row 2 against a rolling spike at damage level 2 in stage 0.
    const float factor = 1.0f + 0.5f * 2.0f;
    const float percent = static_cast<float>(GetLevelInfo(0)[LevelInfo::kDamagePercent]) * 0.01f;
    EXPECT_EQ(weapons[2 * kEnemyKindCount + 2] * factor * percent, 3.0f);
}

TEST(GameTables, StoryListsEndWithAnEmptyLine) {
    const std::size_t counts[kStageCount] = {5, 4, 4, 3, 4, 4, 4, 3, 4};
    std::size_t bytes = 0;
    for (std::uint32_t stage = 0; stage < kStageCount; ++stage) {
        const char* const* lines = GetStoryLines(stage);
        ASSERT_NE(lines, nullptr);
        std::size_t count = 0;
        for (; lines[count][0] != '\0'; ++count) {
            bytes += std::strlen(lines[count]);
        }
        EXPECT_EQ(count, counts[stage]) << "stage " << stage;
    }
    EXPECT_EQ(bytes, 1608u);
    EXPECT_STREQ(GetStoryLines(1)[2], "I am stronger than them. ");
    EXPECT_EQ(std::string(GetStoryLines(2)[0]).find("it.The wildlife"), 62u);
    EXPECT_STREQ(GetStoryLines(8)[3], "This is my job");
    EXPECT_EQ(GetStoryLines(9), nullptr);
}

using mygametest::RecordingSpawner;
using Call = RecordingSpawner::Call;

struct WaveStep {
    bool finished;
    std::vector<Call> calls;
};

TEST(SpawnWave, ReleasesOneOfEachKindPerStep) {
    const Call ground{RecordingSpawner::kGround};
    const Call spike{RecordingSpawner::kRolling};
    const Call onPathTwo{RecordingSpawner::kFlying, 2};
    // The ring: a leader on path 1, five on path 4 a fifth of a turn apart
    // (float sums).
    std::vector<Call> ring = {{RecordingSpawner::kFlying, 1}};
    for (const float phase : {0.0f, 1.2566371f, 2.5132742f, 3.7699113f, 5.0265484f}) {
        ring.push_back({RecordingSpawner::kFlying, 4, phase});
    }
    std::vector<Call> ringAndSpike = ring;
    ringAndSpike.push_back(spike);
    const struct {
        SpawnWave wave;
        float dt;
        std::vector<WaveStep> steps;
    } cases[] = {
        {{2, 0, 1, 0, 0.0f, 1.0f}, 0.5f, {{false, {}}, {false, {ground, spike}}, {false, {}}, {true, {ground}}}},
        {{0, 3, 0, 2, 0.0f, 0.0f}, 0.75f, {{false, {onPathTwo}}, {false, {onPathTwo}}, {true, {onPathTwo}}}},
        {{0, 6, 0, 1, 0.0f, 0.0f}, 0.75f, {{true, ring}}},
        // The ring leaves no flying enemy behind: the spikes still come.
        {{0, 6, 2, 1, 0.0f, 0.0f}, 0.75f, {{false, ringAndSpike}, {true, {spike}}}},
    };
    for (const auto& test : cases) {
        SpawnWave wave = test.wave;
        RecordingSpawner spawner;
        for (std::size_t step = 0; step < test.steps.size(); ++step) {
            spawner.calls.clear();
            EXPECT_EQ(wave.Tick(test.dt, spawner), test.steps[step].finished) << "step " << step;
            EXPECT_EQ(spawner.calls, test.steps[step].calls) << "step " << step;
        }
        EXPECT_EQ(wave.flying, 0);
    }
}

}  // namespace
