#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace mygametest {
namespace {


class ScoreTextTest : public MyGameTest {
protected:
    // The game holds a score-text template taken from the intro's HUD.
    void SetUp() override {
        MyGameTest::SetUp();
        Content().ThenBuild(0, 0, [](const LayerBuild& build) {
            auto* text = TUN_NEW(ScoreText, "", "");
            text->SetName(kTemplateNames[kScoreTextTemplate]);
            build.layer.AddGameObject(text);
        });
        StartGame();
        Step();
        Game().CaptureTemplates();
    }

    // Where the counter lays itself out at its pulse.
    static Vector2D Layout(const ScoreText& score) {
        const float n = static_cast<float>(score.GetTextLength());
        const float pulse = score.GetPulse();
        const Vector2D& base = score.GetBasePosition();
        return {std::trunc(base.x - (n * pulse * 8.5f - 3.0f)), std::trunc(base.y - (pulse * 9.0f - 2.0f))};
    }

    // Updates at exactly 1/60 s until the counter finishes (at most
    // `limit`); the texts it showed, one per step.
    static std::vector<std::string> CountDown(ScoreText& score, int limit = 200) {
        std::vector<std::string> shown;
        for (int i = 0; i < limit && !score.IsFinished(); ++i) {
            const std::string before = score.GetText().c_str();
            score.Update(kDt);
            if (score.GetText() != before.c_str()) {
                shown.push_back(score.GetText().c_str());
            }
        }
        return shown;
    }
};

TEST_F(ScoreTextTest, ACounterStepsEveryThirdUpdateWithAPulseAndLaysItselfOut) {
    ScoreText* score = CreateScoreText({30.0f, -20.0f}, 0, 20, 10.0f, "x", "");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->GetText(), "x0");
    std::vector<int> steps;
    for (int update = 1; update <= 61; ++update) {
        const std::int32_t before = score->GetShownValue();
        EXPECT_FALSE(score->IsFinished()) << update;
        score->Update(kDt);
        if (score->GetShownValue() != before) {
            steps.push_back(update);
        }
        EXPECT_EQ(score->GetScaleX(), score->GetPulse());
        EXPECT_EQ(score->GetPosition(), Layout(*score)) << update;
    }
    std::vector<int> expected;
    for (int update = 1; update <= 58; update += 3) {
        expected.push_back(update);
    }
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(score->IsFinished());
    EXPECT_EQ(score->GetText(), "x20");
    EXPECT_EQ(score->GetPulse(), 1.0f);

    // Retargeted lower once finished, it counts down from what it shows.
    score->SetTargetValue(18);
    EXPECT_EQ(CountDown(*score), (std::vector<std::string>{"x19", "x18"}));
}

TEST_F(ScoreTextTest, ACounterAtItsTargetFinishesOnItsFirstUpdate) {
    ScoreText* score = CreateScoreText({0.0f, 0.0f}, 7, 7, 10.0f, "", " drops");
    ASSERT_NE(score, nullptr);
    score->Update(kDt);
    EXPECT_EQ(score->GetText(), "7 drops");
    EXPECT_EQ(score->GetPulse(), 1.0f);
    EXPECT_TRUE(score->IsFinished());
}

TEST_F(ScoreTextTest, ANegativeTargetCountsThroughZeroKeepingPrefixAndSuffix) {
    ScoreText* score = CreateScoreText({0.0f, 0.0f}, 1, -3, 10.0f, "+", "%");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(CountDown(*score), (std::vector<std::string>{"+0%", "+-1%", "+-2%", "+-3%"}));
}

// The results click sets each counter one short of its target: a running
// counter and one already finished both end on the target.
TEST_F(ScoreTextTest, AShownValueOneShortReachesTheTargetAtTheNextStep) {
    ScoreText* running = CreateScoreText({0.0f, 0.0f}, 0, 50, 10.0f, "", "");
    ScoreText* finished = CreateScoreText({0.0f, 0.0f}, 5, 5, 10.0f, "", "");
    ASSERT_NE(running, nullptr);
    ASSERT_NE(finished, nullptr);
    running->Update(kDt);
    finished->Update(kDt);
    ASSERT_TRUE(finished->IsFinished());
    for (ScoreText* score : {running, finished}) {
        score->SetShownValue(score->GetTargetValue() - 1);
        const std::vector<std::string> shown = CountDown(*score);
        EXPECT_EQ(shown.size(), 1u);
        EXPECT_EQ(score->GetShownValue(), score->GetTargetValue());
    }
}

TEST_F(ScoreTextTest, AFreshOrClonedCounterStartsFromTheInitialValues) {
    ScoreText* source = CreateScoreText({40.0f, 10.0f}, 3, 9, 5.0f, "x", "!");
    ASSERT_NE(source, nullptr);
    source->Update(kDt);
    const Core::RefPtr<ScoreText> clone(static_cast<ScoreText*>(source->Clone()));
    EXPECT_EQ(clone->GetTargetValue(), 0);
    EXPECT_EQ(clone->GetShownValue(), -1);
    EXPECT_EQ(clone->GetPulse(), 1.0f);
    EXPECT_EQ(clone->GetRate(), 10.0f);
    EXPECT_FALSE(clone->IsFinished());
    EXPECT_EQ(clone->GetPrefix(), "");
    EXPECT_EQ(clone->GetSuffix(), "");
    // Not placed yet: the first update takes its position as the base.
    clone->SetPosition({5.0f, 7.0f});
    clone->Update(kDt);
    EXPECT_EQ(clone->GetBasePosition(), (Vector2D{5.0f, 7.0f}));
}

TEST_F(ScoreTextTest, ASavedCounterReadsBackAndRefusesAPulseOrRateItCouldNotHold) {
    ScoreText* score = CreateScoreText({12.0f, -8.0f}, 2, 6, 10.0f, "x", "%");
    ASSERT_NE(score, nullptr);
    score->Update(kDt);
    ExpectStreamRoundTrip(*score);
    const StreamBytes bytes = SavedBytes(*score);
    const Core::RefPtr<ScoreText> read = ReadBack<ScoreText>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetShownValue(), 3);
    EXPECT_EQ(read->GetTargetValue(), 6);
    EXPECT_EQ(read->GetPulse(), score->GetPulse());
    EXPECT_EQ(read->GetBasePosition(), (Vector2D{12.0f, -8.0f}));
    EXPECT_EQ(read->GetText(), "x3%");
    EXPECT_EQ(read->GetSuffix(), "%");
    // From the end: suffix "%" (4 + 1), prefix "x" (4 + 1), finished (1),
    // base (8), rate (4), pulse (4).
    EXPECT_EQ(ReadBack<ScoreText>(WithFieldFromEnd(bytes, 23, -1.0f)), nullptr);
    EXPECT_EQ(ReadBack<ScoreText>(WithFieldFromEnd(bytes, 27, 2.0f)), nullptr);
    EXPECT_EQ(ReadBack<ScoreText>(WithFieldFromEnd<std::uint8_t>(bytes, 11, 2)), nullptr);
    for (const float refused : {-1.0f, std::numeric_limits<float>::infinity()}) {
        score->SetRate(refused);
        EXPECT_EQ(score->GetRate(), 10.0f);
    }
}

}  // namespace
}  // namespace mygametest
