#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_TitleSun.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_TestContent.h"
#include "support/MyGame_WidgetFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace mygametest {
namespace {


using SkyTest = MyGameTest;

TEST_F(SkyTest, TheSkyShowsTheAnimationOfTheCurrentStagesTheme) {
    StartGame();
    for (std::uint8_t stage : {0, 3, 6}) {
        Game().GetProfile().currentStage = stage;
        const Core::RefPtr<SkyGradient> sky = TUN_NEW(SkyGradient, TestAnimations(3));
        sky->OnStart();
        EXPECT_EQ(sky->GetCurrentAnimationIndex(), GetLevelInfo(stage).Theme()) << int{stage};
    }
    EXPECT_EQ(GetLevelInfo(6).Theme(), 2);
}

// Where the path puts the sun after the follower has advanced by dt.
Vector2D AlongPath(const PathFollower& path, float t) {
    return path.curve->GetPosition(path.curve->LookupSampledValue(t));
}

TEST(TitleSunTest, TheSunRisesAtItsSpeedStopsAtTheEndAndSetsOnceSwitched) {
    const Core::RefPtr<TitleSun> sun = TUN_NEW(TitleSun, TestAnimations(1));
    const PathFollower& rise = sun->GetStartPath();
    ASSERT_TRUE(rise.HasPath() && sun->GetEndPath().HasPath());
    sun->OnStart();
    sun->Update(0.1f);
    const float t = 470.0f * 0.1f / rise.curve->GetLength() + 0.0f;
    EXPECT_EQ(rise.t, t);
    EXPECT_EQ(sun->GetPosition(), AlongPath(rise, t));
    sun->Update(1000.0f);
    EXPECT_EQ(rise.t, 1.0f);
    EXPECT_EQ(sun->GetPosition(), AlongPath(rise, 1.0f));

    sun->SetUseEndPath(true);
    sun->Update(0.1f);
    const PathFollower& set = sun->GetEndPath();
    EXPECT_EQ(rise.t, 1.0f);
    EXPECT_EQ(set.t, 470.0f * 0.1f / set.curve->GetLength() + 0.0f);
    EXPECT_EQ(sun->GetPosition(), AlongPath(set, set.t));
}

TEST(TitleSunTest, WithoutACurveTheSunStaysWhereItIs) {
    const Core::RefPtr<TitleSun> sun = static_cast<TitleSun*>(CreateObjectByName("TitleSun"));
    ASSERT_NE(sun, nullptr);
    sun->SetPosition({5.0f, 6.0f});
    sun->Update(0.5f);
    sun->SetUseEndPath(true);
    sun->Update(0.5f);
    EXPECT_EQ(sun->GetPosition(), (Vector2D{5.0f, 6.0f}));
}

// One curve object shared by two suns comes back as one shared object; a
// curve reference naming another class refuses the read.
TEST(TitleSunTest, SharedCurvesReadBackSharedAndACurveOfAnotherClassIsRefused) {
    const Core::RefPtr<TitleSun> sun = TUN_NEW(TitleSun, TestAnimations(1));
    const Core::RefPtr<TitleSun> copy(static_cast<TitleSun*>(sun->Clone()));
    ASSERT_EQ(copy->GetStartPath().curve, sun->GetStartPath().curve);
    sun->Update(0.25f);
    Core::MemoryFile saved;
    saved.WriteObject(sun.Get());
    saved.WriteObject(copy.Get());
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    const Core::RefPtr<TitleSun> first(reader.ReadObjectAs<TitleSun>());
    const Core::RefPtr<TitleSun> second(reader.ReadObjectAs<TitleSun>());
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_NE(first->GetStartPath().curve, sun->GetStartPath().curve);
    EXPECT_EQ(first->GetStartPath().curve, second->GetStartPath().curve);
    EXPECT_EQ(first->GetEndPath().curve, second->GetEndPath().curve);
    EXPECT_EQ(first->GetStartPath().t, sun->GetStartPath().t);
    EXPECT_EQ(first->GetStartPath().curve->GetLength(), sun->GetStartPath().curve->GetLength());

    Core::MemoryFile wrong;
    sun->Tundra::Sprite::Save(wrong);
    wrong << Core::RefPtr<Tundra::Sprite>(TUN_NEW(Tundra::Sprite, TestAnimations(1)));
    sun->GetStartPath().Save(wrong);
    const PathFollower before = copy->GetStartPath();
    Core::MemoryFile wrongReader(wrong.GetData(), wrong.GetSize());
    copy->Load(wrongReader);
    EXPECT_TRUE(wrongReader.HasFailed());
    EXPECT_EQ(copy->GetStartPath().curve, before.curve);
    EXPECT_EQ(copy->GetStartPath().t, before.t);
}

class QuorvexTest : public WidgetTest {
protected:
    // Updates until the mascot destroys itself: the highest point on the
    // way, and whether it was at or above the line before every update.
    static std::pair<float, bool> FlyUntilGone(Quorvex& mascot) {
        float highest = mascot.GetPositionY();
        bool aboveUntilGone = true;
        for (int n = 0; n < 2000 && !mascot.IsDestroyRequested(); ++n) {
            aboveUntilGone = aboveUntilGone && mascot.GetPositionY() >= -100.0f;
            highest = std::max(highest, mascot.GetPositionY());
            mascot.Update(kDt);
        }
        return {highest, aboveUntilGone};
    }
};

// Let go, the companion leaps straight up and falls, spinning, and the
// stage forgets it once it is gone; another mascot's fall leaves the
// stage's link alone.
TEST_F(QuorvexTest, ALetGoCompanionLeapsSpinsFallsAndIsForgottenByTheStage) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    const Core::RefPtr<Quorvex> companion(stage.GetCompanion());
    ASSERT_NE(companion, nullptr);
    ASSERT_NE(companion->GetMount(), nullptr);
    companion->Update(kDt);
    EXPECT_FALSE(companion->IsTriggered());

    const Core::RefPtr<Quorvex> stray = TUN_NEW(Quorvex, TestAnimations(1));
    stray->SetPosition({0.0f, -99.0f});
    FlyUntilGone(*stray);
    EXPECT_TRUE(stray->IsDestroyRequested());
    EXPECT_EQ(stage.GetCompanion(), companion.Get());

    companion->GetMount()->UnMount(companion.Get());
    companion->SetPosition({100.0f, 0.0f});
    Core::GameRandomGenerator().Seed(7);
    const float landing = RandomFloat(-75.0f, 75.0f);
    Core::GameRandomGenerator().Seed(7);
    companion->Update(kDt);
    ASSERT_TRUE(companion->IsTriggered());
    EXPECT_EQ(companion->GetEndPoint(), (Vector2D{100.0f, landing}));
    EXPECT_EQ(companion->GetControlPoint(), (Vector2D{100.0f, std::max(0.0f, landing) + std::fabs(landing) * 0.5f}));
    EXPECT_EQ(companion->GetAngle(), 0.0f);
    companion->Update(kDt);
    EXPECT_EQ(companion->GetAngle(), 0.0f - 1000.0f * kDt);

    const auto [highest, aboveUntilGone] = FlyUntilGone(*companion);
    EXPECT_GT(highest, std::max(0.0f, landing));
    EXPECT_TRUE(aboveUntilGone);
    EXPECT_LT(companion->GetPositionY(), -100.0f);
    EXPECT_EQ(stage.GetCompanion(), nullptr);
}

TEST(QuorvexAloneTest, WithoutAStageAMascotBelowTheLineLeapsAndGoes) {
    const Core::RefPtr<Quorvex> mascot = TUN_NEW(Quorvex, TestAnimations(1));
    mascot->SetPosition({0.0f, -150.0f});
    mascot->Update(kDt);
    EXPECT_TRUE(mascot->IsTriggered() && mascot->IsDestroyRequested());
    const Core::RefPtr<Quorvex> copy(static_cast<Quorvex*>(mascot->Clone()));
    EXPECT_FALSE(copy->IsTriggered());
    EXPECT_EQ(copy->GetAngle(), 0.0f);
}

}  // namespace
}  // namespace mygametest
