#include "MyGame_OptionsFixture.h"
#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_OptionsUI.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "sound/Sound_JukeBox.h"
#include "support/DamagedBytes.h"
#include "support/MyGame_ButtonPress.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace mygametest {
namespace {

constexpr os::VirtualKey kKeyA = 'A';
constexpr os::VirtualKey kKeyD = 'D';
constexpr os::VirtualKey kKeyJ = 'J';
constexpr int kKeyIdJ = 62;

const std::string kDefaultSettings = "53\n56\n75\n0.8\n0\n";
// Weapons 1 and 2 unlocked, 1 in the left hand, 2 in the right, 300 currency.
const std::string kNewProfile = "3\n65538\n\0\n\0\n300\n"s + "\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n"s +
                                "\0\n\0\n\0\n\0\n\0\n"s;

using OptionsUITest = OptionsFixture;

// The fade back at the start of its fade-in, as a level's start puts it.
void RestartFadeIn(FadeTransition& fade) {
    Core::MemoryFile file;
    fade.Save(file);
    StreamBytes bytes(file.GetData(), file.GetData() + file.GetSize());
    // The tail: alpha, state, target level.
    bytes = WithFieldFromEnd(WithFieldFromEnd(bytes, 12, 1.0f), 8, std::uint32_t{FadeTransition::kFadingIn});
    Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    fade.Load(reader);
    ASSERT_FALSE(reader.HasFailed());
}

TEST_F(OptionsUITest, OpeningLaysOutTheMainPageFadingInAndTheCloseButtonEndsIt) {
    ASSERT_TRUE(EnterAtMachine());
    TapOpenKey();
    ASSERT_TRUE(Machine().IsOpen());
    EXPECT_EQ(Machine().GetFrame()->GetTarget(), (UiFrameRect{-294.0f, 275.0f, 170.0f, -283.0f, 1.0f}));
    const char* display = Game().IsFullScreen() ? "Windowed" : "FullScreen";
    EXPECT_EQ(Labels(), (std::vector<std::string>{"controls", "volume", display, "Credits", "Reset Save"}));
    const float heights[] = {200.0f, 100.0f, 0.0f, -100.0f, -200.0f};
    for (std::size_t slot = 0; slot < OptionsUI::kSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        const LabeledButton* button = Machine().GetPageButton(slot);
        EXPECT_EQ(button->GetPosition(), (Vector2D{-62.0f, heights[slot]}));
        EXPECT_EQ(button->GetOpacity(), -3.0f);
        EXPECT_EQ(button->GetLabel()->GetOpacity(), 0.0f);
    }
    LabeledButton* close = Machine().GetCloseButton();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetPosition(), (Vector2D{150.0f, 255.0f}));
    EXPECT_EQ(close->GetCurrentAnimationIndex(), 1);
    EXPECT_TRUE(!close->GetVisible() && close->IsShowPending() && close->GetOpacity() == -3.0f);
    Step();
    EXPECT_TRUE(close->GetVisible());

    const std::vector<LabeledButton*> shown = PageButtons();
    const std::vector<Core::RefPtr<LabeledButton>> page(shown.begin(), shown.end());
    ASSERT_TRUE(PressButton(close));
    Step();
    EXPECT_FALSE(Machine().IsOpen());
    EXPECT_TRUE(Player().GetControlsOn());
    EXPECT_FALSE(close->GetVisible());
    EXPECT_EQ(PageButtons(), std::vector<LabeledButton*>(OptionsUI::kSlotCount, nullptr));
    for (const Core::RefPtr<LabeledButton>& button : page) {
        EXPECT_TRUE(button->IsDestroyRequested() || button->IsDestroyed());
    }
    EXPECT_EQ(Machine().GetFrame()->GetTarget(), (UiFrameRect{-227.0f, -218.0f, -227.0f, -218.0f, 0.0f}));

    // Opened again, the same close button comes back.
    TapOpenKey();
    EXPECT_EQ(Labels()[0], "controls");
    EXPECT_EQ(Machine().GetCloseButton(), close);

    // Ended, the machine takes the buttons whose actions name it along.
    const Core::RefPtr<LabeledButton> heldClose(close);
    const Core::RefPtr<LabeledButton> heldPage(Machine().GetPageButton(0));
    Machine().OnEnd();
    EXPECT_TRUE(heldClose->IsDestroyRequested() || heldClose->IsDestroyed());
    EXPECT_TRUE(heldPage->IsDestroyRequested() || heldPage->IsDestroyed());
    EXPECT_EQ(Machine().GetCloseButton(), nullptr);
}

TEST_F(OptionsUITest, AKeyButtonWaitsForAFreeKeyAndOnlyBackWritesTheSettings) {
    ASSERT_TRUE(OpenMenu());
    ASSERT_EQ(Settings(), kDefaultSettings);
    ASSERT_EQ((std::vector<std::int32_t>{Globals().leftKeyId, Globals().rightKeyId, Globals().jumpKeyId}),
              (std::vector<std::int32_t>{53, 56, 75}));
    Press("controls");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Left - a", "Right - d", "Jump - w", "back", ""}));
    const float heights[] = {50.0f, -25.0f, -100.0f, -244.0f};
    for (std::size_t slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(Machine().GetPageButton(slot)->GetPosition(), (Vector2D{-62.0f, heights[slot]})) << slot;
    }
    CenteredText* title = Machine().GetPageTitle();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::string(title->GetText()), "controls");
    EXPECT_TRUE(title->GetVisible());

    LabeledButton* left = Machine().GetPageButton(0);
    Press("Left - a");
    EXPECT_EQ(Label(0), "?");
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kCaptureLeft);
    struct Key {
        os::VirtualKey key;
        const char* label;
        std::int32_t bound;
    };
    // Escape waits on, the key of Right is passed over, Left's own key
    // binds again, and a free one binds.
    for (const Key& press : {Key{os::VK_ESCAPE, "?", 53}, Key{kKeyD, "?", 53}, Key{kKeyA, "Left - a", 53}}) {
        SCOPED_TRACE(press.label);
        Tap(press.key);
        Step();
        EXPECT_EQ(Label(0), press.label);
        EXPECT_EQ(Globals().leftKeyId, press.bound);
    }
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kNoCapture);
    ASSERT_TRUE(PressButton(left));
    Tap(kKeyJ);
    Step();
    EXPECT_EQ(Label(0), "Left - j");
    EXPECT_EQ(Globals().leftKeyId, kKeyIdJ);
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kNoCapture);

    // A second click gives back what the page was built with; leaving shows
    // the key bound now.
    ASSERT_TRUE(PressButton(left));
    EXPECT_EQ(Label(0), "?");
    ASSERT_TRUE(PressButton(left));
    EXPECT_EQ(Label(0), "Left - a");
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kNoCapture);
    ASSERT_TRUE(PressButton(left));
    ASSERT_TRUE(LeaveButton(left));
    EXPECT_EQ(Label(0), "Left - j");
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kNoCapture);
    EXPECT_EQ(Settings(), kDefaultSettings);

    Press("back");
    EXPECT_EQ(Settings(), "62\n56\n75\n0.8\n0\n");
    EXPECT_EQ(Labels()[0], "controls");
    EXPECT_FALSE(title->GetVisible());
}

// X never binds: it closes the machine, and the wait ends with the page.
TEST_F(OptionsUITest, XWhileAKeyWaitsClosesTheMenuAndNothingIsBoundAfter) {
    ASSERT_TRUE(OpenMenu());
    Press("controls");
    Press("Right - d");
    ASSERT_EQ(Machine().GetCaptureMode(), OptionsUI::kCaptureRight);
    TapOpenKey();
    EXPECT_FALSE(Machine().IsOpen());
    EXPECT_EQ(Machine().GetCaptureMode(), OptionsUI::kNoCapture);
    EXPECT_FALSE(Machine().GetPageTitle()->GetVisible());
    Tap(kKeyJ);
    Step();
    EXPECT_EQ(Globals().rightKeyId, 56);
    EXPECT_EQ(Settings(), kDefaultSettings);
}

TEST_F(OptionsUITest, MuteSilencesTheHoverSoundAndFadesTheMusicAndUnmuteGivesThemBack) {
    ASSERT_TRUE(OpenMenu());
    Press("volume");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"mute", "", "back", "Set", ""}));
    const float heights[] = {-40.0f, 0.0f, -244.0f, -144.0f};
    for (const std::size_t slot : {0u, 2u, 3u}) {
        EXPECT_EQ(Machine().GetPageButton(slot)->GetPosition(), (Vector2D{-62.0f, heights[slot]})) << slot;
    }
    VolumeControl* slider = Machine().GetVolumeControl();
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetPosition(), (Vector2D{-62.0f, 60.0f}));
    EXPECT_TRUE(slider->GetVisible());
    EXPECT_LT(slider->GetOpacity(), 0.0f);
    EXPECT_EQ(std::string(Machine().GetPageTitle()->GetText()), "volume");

    Tundra::Sound* hover = Globals().buttonHoverSound;
    Tundra::JukeBox* music = Game().GetMenuMusic();
    ASSERT_TRUE(hover != nullptr && music != nullptr);
    // The title's music in at once rather than over its fade.
    Game().SetVolume(0.8f, 0.0f);
    Step();
    ASSERT_EQ(music->GetMusicVolume(), 0.8f);
    Press("mute");
    EXPECT_EQ(Label(0), "unmute");
    EXPECT_TRUE(Game().IsMuted());
    EXPECT_EQ(hover->GetVolume(), 0.0f);
    EXPECT_GT(music->GetMusicVolume(), 0.0f);
    Step(15);
    EXPECT_EQ(music->GetMusicVolume(), 0.0f);

    Press("unmute");
    EXPECT_EQ(Label(0), "mute");
    EXPECT_FALSE(Game().IsMuted());
    EXPECT_EQ(hover->GetVolume(), 0.8f);
    EXPECT_EQ(music->GetMusicVolume(), 0.8f);
    EXPECT_EQ(Settings(), kDefaultSettings);

    Press("mute");
    Press("back");
    EXPECT_EQ(Settings(), "53\n56\n75\n0.8\n1\n");
    EXPECT_FALSE(slider->GetVisible());
    EXPECT_FALSE(Machine().GetPageTitle()->GetVisible());
    EXPECT_EQ(Labels()[1], "volume");
}

TEST_F(OptionsUITest, TheSlidersVolumeReachesTheMusicOnSetOrClosingAndTheFileOnlyOnBack) {
    ASSERT_TRUE(OpenMenu());
    Press("volume");
    Tundra::JukeBox* music = Game().GetMenuMusic();
    ASSERT_NE(music, nullptr);
    Machine().GetVolumeControl()->SetValue(0.5f);
    Press("Set");
    Step(15);
    EXPECT_EQ(music->GetMusicVolume(), 0.5f);

    Machine().GetVolumeControl()->SetValue(0.25f);
    TapOpenKey();
    ASSERT_FALSE(Machine().IsOpen());
    EXPECT_FALSE(Machine().GetVolumeControl()->GetVisible());
    Step(15);
    EXPECT_EQ(music->GetMusicVolume(), 0.25f);
    EXPECT_EQ(Settings(), kDefaultSettings);

    TapOpenKey();
    Press("volume");
    Press("back");
    EXPECT_EQ(Settings(), "53\n56\n75\n0.25\n0\n");
}

TEST_F(OptionsUITest, CreditsShowThePictureUntilBackOrClosing) {
    ASSERT_TRUE(OpenMenu());
    Tundra::Sprite* credits = Machine().GetCreditsPicture();
    ASSERT_NE(credits, nullptr);
    for (const bool closeWithX : {false, true}) {
        SCOPED_TRACE(closeWithX);
        Press("Credits");
        EXPECT_EQ(credits->GetPosition(), (Vector2D{-62.0f, -4.0f}));
        EXPECT_TRUE(credits->GetVisible());
        EXPECT_EQ(Labels(), (std::vector<std::string>{"Back", "", "", "", ""}));
        EXPECT_EQ(Machine().GetPageButton(0)->GetPosition(), (Vector2D{-62.0f, -244.0f}));
        if (closeWithX) {
            ASSERT_TRUE(PressButton(Machine().GetCloseButton()));
            EXPECT_FALSE(Machine().IsOpen());
        } else {
            Press("Back");
            EXPECT_EQ(Labels()[3], "Credits");
        }
        EXPECT_FALSE(credits->GetVisible());
    }
}

TEST_F(OptionsUITest, ResetSaveWritesTheNewProfileAndReloadsTheTitleUnlessAFadeRuns) {
    ASSERT_TRUE(OpenMenu());
    auto* fade = Find<FadeTransition>("FadeTransition");
    ASSERT_NE(fade, nullptr);
    ASSERT_TRUE(RunUntil([fade] { return fade->GetState() == FadeTransition::kIdle; }, 30).has_value());

    // During a fade: the profile reset, the level left alone. The page is
    // shown first, so that the press comes while the fade still runs.
    ASSERT_TRUE(StepUntilButtonsShown());
    RestartFadeIn(*fade);
    Game().GetProfile().currency = 1234;
    Game().SaveProfile();
    Press("Reset Save");
    ASSERT_EQ(kNewProfile.size(), 50u);
    EXPECT_EQ(ProfileFile(), kNewProfile);
    EXPECT_EQ(Game().GetProfile().currency, 300u);
    const Tundra::Level* title = Game().GetCurrentLevel();
    ASSERT_TRUE(RunUntil([fade] { return fade->GetState() == FadeTransition::kIdle; }, 30).has_value());
    Step(20);
    EXPECT_EQ(Game().GetCurrentLevel(), title);
    EXPECT_FALSE(Game().IsLevelChangePending());

    Game().GetProfile().currency = 1234;
    Game().SaveProfile();
    Press("Reset Save");
    EXPECT_EQ(ProfileFile(), kNewProfile);
    EXPECT_EQ(fade->GetState(), FadeTransition::kFadingOut);
    ASSERT_TRUE(RunUntil([this, title] { return Game().GetCurrentLevel() != title; }, 30).has_value());
    Step();
    EXPECT_EQ(Game().GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel);
    EXPECT_NE(Find<OptionsUI>("OptionsUI"), nullptr);
}

// What the level lacks is skipped: no picture, no slider, no fade (the
// profile is reset all the same).
TEST_F(OptionsUITest, WithoutCreditsSliderOrFadeEveryPageStillWorks) {
    ASSERT_TRUE(EnterAtMachine());
    for (const char* name : {"Credits", "VolumeBG", "FadeTransition"}) {
        Tundra::GameObject* object = Find(name);
        ASSERT_NE(object, nullptr) << name;
        object->Destroy();
    }
    Step();
    const Core::RefPtr<OptionsUI> bare = static_cast<OptionsUI*>(Machine().Clone());
    Game().GetWorldLayer()->AddGameObject(bare.Get());
    Step();
    EXPECT_TRUE(bare->GetCreditsPicture() == nullptr && bare->GetVolumeControl() == nullptr);
    bare->OpenMenu();
    Step(2);
    ASSERT_TRUE(bare->IsShown());
    for (const char* label : {"Credits", "Back", "volume", "mute", "Set", "back", "Reset Save"}) {
        Press(label);
    }
    EXPECT_EQ(ProfileFile(), kNewProfile);
    EXPECT_EQ(Settings(), "53\n56\n75\n0.8\n1\n");
    const Tundra::Level* title = Game().GetCurrentLevel();
    Step(20);
    EXPECT_EQ(Game().GetCurrentLevel(), title);
}

// A load brings the menu back closed, the player free, its page's buttons
// (read without callbacks) gone; the close button works on.
TEST_F(OptionsUITest, AMenuSavedOpenOrClosedComesBackClosedAndOpensAgain) {
    ASSERT_TRUE(OpenMenu());
    Press("controls");
    Press("Jump - w");
    ASSERT_EQ(Machine().GetCaptureMode(), OptionsUI::kCaptureJump);
    for (const bool savedOpen : {true, false}) {
        SCOPED_TRACE(savedOpen);
        ASSERT_EQ(Machine().IsOpen(), savedOpen);
        ASSERT_TRUE(SaveAndLoad());
        OptionsUI& machine = Machine();
        EXPECT_FALSE(machine.IsOpen());
        Step(2);
        EXPECT_FALSE(machine.IsOpen() || machine.IsShown());
        EXPECT_TRUE(Player().GetControlsOn());
        EXPECT_EQ(machine.GetCaptureMode(), OptionsUI::kNoCapture);
        EXPECT_EQ(PageButtons(), std::vector<LabeledButton*>(OptionsUI::kSlotCount, nullptr));
        EXPECT_EQ(FindButton("Jump - w"), nullptr);
        EXPECT_FALSE(machine.GetPageTitle()->GetVisible());
        Tap(kKeyJ);
        Step();
        EXPECT_EQ(Globals().jumpKeyId, 75);

        TapOpenKey();
        ASSERT_TRUE(machine.IsOpen());
        Step();
        EXPECT_EQ(Labels()[0], "controls");
        ASSERT_TRUE(PressButton(machine.GetCloseButton()));
        EXPECT_FALSE(machine.IsOpen());
        EXPECT_TRUE(Player().GetControlsOn());
    }
}

TEST_F(OptionsUITest, AStreamTheOptionsCannotHoldIsRefusedAndACloneStartsEmpty) {
    ASSERT_TRUE(OpenMenu());
    // A clone has nothing made or found and runs harmlessly.
    const Core::RefPtr<OptionsUI> blank = static_cast<OptionsUI*>(Machine().Clone());
    EXPECT_TRUE(blank->GetCloseButton() == nullptr && blank->GetPageTitle() == nullptr &&
                blank->GetVolumeControl() == nullptr && blank->GetPageButton(0) == nullptr);
    EXPECT_FALSE(blank->IsOpen() || blank->IsShown());
    blank->Update(1.0f / 60.0f);
    blank->OnEnd();

    // Its own 14 bytes end the stream: shown, eight empty links, the
    // capture mode, the title's empty link.
    Core::MemoryFile file;
    blank->Save(file);
    const StreamBytes bytes(file.GetData(), file.GetData() + file.GetSize());
    constexpr std::size_t kShown = 14;
    constexpr std::size_t kCapture = 5;
    const auto withOwnFields = [&bytes](std::uint8_t shown, std::uint32_t capture) {
        StreamBytes changed = WithFieldFromEnd(bytes, kCapture, capture);
        changed[changed.size() - kShown] = shown;
        return changed;
    };
    struct Case {
        std::uint8_t shown;
        std::uint32_t capture;
        bool held;
    };
    // A key waits only while a page is up.
    for (const Case& test : {Case{2, 0, false}, Case{1, 4, false}, Case{0, 1, false}, Case{1, 3, true}}) {
        SCOPED_TRACE(test.capture);
        const StreamBytes changed = withOwnFields(test.shown, test.capture);
        const Core::RefPtr<OptionsUI> read = TUN_NEW(OptionsUI);
        Core::MemoryFile reader(changed.data(), static_cast<std::uint32_t>(changed.size()));
        read->Load(reader);
        EXPECT_EQ(reader.HasFailed(), !test.held);
        EXPECT_EQ(read->GetCaptureMode(), test.held ? test.capture : OptionsUI::kNoCapture);
        EXPECT_EQ(read->IsShown(), test.held);
    }

    const StreamBytes written = SavedBytes(*blank);
    const Core::RefPtr<OptionsUI> read = ReadBack<OptionsUI>(written);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(SavedBytes(*read), written);
    testsupport::ForEachDamaged(written, 64, 4, kSeed, [](const StreamBytes& damaged, const char* what, std::size_t) {
        const Core::RefPtr<OptionsUI> machine = ReadBack<OptionsUI>(damaged);
        if (std::string(what) == "truncated") {
            EXPECT_EQ(machine, nullptr) << damaged.size();
        }
    });
}

}  // namespace
}  // namespace mygametest
