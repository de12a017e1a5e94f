#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_TestGame.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace mygametest {
namespace {


bool SameColour(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

class HpBarTest : public MyGameTest {
protected:
    void SetUp() override {
        MyGameTest::SetUp();
        StartGame();
        Step(2);
    }

    // A bar on a 200 x 8 sheet of its own, started in the HUD layer at x 0.
    HpBar& AddBar(const std::string& sheet) {
        m_textures->SetSize(sheet, 200, 8);
        const std::vector<Core::RefPtr<Tundra::SpriteAnimation>> animations{
            TUN_NEW(Tundra::SpriteAnimation, Core::String(sheet.c_str()), 1, 1, std::vector<float>{1.0f})};
        auto* bar = TUN_NEW(HpBar, animations);
        Game().GetHudLayer()->AddGameObject(bar);
        Step();
        return *bar;
    }
};

TEST_F(HpBarTest, TheBarIsCroppedFromTheRightAndTintedByTheHealthLeft) {
    HpBar& bar = AddBar("test/bar.png");
    EXPECT_EQ(bar.GetFullWidth(), 200.0f);
    EXPECT_EQ(bar.GetFrameWidth(0), 200);
    struct Case {
        float health;
        float fraction;
        int width;
        float x;
    };
    // Above 1 the fraction is kept, but the bar is never drawn wider than
    // its cell.
    for (const Case& c : {Case{0.5f, 0.5f, 100, -50.0f}, Case{-0.5f, 0.0f, 0, -100.0f}, Case{1.7f, 1.7f, 200, 0.0f},
                          Case{0.333f, 0.333f, 66, 0.333f * 200.0f / 2.0f - 100.0f}}) {
        SCOPED_TRACE(c.health);
        bar.SetHealth(c.health);
        EXPECT_EQ(bar.GetFraction(), c.fraction);
        EXPECT_EQ(bar.GetFrameWidth(0), c.width);
        EXPECT_EQ(bar.GetPositionX(), c.x);
        const float f = c.fraction;
        EXPECT_TRUE(SameColour(bar.GetModulationColor(),
                               {std::min(2.0f * (1.0f - f), 1.0f), std::min(2.0f * f, 1.0f), 0.0f, 1.0f}));
    }
    bar.SetHealth(0.5f);
    EXPECT_TRUE(SameColour(bar.GetModulationColor(), {1.0f, 1.0f, 0.0f, 1.0f}));
    for (const float refused : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        bar.SetHealth(refused);
        EXPECT_EQ(bar.GetFraction(), 0.5f);
        EXPECT_EQ(bar.GetFrameWidth(0), 100);
    }
}

TEST_F(HpBarTest, BarsWithAnimationsOfTheirOwnCropIndependently) {
    HpBar& first = AddBar("test/bar.png");
    HpBar& second = AddBar("test/bar.png");
    first.SetHealth(0.25f);
    EXPECT_EQ(first.GetFrameWidth(0), 50);
    EXPECT_EQ(second.GetFrameWidth(0), 200);
}

TEST_F(HpBarTest, ASavedBarReadsBackCroppedAndRefusesWhatItCouldNotHold) {
    HpBar& bar = AddBar("test/bar.png");
    bar.SetHealth(0.5f);
    ExpectStreamRoundTrip(bar);
    const StreamBytes bytes = SavedBytes(bar);
    const Core::RefPtr<HpBar> read = ReadBack<HpBar>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetFraction(), 0.5f);
    EXPECT_EQ(read->GetFullWidth(), 200.0f);
    EXPECT_EQ(read->GetBaseX(), 0.0f);
    EXPECT_EQ(read->GetFrameWidth(0), 100);
    // Fraction, full width: negative; base x: not finite.
    EXPECT_EQ(ReadBack<HpBar>(WithFieldFromEnd(bytes, 12, -0.5f)), nullptr);
    EXPECT_EQ(ReadBack<HpBar>(WithFieldFromEnd(bytes, 8, -1.0f)), nullptr);
    EXPECT_EQ(ReadBack<HpBar>(WithFieldFromEnd(bytes, 4, std::numeric_limits<float>::infinity())), nullptr);
}

class FadeTest : public MyGameTest {
protected:
    // The fade's own updates at exactly 1/60 s, each checked against the
    // approach it makes; whether the level change was asked for after each.
    void ExpectApproach(FadeTransition& fade, float target, int updates) {
        for (int i = 1; i <= updates; ++i) {
            const float alpha = fade.GetAlpha();
            const float expected = alpha + (target - alpha) * kDt * 12.0f;
            fade.Update(kDt);
            if (i < updates) {
                EXPECT_EQ(fade.GetAlpha(), expected) << i;
                EXPECT_EQ(fade.GetOpacity(), expected) << i;
                EXPECT_FALSE(Game().IsLevelChangePending()) << i;
            }
        }
        EXPECT_EQ(fade.GetAlpha(), target);
        EXPECT_EQ(fade.GetOpacity(), target);
    }
};

TEST_F(FadeTest, TheLevelFadesInThenOutSilencedWithoutItsCursorsAndChanges) {
    for (const bool withCursors : {true, false}) {
        SCOPED_TRACE(withCursors);
        if (withCursors) {
            Content().ThenBuild(0, 0, [](const LayerBuild& build) {
                for (const char* name : {"RightCursor", "LeftCursor", "MainCursor"}) {
                    PlaceSprite<Tundra::Sprite>(build, name);
                }
            });
        }
        StartGame();
        Step();
        Game().LoadSoundEffects();
        const Core::RefPtr<FadeTransition> fade = TUN_NEW(FadeTransition, TestAnimations(1));
        EXPECT_EQ(fade->GetAlpha(), 1.0f);
        // Requests during the fade-in are ignored.
        fade->FadeToLevel(2);
        ExpectApproach(*fade, 0.0f, 9);
        EXPECT_EQ(fade->GetState(), FadeTransition::kIdle);
        EXPECT_EQ(fade->GetTargetLevel(), 0u);

        fade->FadeToLevel(2);
        fade->FadeToLevel(1);
        EXPECT_EQ(fade->GetState(), FadeTransition::kFadingOut);
        EXPECT_EQ(fade->GetTargetLevel(), 2u);
        ASSERT_FALSE(Game().GetEffectSounds().empty());
        for (const Tundra::Sound* sound : Game().GetEffectSounds()) {
            EXPECT_EQ(sound->GetVolume(), 0.0f);
        }
        EXPECT_EQ(Game().GetVolume(), 0.8f);
        for (const char* name : {"RightCursor", "LeftCursor", "MainCursor"}) {
            if (const auto* cursor = Tundra::FindObject<Tundra::Sprite>(name)) {
                EXPECT_FALSE(cursor->GetVisible()) << name;
            }
        }
        ExpectApproach(*fade, 1.0f, 9);
        EXPECT_TRUE(Game().IsLevelChangePending());
        // Asked again while the level stays.
        fade->Update(kDt);
        EXPECT_EQ(fade->GetAlpha(), 1.0f);
        EXPECT_EQ(fade->GetTargetLevel(), 2u);
        for (int frame = 0; frame < 4 && Game().GetCurrentLevelIndex() != 2u; ++frame) {
            Step();
        }
        EXPECT_EQ(Game().GetCurrentLevelIndex(), 2u);
        EndGame();
    }
}

TEST_F(FadeTest, ASavedFadeReadsBackMidWayAndRefusesAnUnknownState) {
    StartGame();
    Step();
    const Core::RefPtr<FadeTransition> fade = TUN_NEW(FadeTransition, TestAnimations(1));
    fade->Update(kDt);
    ExpectStreamRoundTrip(*fade);
    const StreamBytes bytes = SavedBytes(*fade);
    const Core::RefPtr<FadeTransition> read = ReadBack<FadeTransition>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetAlpha(), fade->GetAlpha());
    EXPECT_EQ(read->GetState(), FadeTransition::kFadingIn);
    EXPECT_EQ(ReadBack<FadeTransition>(WithFieldFromEnd<std::uint32_t>(bytes, 8, 3)), nullptr);
    EXPECT_EQ(ReadBack<FadeTransition>(WithFieldFromEnd(bytes, 12, std::numeric_limits<float>::quiet_NaN())),
              nullptr);
}

using BarAndFadePixelTest = WidgetPixelTest;

// The title level's bar on a white sheet, its frame hidden: the left half
// shows the tint, the right what lies behind the bar.
TEST_F(BarAndFadePixelTest, AHalfBarShowsItsTintLeftAndTheBackgroundRight) {
    ASSERT_TRUE(Resources().WriteFlatSheet("PlayerHPColor", {{255, 255, 255, 255}}));
    ASSERT_TRUE(EnterTitle());
    Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
    Find<Tundra::Sprite>("PlayerHPBar")->SetVisible(false);
    HpBar& bar = *Find<HpBar>("PlayerHPBarColor");
    const float quarter = bar.GetFullWidth() / 4.0f;
    const Vector2D left{bar.GetBaseX() - quarter, bar.GetPositionY()};
    const Vector2D right{bar.GetBaseX() + quarter, bar.GetPositionY()};
    bar.SetVisible(false);
    Step(2);
    const testsupport::Rgba background = PixelAt(right);
    bar.SetVisible(true);
    bar.SetHealth(0.5f);
    Step(2);
    EXPECT_TRUE(IsNear(PixelAt(left), {255, 255, 0, 255}));
    EXPECT_TRUE(IsNear(PixelAt(right), background));
}

TEST_F(BarAndFadePixelTest, TheFadeAtFullAlphaLeavesEveryPixelBlack) {
    ASSERT_TRUE(EnterTitle());
    FadeTransition& fade = *Find<FadeTransition>("FadeTransition");
    ASSERT_TRUE(RunUntil([&] { return fade.GetState() == FadeTransition::kIdle; }, 12));
    fade.FadeToLevel(1);
    ASSERT_TRUE(RunUntil([&] { return Game().IsLevelChangePending(); }, 12));
    EXPECT_EQ(fade.GetAlpha(), 1.0f);
    for (const Vector2D& point : {Vector2D{0.0f, 0.0f}, Vector2D{-500.0f, -370.0f}, Vector2D{500.0f, 370.0f},
                                  Vector2D{-437.0f, 349.0f}, Vector2D{300.0f, -200.0f}}) {
        EXPECT_TRUE(IsNear(PixelAt(point), {0, 0, 0, 255})) << point.x << ", " << point.y;
    }
}

}  // namespace
}  // namespace mygametest
