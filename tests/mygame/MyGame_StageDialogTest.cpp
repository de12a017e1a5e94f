#include "mygame/MyGame.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_UiFrame.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_StageFixture.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace mygametest {
namespace {

constexpr os::VirtualKey kKeyD = 'D';
constexpr os::VirtualKey kKeyQ = 'Q';

class StageDialogTest : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        ASSERT_TRUE(EnterStage(0));
        Step(10);
    }

    std::string SlotLabel(std::size_t slot) {
        const LabeledButton* button = Stage()->GetDialogButton(slot);
        return button != nullptr && button->GetLabel() != nullptr ? std::string(button->GetLabel()->GetText()) : "";
    }

    std::vector<std::string> Labels() {
        std::vector<std::string> labels;
        for (std::size_t slot = 0; slot < GameLevel::kDialogSlots; ++slot) {
            labels.push_back(SlotLabel(slot));
        }
        return labels;
    }

    // Presses the button and lets the frame run.
    void Press(const char* label) {
        ASSERT_TRUE(PressButton(label)) << label;
        Step();
    }

    // A double click as a player makes one: a click on the button, and a
    // second where the cursor stands a tenth of a second later.
    void DoubleClick(const char* label) {
        ASSERT_TRUE(PressButton(label)) << label;
        Step(5);
        PressAndRelease();
        Step();
    }

    std::string SettingsLine(int index) const {
        std::ifstream file(DataFolder() + "/settings.sav");
        std::string line;
        for (int i = 0; i <= index && std::getline(file, line); ++i) {
        }
        return line;
    }
};

TEST_F(StageDialogTest, EscapeOpensThePauseDialogWithItsFourButtonsAndSilencesAllButTheHover) {
    Tap(os::VK_ESCAPE);
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kPause);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"exit to menu", "restart", "options", "resume"}));
    const float heights[] = {65.0f, -10.0f, -85.0f, -160.0f};
    for (std::size_t slot = 0; slot < GameLevel::kDialogSlots; ++slot) {
        EXPECT_EQ(Stage()->GetDialogButton(slot)->GetPosition(), (Vector2D{0.0f, heights[slot]}));
    }
    auto* title = Find<CenteredText>("EndGameDialog");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::string(title->GetText()), "pause");
    EXPECT_EQ(title->GetAnchor(), (Vector2D{0.0f, 150.0f}));
    EXPECT_EQ(Stage()->GetFrame()->GetTarget(), (UiFrameRect{-200.0f, 225.0f, 200.0f, -225.0f, 1.0f}));
    for (const Tundra::Sound* sound : Game().GetEffectSounds()) {
        EXPECT_EQ(sound->GetVolume(), sound == Globals().buttonHoverSound ? Game().GetVolume() : 0.0f);
    }

    Press("resume");
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_EQ(Stage()->GetDialogButton(0), nullptr);
    // Opened afresh, the frame starts from the large rectangle.
    Stage()->ShowPauseDialog(true);
    EXPECT_EQ(Stage()->GetFrame()->GetCurrent(), (UiFrameRect{-300.0f, 325.0f, 300.0f, -325.0f, 0.0f}));
}

TEST_F(StageDialogTest, RestartAndExitAskForConfirmationFirst) {
    Tap(os::VK_ESCAPE);
    Press("restart");
    EXPECT_EQ(SlotLabel(1), "confirm?");
    ASSERT_TRUE(LeaveButton(Stage()->GetDialogButton(1)));
    EXPECT_EQ(SlotLabel(1), "restart");
    Press("restart");
    ASSERT_TRUE(PressButton("confirm?"));
    // The fade-out takes nine frames, the switch one more.
    Step(11);
    ASSERT_NE(Stage(), nullptr);
    EXPECT_LT(Stage()->GetDistance(), 0.1f);
    EXPECT_EQ(Game().GetProfile().currentStage, 0);

    Step(10);
    Tap(os::VK_ESCAPE);
    Press("exit to menu");
    EXPECT_EQ(SlotLabel(0), "confirm?");
    ASSERT_TRUE(PressButton("confirm?"));
    ASSERT_TRUE(RunUntil([this] { return Game().GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel; }, 12));
}

TEST_F(StageDialogTest, BackFromTheOptionsKeepsTheFrameWhereItStands) {
    Tap(os::VK_ESCAPE);
    UiFrame& frame = *Stage()->GetFrame();
    Press("options");
    const char* display = Game().IsFullScreen() ? "Windowed" : "FullScreen";
    EXPECT_EQ(Labels(), (std::vector<std::string>{"controls", "volume", display, "back"}));
    // Standing still there, so that the click's frames glide it nowhere.
    frame.SetTargetRect(-210.0f, 230.0f, 210.0f, -230.0f, 0.9f);
    frame.SetRect(-210.0f, 230.0f, 210.0f, -230.0f, 0.9f);
    ASSERT_TRUE(PressButton("back"));
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kPause);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"exit to menu", "restart", "options", "resume"}));
    EXPECT_EQ(frame.GetCurrent(), (UiFrameRect{-210.0f, 230.0f, 210.0f, -230.0f, 0.9f}));
}

TEST_F(StageDialogTest, AKeyIsReboundUnlessAnotherActionHasItAndBackWritesIt) {
    Tap(os::VK_ESCAPE);
    Press("options");
    Press("controls");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Left - a", "Right - d", "Jump - w", "back"}));
    Press("Left - a");
    EXPECT_EQ(SlotLabel(0), "?");
    Tap(kKeyD);
    Step();
    EXPECT_EQ(SlotLabel(0), "?");
    EXPECT_EQ(Globals().leftKeyId, 53);
    Tap(kKeyQ);
    Step();
    EXPECT_EQ(SlotLabel(0), "Left - q");
    EXPECT_EQ(Globals().leftKeyId, 69);
    EXPECT_EQ(Stage()->GetKeyCapture(), GameLevel::kNoCapture);
    Press("back");
    EXPECT_EQ(SettingsLine(0), "69");

    // A second press gives the binding back; leaving the button does too.
    Press("controls");
    Press("Right - d");
    Press("?");
    EXPECT_EQ(SlotLabel(1), "Right - d");
    EXPECT_EQ(Stage()->GetKeyCapture(), GameLevel::kNoCapture);
    Press("Jump - w");
    ASSERT_TRUE(LeaveButton(Stage()->GetDialogButton(2)));
    EXPECT_EQ(SlotLabel(2), "Jump - w");
    EXPECT_EQ(Stage()->GetKeyCapture(), GameLevel::kNoCapture);
}

TEST_F(StageDialogTest, EscapeWhileAKeyWaitsEndsTheCapture) {
    Tap(os::VK_ESCAPE);
    Press("options");
    Press("controls");
    Press("Left - a");
    Tap(os::VK_ESCAPE);
    EXPECT_EQ(Stage()->GetKeyCapture(), GameLevel::kNoCapture);
    EXPECT_EQ(Stage()->GetDialogButton(0), nullptr);
    Tap(kKeyQ);
    Step();
    EXPECT_EQ(Globals().leftKeyId, 53);
}

TEST_F(StageDialogTest, MuteSwitchesItsLabelAndTheHoverSoundAndBackWritesIt) {
    Tap(os::VK_ESCAPE);
    Press("options");
    Press("volume");
    ASSERT_NE(Globals().buttonHoverSound, nullptr);
    Press("mute");
    EXPECT_EQ(SlotLabel(0), "unmute");
    EXPECT_TRUE(Game().IsMuted());
    EXPECT_EQ(Globals().buttonHoverSound->GetVolume(), 0.0f);
    Press("unmute");
    EXPECT_EQ(SlotLabel(0), "mute");
    EXPECT_FALSE(Game().IsMuted());
    EXPECT_EQ(Globals().buttonHoverSound->GetVolume(), Game().GetVolume());
    Press("mute");
    Press("back");
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kOptions);
    EXPECT_EQ(SettingsLine(4), "1");
}

// The page a click opens has a button where the clicked one was, still
// fading in: the second click of a double click takes nothing there.
TEST_F(StageDialogTest, ADoubleClickOpensTheNextPageAndPressesNothingOnIt) {
    Tap(os::VK_ESCAPE);
    const bool fullScreen = Game().IsFullScreen();
    DoubleClick("options");
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kOptions);
    EXPECT_EQ(Game().IsFullScreen(), fullScreen);
    DoubleClick("back");
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kPause);
    EXPECT_NE(Globals().paused, 0);
}

TEST_F(StageDialogTest, TheDisplayToggleTwiceGivesBackModeAndLabel) {
    Tap(os::VK_ESCAPE);
    Press("options");
    const bool fullScreen = Game().IsFullScreen();
    const std::string label = SlotLabel(2);
    ASSERT_TRUE(PressButton(Stage()->GetDialogButton(2)));
    ASSERT_TRUE(PressButton(Stage()->GetDialogButton(2)));
    EXPECT_EQ(Game().IsFullScreen(), fullScreen);
    EXPECT_EQ(SlotLabel(2), label);
}

}  // namespace
}  // namespace mygametest
