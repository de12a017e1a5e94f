#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_Templates.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_TestGame.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace mygametest {
namespace {

class WidgetStandInTest : public MyGameTest {
protected:
    // A stage whose HUD layer places the button, centred-text and score-text
    // templates (or none of them); the game holds them.
    void EnterStage(bool withTemplates = true) {
        if (withTemplates) {
            Content().OnBuild(2, 0, [](const LayerBuild& build) {
                PlaceSprite<LabeledButton>(build, kTemplateNames[kButtonTemplate]);
                PlaceTextTemplate<CenteredText>(build, kCenteredTextTemplate);
                PlaceTextTemplate<ScoreText>(build, kScoreTextTemplate);
            });
        }
        StartGame();
        Step();
        ASSERT_TRUE(GoToLevel(2));
        if (Game().GetTemplate(kButtonTemplate) == nullptr) {
            Game().CaptureTemplates();
        }
    }

    template <class T>
    static void PlaceTextTemplate(const LayerBuild& build, std::uint32_t slot) {
        auto* text = TUN_NEW(T, "", "");
        text->SetName(kTemplateNames[slot]);
        build.layer.AddGameObject(text);
    }
};

TEST_F(WidgetStandInTest, AButtonIsLabelledAtItsPlaceAndRunsItsCallbacks) {
    EnterStage();
    int clicks = 0;
    int leaves = 0;
    LabeledButton* capture = MakeKeyCaptureButton({10.0f, -70.0f}, "Left - a", 0, [&] { ++clicks; }, [&] { ++leaves; });
    LabeledButton* plain = MakeLabeledButton({0.0f, 65.0f}, "resume", 0, [&] { ++clicks; });
    ASSERT_NE(capture, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(capture->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(capture->GetPosition(), (Vector2D{10.0f, -70.0f}));
    ASSERT_NE(capture->GetLabel(), nullptr);
    EXPECT_EQ(capture->GetLabel()->GetText(), "Left - a");
    EXPECT_EQ(capture->GetLabel()->GetAnchor(), (Vector2D{10.0f, -70.0f}));
    EXPECT_EQ(capture->GetOpacity(), 0.0f);
    EXPECT_TRUE(capture->IsScreenSpace());

    EXPECT_EQ(FindButton("resume"), plain);
    EXPECT_TRUE(PressButton("Left - a"));
    EXPECT_TRUE(LeaveButton(capture));
    EXPECT_FALSE(LeaveButton(plain));
    EXPECT_TRUE(PressButton(plain));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(leaves, 1);

    plain->SetVisible(false);
    EXPECT_FALSE(plain->GetLabel()->GetVisible());
    EXPECT_FALSE(PressButton(plain));
    EXPECT_EQ(FindButton("resume"), nullptr);
}

TEST_F(WidgetStandInTest, AButtonThatDestroysItselfTakesItsLabelAlong) {
    EnterStage();
    LabeledButton* button = nullptr;
    button = MakeLabeledButton({0.0f, 0.0f}, "exit to menu", 0, [&] {
        button->Destroy();
        MakeLabeledButton({0.0f, 0.0f}, "confirm?", 0, [] {});
    });
    ASSERT_NE(button, nullptr);
    CenteredText* label = button->GetLabel();
    EXPECT_TRUE(PressButton("exit to menu"));
    EXPECT_TRUE(label->IsDestroyRequested());
    EXPECT_EQ(FindButton("exit to menu"), nullptr);
    Step();
    EXPECT_NE(FindButton("confirm?"), nullptr);
}

TEST_F(WidgetStandInTest, WithoutTheirTemplatesNoWidgetIsMade) {
    EnterStage(false);
    EXPECT_EQ(MakeLabeledButton({0.0f, 0.0f}, "resume", 0, [] {}), nullptr);
    EXPECT_EQ(MakeKeyCaptureButton({0.0f, 0.0f}, "Jump - w", 0, [] {}, [] {}), nullptr);
    EXPECT_EQ(CreateCenteredText({0.0f, 0.0f}, "defeat"), nullptr);
    EXPECT_EQ(CreateScoreText({0.0f, 0.0f}, 0, 5, 10.0f, "", ""), nullptr);
}

TEST_F(WidgetStandInTest, AScoreTextShowsPrefixNumberAndSuffix) {
    EnterStage();
    ScoreText* score = CreateScoreText({-40.0f, 50.0f}, 5, 90, 10.0f, "Kill rate: ", "%");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->GetText(), "Kill rate: 5%");
    EXPECT_EQ(score->GetTargetValue(), 90);
    EXPECT_EQ(score->GetBasePosition(), (Vector2D{-40.0f, 50.0f}));
    score->SetShownValue(score->GetTargetValue() - 1);
    EXPECT_EQ(score->GetText(), "Kill rate: 89%");
}

TEST_F(WidgetStandInTest, TheStagesSeamsAnswerAtOnce) {
    StartGame();
    DistanceUI distance(TestAnimations(1));
    distance.SetActive(true);
    // The warning plays over the strip's later updates.
    EXPECT_TRUE(distance.IsActive());
    EXPECT_FALSE(distance.IsWarningShown());

    DialogText dialog("", "");
    dialog.SetLine("Long ago, the ember line burned.");
    // Typed over later updates, or shown whole by a skip.
    EXPECT_FALSE(dialog.ShowWholeLine());
    EXPECT_EQ(dialog.GetText(), "Long ago, the ember line burned.");
    EXPECT_TRUE(dialog.ShowWholeLine());
}

TEST_F(WidgetStandInTest, FadingToALevelChangesToItAndIgnoresALaterRequest) {
    EnterStage();
    const Core::RefPtr<FadeTransition> fade = TUN_NEW(FadeTransition, TestAnimations(1));
    // Requests wait for the fade-in, and the change for the fade-out: nine
    // frames each.
    const auto fadeNineFrames = [&] {
        for (int i = 0; i < 9; ++i) {
            fade->Update(1.0f / 60.0f);
        }
    };
    fadeNineFrames();
    fade->FadeToLevel(1);
    fade->FadeToLevel(2);
    EXPECT_EQ(fade->GetTargetLevel(), 1u);
    fadeNineFrames();
    Step(2);
    EXPECT_EQ(Game().GetCurrentLevelIndex(), 1u);
}

// What the stage reads back from a saved widget comes back whole; a stream
// cut anywhere fails without an object.
TEST_F(WidgetStandInTest, SavedWidgetsReadBackAndCutStreamsFail) {
    EnterStage();
    LabeledButton* button = MakeKeyCaptureButton({0.0f, -85.0f}, "Jump - w", 0, [] {}, [] {});
    ScoreText* score = CreateScoreText({0.0f, 0.0f}, 3, 7, 10.0f, "+", " drops");
    const Core::RefPtr<DialogText> dialog = TUN_NEW(DialogText, "", "");
    dialog->SetLine("five lines");
    const Core::RefPtr<Quorvex> mascot = TUN_NEW(Quorvex, TestAnimations(1));
    const std::vector<const Core::Object*> widgets{button, score, dialog.Get(), mascot.Get()};
    for (const Core::Object* widget : widgets) {
        SCOPED_TRACE(widget->GetType());
        Core::MemoryFile first;
        first.WriteObject(widget);
        Core::MemoryFile reader(first.GetData(), first.GetSize());
        const Core::RefPtr<Core::Object> read(reader.ReadObject());
        ASSERT_NE(read, nullptr);
        Core::MemoryFile second;
        second.WriteObject(read.Get());
        EXPECT_EQ(std::vector<std::uint8_t>(first.GetData(), first.GetData() + first.GetSize()),
                  std::vector<std::uint8_t>(second.GetData(), second.GetData() + second.GetSize()));
        for (std::uint32_t size = 0; size < first.GetSize(); ++size) {
            Core::MemoryFile cut(first.GetData(), size);
            EXPECT_EQ(cut.ReadObject(), nullptr) << size;
        }
    }
    Core::MemoryFile saved;
    saved.WriteObject(button);
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    const Core::RefPtr<LabeledButton> read(reader.ReadObjectAs<LabeledButton>());
    ASSERT_NE(read, nullptr);
    ASSERT_NE(read->GetLabel(), nullptr);
    EXPECT_EQ(read->GetLabel()->GetText(), "Jump - w");
    EXPECT_TRUE(read->HasLeaveCallback());
}

}  // namespace
}  // namespace mygametest
