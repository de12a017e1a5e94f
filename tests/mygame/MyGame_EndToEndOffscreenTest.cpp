#include "support/MyGame_WholeStageFixture.h"

#include "MyGame_EndToEndFixture.h"

#include <gtest/gtest.h>

// The way from the intro to stage 1's results drawn every frame on SDL's
// offscreen driver with the generated files.
namespace mygametest {
namespace {

// About 40 s of CPU under the sanitizers (the software renderer draws each
// of some 3500 frames): a long run, with its longer limit.
using LongRunEndToEndOffscreenTest = EndToEndFixture<WholeStageFixture>;

TEST_F(LongRunEndToEndOffscreenTest, FromTheIntroToStageOnesResultsDrawingEveryFrame) {
    std::int64_t framesSeen = 0;
    const auto count = [&framesSeen](const JourneyMoment&) { ++framesSeen; };
    ASSERT_TRUE(RunPlan({.firstStage = 0, .stageCount = 1, .returnToTitle = false}, 20000, count)) << Failure();
    EXPECT_EQ(framesSeen, Record().frames);
    ASSERT_EQ(Record().stages.size(), 1u);
    EXPECT_GT(Record().stages[0].resultsFrame, Record().stages[0].storyFrame);
    EXPECT_EQ(SavedProfile().profile.highestStage, 1);
}

}  // namespace
}  // namespace mygametest
