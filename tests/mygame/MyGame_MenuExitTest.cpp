#include "mygame/MyGame.h"
#include "mygame/MyGame_MenuExit.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "pal/PAL_Window.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Level.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace mygametest {
namespace {

constexpr os::VirtualKey kCloseKey = 'X';
// The sign stands at (50, 122) with 74 x 61 frames; it reads client pixels
// (its left edge, -24, lies outside the window).
const Vector2D kOnSign{50.0f, 122.0f};
const Vector2D kOffSign{300.0f, 122.0f};
const UiFrameRect kOpenFrame{-140.0f, 140.0f, 140.0f, -140.0f, 1.0f};
const UiFrameRect kClosedFrame{-450.0f, -260.0f, -450.0f, -260.0f, 0.0f};

// The title level's sign past its opening animation, the player free.
class MenuExitTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(EnterTitle());
        FindSign();
        // After a level change the mouse waits for a still frame.
        Step();
    }

    void FindSign() {
        m_sign = Find<MenuExit>("ExitSign");
        ASSERT_NE(m_sign, nullptr);
        ASSERT_NE(m_sign->GetPlayer(), nullptr);
        m_sign->SetCurrentAnimationIndex(MenuExit::kIdleAnimation, false);
        m_sign->GetPlayer()->SetControlsOn(true);
    }

    // The cursor over a client pixel for one frame.
    static void StepOver(const Vector2D& client) {
        PointAt(client - kHudCentre);
        StepRunningTest();
    }

    void OpenDialog() {
        StepOver(kOnSign);
        PressAndRelease();
        ASSERT_EQ(m_sign->GetState(), MenuExit::kDialogOpen);
    }

    // A click once the dialog's buttons have faded in: none takes a press
    // before.
    static void ClickShown(const Vector2D& hudPoint) {
        ASSERT_TRUE(StepUntilButtonsShown());
        ASSERT_TRUE(ClickAt(hudPoint));
    }

    void ExpectClosed() const {
        EXPECT_EQ(m_sign->GetState(), MenuExit::kIdle);
        EXPECT_TRUE(m_sign->GetPlayer()->GetControlsOn());
        EXPECT_EQ(m_sign->GetFrame()->GetTarget(), kClosedFrame);
        EXPECT_FALSE(m_sign->GetHeading()->GetVisible() || m_sign->GetHeading()->IsShowPending());
        for (LabeledButton* button : {m_sign->GetConfirmButton(), m_sign->GetCancelButton()}) {
            EXPECT_FALSE(button->GetVisible() || button->IsShowPending());
        }
    }

    MenuExit* m_sign = nullptr;
};

TEST_F(MenuExitTest, TheSignLightsInsideItsFullFrameOnlyWhileThePlayerMayMoveAndPastItsOpening) {
    EXPECT_EQ(m_sign->GetWidth(), 74.0f);
    EXPECT_EQ(m_sign->GetHeight(), 61.0f);
    struct Case {
        Vector2D client;
        bool controlsOn;
        int animation;
        bool lit;
    };
    const Case cases[] = {
        {{0.0f, 61.0f}, true, 1, true},   {{124.0f, 183.0f}, true, 1, true}, {{125.0f, 122.0f}, true, 1, false},
        {{50.0f, 60.0f}, true, 1, false}, {{50.0f, 184.0f}, true, 1, false}, {kOnSign, false, 1, false},
        {kOnSign, true, 0, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.client.x << ", " << test.client.y);
        StepOver(kOffSign);
        m_sign->SetCurrentAnimationIndex(test.animation, false);
        m_sign->GetPlayer()->SetControlsOn(test.controlsOn);
        StepOver(test.client);
        EXPECT_EQ(m_sign->GetState(), test.lit ? MenuExit::kHovered : MenuExit::kIdle);
        EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), test.lit ? MenuExit::kLitAnimation : test.animation);
    }
    // Leaving returns to the idle loop, playing.
    m_sign->SetCurrentAnimationIndex(MenuExit::kIdleAnimation, false);
    StepOver(kOnSign);
    StepOver(kOffSign);
    EXPECT_EQ(m_sign->GetCurrentAnimationIndex(), MenuExit::kIdleAnimation);
    EXPECT_TRUE(m_sign->IsPlaying() && m_sign->GetLoop());
}

TEST_F(MenuExitTest, PressAndReleaseOpenTheDialogAndXOrCancelCloseIt) {
    enum Close { kByX, kByCancel };
    for (const Close close : {kByX, kByCancel}) {
        SCOPED_TRACE(close);
        OpenDialog();
        EXPECT_FALSE(m_sign->GetPlayer()->GetControlsOn());
        EXPECT_EQ(m_sign->GetFrame()->GetTarget(), kOpenFrame);
        CenteredText* heading = m_sign->GetHeading();
        EXPECT_EQ(heading->GetText(), "Exit");
        EXPECT_EQ(heading->GetAnchor(), (Vector2D{0.0f, 100.0f}));
        EXPECT_TRUE(!heading->GetVisible() && heading->IsShowPending() && heading->GetOpacity() == -3.0f);
        struct Expected {
            LabeledButton* button;
            const char* label;
            float y;
        };
        for (const Expected& expected : {Expected{m_sign->GetConfirmButton(), "Confirm", 0.0f},
                                         Expected{m_sign->GetCancelButton(), "Cancel", -65.0f}}) {
            EXPECT_EQ(expected.button->GetLabel()->GetText(), expected.label);
            EXPECT_EQ(expected.button->GetPosition(), (Vector2D{0.0f, expected.y}));
            EXPECT_TRUE(!expected.button->GetVisible() && expected.button->IsShowPending() &&
                        expected.button->GetOpacity() == -3.0f);
        }
        // Open whatever the cursor does.
        for (const Vector2D& client : {kOffSign, kOnSign, kOffSign}) {
            StepOver(client);
            EXPECT_EQ(m_sign->GetState(), MenuExit::kDialogOpen);
        }
        EXPECT_TRUE(heading->GetVisible() && m_sign->GetCancelButton()->GetVisible());
        if (close == kByX) {
            Tap(kCloseKey);
        } else {
            ClickShown({0.0f, -65.0f});
        }
        ExpectClosed();
    }
}

// A press that goes down as the pointer reaches the sign (a tap) opens it;
// one begun off the sign and dragged onto it does not.
TEST_F(MenuExitTest, APressArrivingWithThePointerOpensTheDialog) {
    HoldLeftButton(true);
    StepOver(kOffSign);
    StepOver(kOnSign);
    HoldLeftButton(false);
    StepOver(kOnSign);
    EXPECT_NE(m_sign->GetState(), MenuExit::kDialogOpen) << "the press went down off the sign";

    StepOver(kOffSign);
    HoldLeftButton(true);
    StepOver(kOnSign);
    HoldLeftButton(false);
    StepOver(kOnSign);
    EXPECT_EQ(m_sign->GetState(), MenuExit::kDialogOpen);
}

TEST_F(MenuExitTest, XDoesNothingWhileTheSignShowsItsOpening) {
    OpenDialog();
    m_sign->SetCurrentAnimationIndex(0, false);
    Tap(kCloseKey);
    EXPECT_EQ(m_sign->GetState(), MenuExit::kDialogOpen);
    EXPECT_FALSE(m_sign->GetPlayer()->GetControlsOn());
}

TEST_F(MenuExitTest, ConfirmRequestsTheQuitSoTheLoopEndsAfterThatFrame) {
    OpenDialog();
    StepOver(kOffSign);
    EXPECT_TRUE(PAL::PumpMessages());
    ClickShown({0.0f, 0.0f});
    EXPECT_FALSE(PAL::PumpMessages());
}

// The level comes back with the dialog closed, the player free and the read
// buttons carrying their callbacks again.
TEST_F(MenuExitTest, ADialogSavedOpenComesBackClosedWithThePlayerFree) {
    OpenDialog();
    StepOver(kOffSign);
    const std::size_t hudObjects = Game().GetHudLayer()->GetGameObjectsCount();
    Game().RequestSave("exit");
    Step();
    const Tundra::Level* before = Game().GetCurrentLevel();
    Game().RequestLoad("exit");
    Step();
    ASSERT_NE(Game().GetCurrentLevel(), before);
    m_sign = Find<MenuExit>("ExitSign");
    ASSERT_NE(m_sign, nullptr);
    ExpectClosed();
    // The mouse waits for still frames after the level change.
    Step(2);
    EXPECT_EQ(Game().GetHudLayer()->GetGameObjectsCount(), hudObjects);
    OpenDialog();
    Step();
    ClickShown({0.0f, -65.0f});
    ExpectClosed();
}

TEST_F(MenuExitTest, WithoutAPlayerASignNeverLightsAndEndingTwiceFaultsNothing) {
    Find<MenuPlayer>("Player")->SetName("Someone");
    const Core::RefPtr<Core::Object> copy(m_sign->Clone());
    auto* clone = dynamic_cast<MenuExit*>(copy.Get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetFrame(), nullptr);
    clone->OnEnd();
    Game().GetWorldLayer()->AddGameObject(clone);
    Step();
    EXPECT_EQ(clone->GetPlayer(), nullptr);
    clone->SetCurrentAnimationIndex(MenuExit::kIdleAnimation, false);
    StepOver(kOnSign);
    EXPECT_EQ(clone->GetState(), MenuExit::kIdle);
    for (MenuExit* sign : {clone, m_sign}) {
        sign->OnEnd();
        sign->OnEnd();
        EXPECT_EQ(sign->GetFrame(), nullptr);
        EXPECT_EQ(sign->GetCancelButton(), nullptr);
    }
}

TEST_F(MenuExitTest, TheStreamRoundTripsAndRefusesWhatTheSignCannotHold) {
    // A sign never started: its own part ends with width, height, two
    // buttons, state, cursor, heading, player and the frame flag.
    const Core::RefPtr<MenuExit> bare = TUN_NEW(MenuExit);
    ExpectStreamRoundTrip(*bare);
    const StreamBytes bytes = SavedBytes(*bare);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<StreamBytes> refused = {WithFieldFromEnd(bytes, 25, nan), WithFieldFromEnd(bytes, 21, -1.0f),
                                              WithFieldFromEnd(bytes, 15, 4u), WithFieldFromEnd(bytes, 11, nan),
                                              WithFieldFromEnd(bytes, 1, std::uint8_t{2})};
    for (const StreamBytes& damaged : refused) {
        EXPECT_EQ(ReadBack<MenuExit>(damaged), nullptr);
    }
    EXPECT_NE(ReadBack<MenuExit>(WithFieldFromEnd(bytes, 15, 3u)), nullptr);
}

}  // namespace
}  // namespace mygametest
