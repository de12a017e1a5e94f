#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_DialogArrow.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_Random.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mygametest {
namespace {


class TextTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(EnterTitle());
        // The level's first frame runs no update.
        Step();
    }

    // A started story text outside the level, driven by the test's own
    // updates, and a hidden arrow in the HUD layer for it to find.
    void AddDialog() {
        m_dialog = TUN_NEW(DialogText, "", "");
        m_dialog->OnStart();
        m_arrow = TUN_NEW(DialogArrow, TestAnimations(1, 1));
        m_arrow->SetName("DialogArrow");
        m_arrow->SetVisible(false);
        Game().GetHudLayer()->AddGameObject(m_arrow.Get());
    }

    Core::RefPtr<DialogText> m_dialog;
    Core::RefPtr<DialogArrow> m_arrow;
};

TEST_F(TextTest, ACentredTextCentresItsFirstRowOnItsAnchor) {
    CenteredText* text = CreateCenteredText({0.0f, 0.0f}, "Hello");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetPosition(), (Vector2D{-40.0f, -9.0f}));
    text->SetText("Hello World");
    EXPECT_EQ(text->GetPosition(), (Vector2D{-87.0f, -9.0f}));
    EXPECT_EQ(text->GetTextLength(), 11u);
    text->SetText("Hello\nWorld, wide world");
    EXPECT_EQ(text->GetPosition(), (Vector2D{-40.0f, -9.0f})) << "a second row is not measured";
    text->SetScale(2.0f, 2.0f);
    text->SetText("Hello");
    EXPECT_EQ(text->GetPosition(), (Vector2D{-83.0f, -9.0f}));

    // Made without an anchor, a text takes its position at the first text.
    const Core::RefPtr<CenteredText> placed = TUN_NEW(CenteredText, "", "");
    placed->SetPosition({100.5f, 20.0f});
    placed->SetText("ab");
    EXPECT_EQ(placed->GetAnchor(), (Vector2D{100.5f, 20.0f}));
    EXPECT_EQ(placed->GetPosition(), (Vector2D{85.0f, 11.0f}));

    const Core::RefPtr<CenteredText> clone(static_cast<CenteredText*>(text->Clone()));
    EXPECT_EQ(clone->GetAnchor(), (Vector2D{0.0f, 0.0f}));
    EXPECT_FALSE(clone->IsShowPending());
}

TEST_F(TextTest, MenuTextsShowWhenPendingAndFadeIn) {
    FadingText* fading = CreateFadingText(153.0f, -54.0f, "Damage");
    ASSERT_NE(fading, nullptr);
    EXPECT_EQ(fading->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(fading->GetPosition(), (Vector2D{153.0f, -54.0f}));
    EXPECT_EQ(fading->GetText(), "Damage");
    EXPECT_TRUE(fading->GetVisible());
    for (int update = 1; update <= 16; ++update) {
        fading->Update(kDt);
        EXPECT_EQ(fading->GetOpacity() < 0.0f, update < 16) << update;
    }

    CenteredText* centred = CreateCenteredText({0.0f, 0.0f}, "Levels");
    ASSERT_NE(centred, nullptr);
    for (Tundra::Text* text : std::vector<Tundra::Text*>{fading, centred}) {
        text->SetVisible(false);
        text->SetOpacity(-3.0f);
    }
    fading->SetShowPending(true);
    centred->SetShowPending(true);
    fading->Update(kDt);
    centred->Update(kDt);
    EXPECT_TRUE(fading->GetVisible());
    EXPECT_TRUE(centred->GetVisible());
    EXPECT_FALSE(fading->IsShowPending());
    EXPECT_EQ(centred->GetOpacity(), -3.0f + 4.0f * kDt * 5.0f);

    const Core::RefPtr<FadingText> clone(static_cast<FadingText*>(fading->Clone()));
    EXPECT_FALSE(clone->IsShowPending());
}

// Digits first, one an update, the line's newlines kept; then the real
// characters one every second update; the arrow on the update after.
TEST_F(TextTest, AStoryLineIsTypedInTwoPhases) {
    AddDialog();
    const Core::String line = "Go\nnow";
    Core::GameRandomGenerator().Seed(77);
    m_dialog->SetLine(line);
    EXPECT_EQ(m_dialog->GetText(), "");
    Core::String digits;
    for (std::size_t i = 0; i < line.size(); ++i) {
        m_dialog->Update(kDt);
        digits = m_dialog->GetText();
        ASSERT_EQ(digits.size(), i + 1);
    }
    Core::GameRandomGenerator().Seed(77);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char expected = line[i] == '\n' ? '\n' : static_cast<char>('0' + RandomInt(0, 1));
        EXPECT_EQ(digits[i], expected) << i;
    }
    m_dialog->Update(kDt);
    EXPECT_EQ(m_dialog->GetText(), digits) << "the update that enters the reveal phase types nothing";
    for (std::size_t i = 0; i < line.size(); ++i) {
        m_dialog->Update(kDt);
        EXPECT_EQ(m_dialog->GetText(), digits);
        m_dialog->Update(kDt);
        digits[i] = line[i];
        EXPECT_EQ(m_dialog->GetText(), digits);
    }
    EXPECT_FALSE(m_arrow->GetVisible());
    EXPECT_TRUE(m_dialog->ShowWholeLine());
    m_dialog->Update(kDt);
    EXPECT_TRUE(m_arrow->GetVisible());
    EXPECT_TRUE(m_dialog->IsArrowShown());
}

TEST_F(TextTest, EmptyAndSkippedLinesEndAtOnce) {
    AddDialog();
    m_dialog->SetLine("");
    m_dialog->Update(kDt);
    EXPECT_TRUE(m_dialog->IsLineComplete());
    EXPECT_FALSE(m_arrow->GetVisible());
    m_dialog->Update(kDt);
    EXPECT_TRUE(m_arrow->GetVisible());

    m_arrow->SetVisible(false);
    m_dialog->SetLine("Skip me");
    m_dialog->Update(kDt);
    EXPECT_FALSE(m_dialog->ShowWholeLine());
    EXPECT_EQ(m_dialog->GetText(), "Skip me");
    EXPECT_FALSE(m_arrow->GetVisible());
    m_dialog->Update(kDt);
    EXPECT_TRUE(m_arrow->GetVisible());
    EXPECT_TRUE(m_dialog->ShowWholeLine());

    // Without an arrow in the level the line still ends.
    m_arrow->Destroy();
    Step();
    m_dialog->SetLine("");
    m_dialog->Update(kDt);
    m_dialog->Update(kDt);
    EXPECT_TRUE(m_dialog->IsArrowShown());
}

TEST_F(TextTest, LongLinesBreakOnSpacesAndASpacelessRowStaysWhole) {
    AddDialog();
    Core::String words;
    while (words.size() < 120) {
        words += "ember line ";
    }
    words.resize(120);
    m_dialog->SetLine(words);
    Core::String broken = m_dialog->GetLine();
    std::size_t rowStart = 0;
    for (std::size_t i = 0; i <= broken.size(); ++i) {
        if (i == broken.size() || broken[i] == '\n') {
            EXPECT_LE(i - rowStart, 50u);
            rowStart = i + 1;
        }
    }
    EXPECT_NE(broken.find('\n'), Core::String::npos);
    std::replace(broken.begin(), broken.end(), '\n', ' ');
    EXPECT_EQ(broken, words);

    const Core::String solid(120, 'x');
    m_dialog->SetLine(solid);
    EXPECT_EQ(m_dialog->GetLine(), solid);
    // The first space after a spaceless row breaks it.
    m_dialog->SetLine(Core::String(60, 'x') + " tail" + " end");
    EXPECT_EQ(m_dialog->GetLine(), Core::String(60, 'x') + "\ntail end");
}

TEST_F(TextTest, TheArrowEasesDownAndSpringsBack) {
    AddDialog();
    m_arrow->SetPositionY(-330.0f);
    for (int update = 1; update <= 28; ++update) {
        const float before = m_arrow->GetPositionY();
        m_arrow->Update(kDt);
        if (update < 28) {
            EXPECT_EQ(m_arrow->GetPositionY(), before + (-340.0f - before) * kDt * 5.0f) << update;
        }
    }
    EXPECT_EQ(m_arrow->GetPositionY(), -330.0f);
}

TEST_F(TextTest, SavedTextsContinueWhereTheyWere) {
    AddDialog();
    m_dialog->SetLine("The ember line burns");
    for (int i = 0; i < 25; ++i) {
        m_dialog->Update(kDt);
    }
    CenteredText* centred = CreateCenteredText({30.0f, 40.0f}, "Levels");
    ASSERT_NE(centred, nullptr);
    centred->SetShowPending(true);

    Core::MemoryFile saved;
    saved.WriteObject(m_dialog.Get());
    saved.WriteObject(centred);
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    const Core::RefPtr<DialogText> dialog(reader.ReadObjectAs<DialogText>());
    const Core::RefPtr<CenteredText> text(reader.ReadObjectAs<CenteredText>());
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetAnchor(), centred->GetAnchor());
    EXPECT_TRUE(text->IsShowPending());
    EXPECT_EQ(text->GetTextLength(), 6u);
    for (int i = 0; i < 30; ++i) {
        m_dialog->Update(kDt);
        dialog->Update(kDt);
        ASSERT_EQ(dialog->GetText(), m_dialog->GetText()) << i;
    }

    // A typed count past the line, or a flag that is no flag, is refused.
    Core::MemoryFile one;
    one.WriteObject(m_dialog.Get());
    const std::vector<std::uint8_t> bytes(one.GetData(), one.GetData() + one.GetSize());
    for (const auto& [fromEnd, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{{1, 2}, {2, 9}, {6, 0x7F}}) {
        std::vector<std::uint8_t> damaged = bytes;
        damaged[damaged.size() - fromEnd] = value;
        Core::MemoryFile bad(damaged.data(), static_cast<std::uint32_t>(damaged.size()));
        EXPECT_EQ(bad.ReadObject(), nullptr) << fromEnd;
    }
}

}  // namespace
}  // namespace mygametest
