#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace mygametest {
namespace {

constexpr os::VirtualKey kLevelUIOpenKey = 'X';
const Vector2D kPlayAt{323.0f, -244.0f};
const Vector2D kCloseAt{98.0f, 261.0f};
const UiFrameRect kMachineClosed{212.0f, -232.0f, 212.0f, -232.0f, 0.0f};
const UiFrameRect kInfoClosed{243.0f, -233.0f, 243.0f, -233.0f, 0.0f};
const UiFrameRect kWeaponClosed{243.0f, -215.0f, 243.0f, -215.0f, 0.0f};

// The title level entered with the stages unlocked up to `highest`, the
// player free in front of the level select.
class LevelUITest : public WidgetTest {
protected:
    void EnterWith(std::uint8_t highest, std::uint8_t current = 0) {
        ASSERT_TRUE(EnterTitle());
        Game().GetProfile().highestStage = highest;
        Game().GetProfile().currentStage = current;
        Game().ChangeLevel(1);
        ASSERT_TRUE(RunUntil([this] { return !Game().IsLevelChangePending(); }, 4));
        // The level has faded in: "Play" is taken from then on.
        const auto* fade = Find<FadeTransition>("FadeTransition");
        ASSERT_NE(fade, nullptr);
        ASSERT_TRUE(RunUntil([fade] { return fade->GetState() == FadeTransition::kIdle; }, 20));
        FindMenu();
        m_player->SetControlsOn(true);
    }

    void FindMenu() {
        m_menu = Find<LevelUI>("LevelSelUI");
        ASSERT_NE(m_menu, nullptr);
        m_player = Find<MenuPlayer>("Player");
        ASSERT_NE(m_player, nullptr);
    }

    // One frame with the player put back in front of the machine first.
    void StepAtMenu(bool pressX = false) {
        m_player->SetPosition(m_menu->GetPosition());
        HoldKey(kLevelUIOpenKey, pressX);
        Step();
        HoldKey(kLevelUIOpenKey, false);
    }

    // Opened, then the frames until its buttons have faded in: they take no
    // press before.
    void Open() {
        StepAtMenu(true);
        ASSERT_TRUE(m_menu->IsOpen());
        StepAtMenu();
        ASSERT_TRUE(StepUntilButtonsShown([this] { StepAtMenu(); }));
    }

    // Enter, press, release over the HUD point, the player kept in range.
    void ClickOn(const Vector2D& at) {
        PointAt(at);
        StepAtMenu();
        HoldLeftButton(true);
        StepAtMenu();
        HoldLeftButton(false);
        StepAtMenu();
    }

    // Every widget the menu made, buttons with their labels.
    std::vector<Tundra::GameObject*> Widgets() const {
        std::vector<Tundra::GameObject*> widgets{m_menu->GetHeading(), m_menu->GetTitle(), m_menu->GetWeaponHeading()};
        std::vector<LabeledButton*> buttons{m_menu->GetPlayButton(), m_menu->GetCloseButton()};
        for (const Core::RefPtr<LabeledButton>& button : m_menu->GetStageButtons()) {
            buttons.push_back(button.Get());
        }
        for (LabeledButton* button : buttons) {
            widgets.push_back(button);
            widgets.push_back(button->GetLabel());
        }
        for (const Core::RefPtr<FadingText>& text : m_menu->GetInfoTexts()) {
            widgets.push_back(text.Get());
        }
        return widgets;
    }

    void ExpectAllHidden() const {
        for (const Tundra::GameObject* widget : Widgets()) {
            ASSERT_NE(widget, nullptr);
            EXPECT_FALSE(widget->GetVisible()) << widget->GetName();
        }
        EXPECT_FALSE(m_menu->GetPreview()->GetVisible());
    }

    // The weapon panel too, which the level places shown but out of view.
    void ExpectClosedLayout() const {
        ExpectAllHidden();
        EXPECT_FALSE(m_menu->GetWeaponPanel()->GetVisible());
    }

    std::vector<std::string> InfoLines() const {
        std::vector<std::string> lines;
        for (const Core::RefPtr<FadingText>& text : m_menu->GetInfoTexts()) {
            lines.emplace_back(text->GetText());
        }
        return lines;
    }

    LevelUI* m_menu = nullptr;
    MenuPlayer* m_player = nullptr;
};

TEST_F(LevelUITest, ItMakesAHiddenButtonPerUnlockedStageThreeToARow) {
    struct Case {
        std::uint8_t highest;
        std::size_t count;
        Vector2D last;
    };
    for (const Case& test :
         {Case{0, 1, {-262.0f, 166.0f}}, Case{4, 5, {-112.0f, 16.0f}}, Case{8, 9, {38.0f, -134.0f}}}) {
        SCOPED_TRACE(int{test.highest});
        EnterWith(test.highest);
        const auto& buttons = m_menu->GetStageButtons();
        ASSERT_EQ(buttons.size(), test.count);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(std::string(buttons[i]->GetLabel()->GetText()), std::to_string(i + 1));
            EXPECT_EQ(buttons[i]->GetCurrentAnimationIndex(), 2);
            EXPECT_EQ(buttons[i]->GetLayer(), Game().GetHudLayer());
        }
        EXPECT_EQ(buttons[0]->GetPosition(), Vector2D(-262.0f, 166.0f));
        EXPECT_EQ(buttons.back()->GetPosition(), test.last);
        if (test.count >= 4) {
            EXPECT_EQ(buttons[3]->GetPosition(), Vector2D(-262.0f, 16.0f));
        }
        ExpectAllHidden();
        EXPECT_EQ(m_menu->GetFrame()->GetCurrent(), kMachineClosed);
        EXPECT_EQ(m_menu->GetInfoFrame()->GetCurrent(), kInfoClosed);
        EXPECT_EQ(m_menu->GetWeaponFrame()->GetCurrent(), kWeaponClosed);
        EXPECT_FALSE(m_menu->IsShown());
    }
}

TEST_F(LevelUITest, OpeningHidesEverythingAtOnceAndBringsItInFromTheNextUpdate) {
    EnterWith(4);
    StepAtMenu(true);
    ASSERT_TRUE(m_menu->IsOpen());
    EXPECT_TRUE(m_menu->IsShown());
    EXPECT_FALSE(m_player->GetControlsOn());
    ExpectAllHidden();
    for (const Tundra::GameObject* widget : Widgets()) {
        EXPECT_EQ(widget->GetOpacity(), -3.0f) << widget->GetName();
    }
    EXPECT_TRUE(m_menu->IsPreviewPending());
    EXPECT_EQ(m_menu->GetPreview()->GetOpacity(), -3.0f);
    EXPECT_EQ(m_menu->GetFrame()->GetTarget(), (UiFrameRect{-336.0f, 275.0f, 113.0f, -283.0f, 1.0f}));
    EXPECT_EQ(m_menu->GetInfoFrame()->GetTarget(), (UiFrameRect{140.0f, 35.0f, 495.0f, -284.0f, 1.0f}));
    EXPECT_EQ(m_menu->GetWeaponFrame()->GetTarget(), (UiFrameRect{247.0f, 300.0f, 489.0f, 182.0f, 1.0f}));
    // The weapon panel beside the info frame, its icons about to come in.
    const WepSelUI* panel = m_menu->GetWeaponPanel();
    EXPECT_EQ(panel->GetPosition(), Vector2D(368.0f, 246.0f));
    EXPECT_TRUE(panel->GetVisible());
    for (const WepSelButton* icon : {panel->GetLeftIcon(), panel->GetRightIcon()}) {
        EXPECT_FALSE(icon->GetVisible());
        EXPECT_TRUE(icon->IsShowPending());
    }

    StepAtMenu();
    for (const Tundra::GameObject* widget : Widgets()) {
        EXPECT_TRUE(widget->GetVisible()) << widget->GetName();
        EXPECT_LT(widget->GetOpacity(), 0.0f) << widget->GetName();
    }
    EXPECT_TRUE(m_menu->GetPreview()->GetVisible());
    EXPECT_FALSE(m_menu->IsPreviewPending());
    EXPECT_EQ(m_menu->GetPreview()->GetOpacity(), -3.0f + 4.0f * kDt * 5.0f);

    // Where each piece stands.
    EXPECT_EQ(m_menu->GetHeading()->GetAnchor(), Vector2D(-112.0f, 246.0f));
    EXPECT_EQ(std::string(m_menu->GetHeading()->GetText()), "Levels");
    EXPECT_EQ(m_menu->GetTitle()->GetAnchor(), Vector2D(318.0f, 13.0f));
    EXPECT_EQ(m_menu->GetPlayButton()->GetPosition(), kPlayAt);
    EXPECT_EQ(m_menu->GetPlayButton()->GetCurrentAnimationIndex(), 0);
    EXPECT_EQ(std::string(m_menu->GetPlayButton()->GetLabel()->GetText()), "Play");
    EXPECT_EQ(m_menu->GetCloseButton()->GetPosition(), kCloseAt);
    EXPECT_EQ(m_menu->GetCloseButton()->GetCurrentAnimationIndex(), 1);
    EXPECT_EQ(m_menu->GetPreview()->GetPosition(), Vector2D(352.0f, -42.0f));
    const CenteredText* weaponHeading = m_menu->GetWeaponHeading();
    EXPECT_EQ(std::string(weaponHeading->GetText()), "Weapon Select\n  L:               R:");
    EXPECT_EQ(weaponHeading->GetAnchor(), Vector2D(398.0f, 285.0f));
    EXPECT_EQ(weaponHeading->GetScaleX(), 0.667f);
    EXPECT_EQ(weaponHeading->GetScaleY(), 0.667f);
    ASSERT_EQ(m_menu->GetInfoTexts().size(), LevelUI::kInfoLines);
    for (std::size_t line = 0; line < LevelUI::kInfoLines; ++line) {
        EXPECT_EQ(m_menu->GetInfoTexts()[line]->GetPosition(),
                  Vector2D(153.0f, -54.0f - 45.0f * static_cast<float>(line)));
    }
}

TEST_F(LevelUITest, AStageButtonChoosesTheStageShownAndNothingElse) {
    struct Case {
        std::uint32_t stage;
        const char* title;
        std::vector<std::string> lines;
        int previewFrame;
    };
    const Case cases[] = {
        {2, "Level 3", {"Terrain: ", "Ground Enemies: 7", "Flying Enemies: 35", "Rolling Enemies: 3"}, 0},
        {3, "Level 4", {"Terrain: ", "Ground Enemies: 9", "Flying Enemies: 40", "Rolling Enemies: 5"}, 3},
    };
    // The menu starts on the profile's current stage.
    EnterWith(4, 3);
    EXPECT_EQ(std::string(m_menu->GetTitle()->GetText()), "Level 4");
    EXPECT_EQ(InfoLines(), cases[1].lines);
    EXPECT_EQ(m_menu->GetPreview()->GetCurrentFrameIndex(), 3);

    Open();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.stage);
        Game().GetProfile().currentStage = 0;
        ClickOn(m_menu->GetStageButtons()[test.stage]->GetPosition());
        EXPECT_EQ(Game().GetProfile().currentStage, test.stage);
        EXPECT_EQ(std::string(m_menu->GetTitle()->GetText()), test.title);
        EXPECT_EQ(InfoLines(), test.lines);
        EXPECT_EQ(m_menu->GetPreview()->GetCurrentFrameIndex(), test.previewFrame);
        EXPECT_TRUE(m_menu->IsOpen());
        EXPECT_FALSE(Game().IsLevelChangePending());
        EXPECT_EQ(Find<FadeTransition>("FadeTransition")->GetState(), FadeTransition::kIdle);
    }
    // A stage past the table is refused.
    m_menu->SelectStage(9);
    EXPECT_EQ(Game().GetProfile().currentStage, 3u);
    EXPECT_EQ(std::string(m_menu->GetTitle()->GetText()), "Level 4");
}

TEST_F(LevelUITest, PlayFadesOutAndStartsTheChosenStage) {
    EnterWith(4);
    Open();
    ClickOn(m_menu->GetStageButtons()[1]->GetPosition());
    ASSERT_EQ(Game().GetProfile().currentStage, 1u);
    ClickOn(kPlayAt);
    const auto* fade = Find<FadeTransition>("FadeTransition");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->GetState(), FadeTransition::kFadingOut);
    EXPECT_EQ(fade->GetTargetLevel(), 2u);
    EXPECT_EQ(RunUntil([this] { return Game().IsLevelChangePending(); }, 12), 9);
    ASSERT_TRUE(RunUntil([this] { return Game().GetCurrentLevelIndex() == 2u; }, 4));
    EXPECT_EQ(Game().GetProfile().currentStage, 1u);
}

TEST_F(LevelUITest, XOrTheCloseButtonCloseTheMenuAtOnceEvenWhileItFadesIn) {
    EnterWith(4);
    StepAtMenu(true);
    StepAtMenu();
    ASSERT_TRUE(m_menu->GetStageButtons()[0]->GetVisible());
    ASSERT_LT(m_menu->GetStageButtons()[0]->GetOpacity(), 0.0f);
    StepAtMenu(true);
    EXPECT_FALSE(m_menu->IsOpen());
    EXPECT_FALSE(m_menu->IsShown());
    EXPECT_TRUE(m_player->GetControlsOn());
    ExpectClosedLayout();
    EXPECT_EQ(m_menu->GetFrame()->GetTarget(), kMachineClosed);
    EXPECT_EQ(m_menu->GetInfoFrame()->GetTarget(), kInfoClosed);
    EXPECT_EQ(m_menu->GetWeaponFrame()->GetTarget(), kWeaponClosed);

    // Between opening and the next update: nothing shows either.
    StepAtMenu(true);
    m_menu->CloseMenu();
    StepAtMenu();
    ExpectClosedLayout();

    Open();
    ClickOn(kCloseAt);
    EXPECT_FALSE(m_menu->IsOpen());
    EXPECT_TRUE(m_player->GetControlsOn());
    ExpectClosedLayout();
}

// Started without the weapon panel, the preview tile or the fade, a level
// select opens, chooses and closes, and "Play" does nothing; an unstarted
// clone and a second end fault nothing, and an ended menu's buttons no
// longer reach it.
TEST_F(LevelUITest, MissingObjectsAndASecondEndFaultNothing) {
    EnterWith(4);
    for (const char* name : {"WepSelFrame", "LevelTile", "FadeTransition"}) {
        Find(name)->Destroy();
    }
    const Core::RefPtr<LevelUI> menu(static_cast<LevelUI*>(m_menu->Clone()));
    EXPECT_TRUE(menu->GetStageButtons().empty() && menu->GetInfoFrame() == nullptr);
    menu->OnEnd();
    menu->OnEnd();
    m_menu->Destroy();
    Game().GetWorldLayer()->AddGameObject(menu.Get());
    Step();
    m_menu = menu.Get();
    EXPECT_TRUE(m_menu->GetWeaponPanel() == nullptr && m_menu->GetPreview() == nullptr);
    Open();
    ClickOn(m_menu->GetStageButtons()[3]->GetPosition());
    EXPECT_EQ(Game().GetProfile().currentStage, 3u);
    ClickOn(kPlayAt);
    Step(12);
    EXPECT_FALSE(Game().IsLevelChangePending());

    const Tundra::Sprite* infoCentre = m_menu->GetInfoFrame()->GetCentre();
    m_menu->OnEnd();
    m_menu->OnEnd();
    EXPECT_TRUE(m_menu->GetInfoFrame() == nullptr && m_menu->GetWeaponFrame() == nullptr);
    EXPECT_TRUE(infoCentre->IsDestroyRequested() || infoCentre->IsDestroyed());
    ClickOn(m_menu->GetStageButtons()[2]->GetPosition());
    EXPECT_EQ(Game().GetProfile().currentStage, 3u);
    // The level's own end follows.
    EndGame();
}

// Saved open or closed, the menu reads back closed with the player free and
// its buttons working again.
TEST_F(LevelUITest, ASavedMenuReadsBackClosedWithWorkingButtons) {
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open);
        EnterWith(4);
        if (open) {
            Open();
            ClickOn(m_menu->GetStageButtons()[1]->GetPosition());
            // A hand's column open in the weapon panel.
            ClickOn(m_menu->GetWeaponPanel()->GetRightIcon()->GetPosition());
            StepAtMenu();
            ASSERT_TRUE(m_menu->IsOpen());
            ASSERT_EQ(m_menu->GetWeaponPanel()->GetMachine()->GetCurrent(), WepSelUI::kRightSel);
        }
        const std::size_t hudObjects = Game().GetHudLayer()->GetGameObjectsCount();
        Game().RequestSave("levels");
        Step();
        Game().RequestLoad("levels");
        Step();
        FindMenu();
        EXPECT_FALSE(m_menu->IsOpen());
        StepAtMenu();
        EXPECT_FALSE(m_menu->IsShown());
        EXPECT_TRUE(m_player->GetControlsOn());
        ExpectAllHidden();
        EXPECT_EQ(m_menu->GetWeaponPanel()->GetVisible(), !open);
        EXPECT_EQ(Game().GetHudLayer()->GetGameObjectsCount(), hudObjects);
        ASSERT_EQ(m_menu->GetStageButtons().size(), 5u);
        for (const Tundra::GameObject* widget : Widgets()) {
            EXPECT_EQ(widget->GetLayer(), Game().GetHudLayer());
        }

        Open();
        EXPECT_EQ(m_menu->GetWeaponPanel()->GetMachine()->GetCurrent(), WepSelUI::kIdleSel);
        ClickOn(m_menu->GetStageButtons()[4]->GetPosition());
        EXPECT_EQ(Game().GetProfile().currentStage, 4u);
        EXPECT_EQ(std::string(m_menu->GetTitle()->GetText()), "Level 5");
        ClickOn(kCloseAt);
        EXPECT_FALSE(m_menu->IsOpen());
    }
}

// A level select started where no "Player" stands reads back on its own:
// its own part refuses every cut and what it cannot hold; damaged copies
// read or fail without harm.
TEST_F(LevelUITest, AStreamTheMenuCannotHoldIsRefused) {
    EnterWith(1);
    m_player->Destroy();
    Step();
    const Core::RefPtr<LevelUI> menu(static_cast<LevelUI*>(m_menu->Clone()));
    Game().GetWorldLayer()->AddGameObject(menu.Get());
    Step();
    ASSERT_EQ(menu->GetPlayer(), nullptr);
    const StreamBytes bytes = SavedBytes(*menu);
    const Core::RefPtr<LevelUI> read = ReadBack<LevelUI>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetStageButtons().size(), 2u);
    EXPECT_EQ(read->GetInfoTexts().size(), LevelUI::kInfoLines);
    EXPECT_EQ(SavedBytes(*read), bytes);

    // Where the menu's own part starts: after the machine's.
    Core::MemoryFile whole;
    menu->Save(whole);
    Core::MemoryFile machine;
    menu->VendingMachine::Save(machine);
    const std::size_t own = bytes.size() - (whole.GetSize() - machine.GetSize());
    // Cuts through its fields and the widgets they bring (sampled: each
    // read parses the whole prefix), and through the last fields one by one.
    for (std::size_t length = own; length < bytes.size(); length += length + 16 < bytes.size() ? 53 : 1) {
        EXPECT_EQ(ReadBack<LevelUI>(StreamBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length))),
                  nullptr)
            << length;
    }
    // The shown flag, more stage buttons than stages, the preview flag.
    StreamBytes damaged = bytes;
    damaged[own] = 2;
    EXPECT_EQ(ReadBack<LevelUI>(damaged), nullptr);
    damaged = bytes;
    damaged[own + 1] = 10;
    EXPECT_EQ(ReadBack<LevelUI>(damaged), nullptr);
    EXPECT_EQ(ReadBack<LevelUI>(WithFieldFromEnd(bytes, 1, std::uint8_t{2})), nullptr);
    std::mt19937 random(kSeed);
    for (int copy = 0; copy < 12; ++copy) {
        damaged = bytes;
        for (int change = 0; change <= copy % 3; ++change) {
            damaged[own + random() % (bytes.size() - own)] = static_cast<std::uint8_t>(random());
        }
        if (const Core::RefPtr<LevelUI> menuRead = ReadBack<LevelUI>(damaged)) {
            EXPECT_FALSE(SavedBytes(*menuRead).empty());
        }
    }
}

}  // namespace
}  // namespace mygametest
