// The options machine's pages and the actions of their buttons: one column
// of up to five buttons at x -62, a title above it.
#include "input/Input_KeyTable.h"
#include "input/Input_Keyboard.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_OptionsUI.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

namespace {

constexpr float kColumnX = -62.0f;
// Every page button enters hidden this long (the fade-in starts at -3).
constexpr float kEnteringOpacity = -3.0f;
constexpr int kPageAnimation = 0;
constexpr int kKeyX = 76;
// Shown for a key that types no character.
constexpr char kNoCharacter = 127;
constexpr std::uint32_t kTitleLevel = 1;
const Vector2D kVolumeControlAt{kColumnX, 60.0f};
const Vector2D kCreditsAt{kColumnX, -4.0f};

// The key bindings by capture mode 1..3; the controls page shows them in
// slots 0..2, top to bottom, and a waiting one shows "?".
struct Binding {
    const char* name;
    std::int32_t GameGlobals::*key;
    float y;
};
constexpr Binding kBindings[] = {{"Left - ", &GameGlobals::leftKeyId, 50.0f},
                                 {"Right - ", &GameGlobals::rightKeyId, -25.0f},
                                 {"Jump - ", &GameGlobals::jumpKeyId, -100.0f}};
constexpr std::size_t kBindingCount = std::size(kBindings);

const Input::Keyboard* GameKeyboard() {
    const MyGame* game = GetGame();
    return game != nullptr ? game->GetKeyboard() : nullptr;
}

char BoundCharacter(std::size_t binding) {
    const Input::Keyboard* keyboard = GameKeyboard();
    const char character = keyboard != nullptr ? keyboard->GetKeyAsChar(Globals().*kBindings[binding].key) : '\0';
    return character != '\0' ? character : kNoCharacter;
}

Core::String BindingLabel(std::size_t binding, char character) {
    return Core::String(kBindings[binding].name) + Core::String(1, character);
}

// The binding a capture mode names; none for kNoCapture or beyond.
bool IsBindingMode(std::uint32_t mode) { return mode >= OptionsUI::kCaptureLeft && mode <= kBindingCount; }

Vector2D InColumn(float y) { return {kColumnX, y}; }

void SetHoverVolume(float volume) {
    if (Tundra::Sound* hover = Globals().buttonHoverSound) {
        hover->SetVolume(volume);
    }
}

}  // namespace

void OptionsUI::ClearPage() {
    for (Core::RefPtr<LabeledButton>& slot : m_pageButtons) {
        const Core::RefPtr<LabeledButton> button = std::move(slot);
        if (button && !button->IsDestroyRequested()) {
            button->SetVisible(false);
            button->Destroy();
        }
    }
    // A key that waits goes with the button that shows it: a closed menu
    // binds nothing.
    m_captureMode = kNoCapture;
}

void OptionsUI::SetPageButton(std::size_t slot, LabeledButton* button) {
    if (button != nullptr) {
        // The button only: its label stays at the 0 it was made with.
        button->Tundra::Sprite::SetOpacity(kEnteringOpacity);
    }
    m_pageButtons[slot] = button;
}

Core::String OptionsUI::GetSlotLabel(std::size_t slot) const {
    const LabeledButton* button = GetPageButton(slot);
    const CenteredText* label = button != nullptr ? button->GetLabel() : nullptr;
    return label != nullptr ? label->GetText() : Core::String();
}

void OptionsUI::SetSlotLabel(std::size_t slot, const Core::String& text) {
    LabeledButton* button = GetPageButton(slot);
    CenteredText* label = button != nullptr && !button->IsDestroyRequested() ? button->GetLabel() : nullptr;
    if (label != nullptr) {
        label->SetText(text);
    }
}

void OptionsUI::ShowPageTitle(const Core::String& text) {
    if (!m_pageTitle) {
        return;
    }
    m_pageTitle->SetText(text);
    m_pageTitle->SetOpacity(kEnteringOpacity);
    m_pageTitle->SetVisible(false);
    m_pageTitle->SetShowPending(true);
}

void OptionsUI::HidePageTitle() {
    if (m_pageTitle) {
        m_pageTitle->SetVisible(false);
    }
}

void OptionsUI::ShowMainPage() {
    ClearPage();
    const MyGame* game = GetGame();
    const char* display = game != nullptr && game->IsFullScreen() ? "Windowed" : "FullScreen";
    SetPageButton(0, MakeLabeledButton(InColumn(200.0f), "controls", kPageAnimation, [this] { ShowControlsPage(); }));
    SetPageButton(1, MakeLabeledButton(InColumn(100.0f), "volume", kPageAnimation, [this] { ShowVolumePage(); }));
    SetPageButton(2, MakeLabeledButton(InColumn(0.0f), display, kPageAnimation, [this] { ToggleFullScreen(); }));
    SetPageButton(3, MakeLabeledButton(InColumn(-100.0f), "Credits", kPageAnimation, [this] { ShowCreditsPage(); }));
    SetPageButton(4, MakeLabeledButton(InColumn(-200.0f), "Reset Save", kPageAnimation, [this] { ResetSave(); }));
}

void OptionsUI::ShowControlsPage() {
    ClearPage();
    ShowPageTitle("controls");
    for (std::size_t binding = 0; binding < kBindingCount; ++binding) {
        const auto mode = static_cast<std::uint32_t>(binding + 1);
        const char shown = BoundCharacter(binding);
        SetPageButton(binding, MakeKeyCaptureButton(
                                   InColumn(kBindings[binding].y), BindingLabel(binding, shown), kPageAnimation,
                                   [this, mode, shown] { ToggleKeyCapture(mode, shown); },
                                   [this, mode] { CancelKeyCapture(mode); }));
    }
    SetPageButton(3, MakeLabeledButton(InColumn(-244.0f), "back", kPageAnimation, [this] { BackFromControls(); }));
}

void OptionsUI::ShowVolumePage() {
    ClearPage();
    ShowPageTitle("volume");
    if (m_volumeControl) {
        m_volumeControl->SetVisible(true);
        m_volumeControl->SetOpacity(kEnteringOpacity);
        m_volumeControl->SetPosition(kVolumeControlAt);
        m_volumeControl->SetShowPending(true);
    }
    const MyGame* game = GetGame();
    const char* mute = game != nullptr && game->IsMuted() ? "unmute" : "mute";
    SetPageButton(0, MakeLabeledButton(InColumn(-40.0f), mute, kPageAnimation, [this] { ToggleMute(); }));
    SetPageButton(2, MakeLabeledButton(InColumn(-244.0f), "back", kPageAnimation, [this] { BackFromVolume(); }));
    SetPageButton(3, MakeLabeledButton(InColumn(-144.0f), "Set", kPageAnimation, [] { ApplyVolume(); }));
}

void OptionsUI::ShowCreditsPage() {
    ClearPage();
    if (m_credits) {
        m_credits->SetPosition(kCreditsAt);
        m_credits->SetVisible(true);
    }
    SetPageButton(0, MakeLabeledButton(InColumn(-244.0f), "Back", kPageAnimation, [this] { BackFromCredits(); }));
}

void OptionsUI::BackFromControls() {
    if (MyGame* game = GetGame()) {
        game->SaveSettings();
    }
    HidePageTitle();
    ShowMainPage();
}

void OptionsUI::BackFromVolume() {
    if (m_volumeControl) {
        m_volumeControl->SetVisible(false);
    }
    HidePageTitle();
    if (MyGame* game = GetGame()) {
        game->SaveSettings();
    }
    ShowMainPage();
    ApplyVolume();
}

void OptionsUI::BackFromCredits() {
    if (m_credits) {
        m_credits->SetVisible(false);
    }
    ShowMainPage();
}

// A button that waits shows "?": a click on it gives back the label its
// page was built with; otherwise the click starts the wait.
void OptionsUI::ToggleKeyCapture(std::uint32_t mode, char shownCharacter) {
    if (!IsBindingMode(mode)) {
        return;
    }
    const std::size_t binding = mode - 1;
    if (!GetSlotLabel(binding).starts_with(kBindings[binding].name[0])) {
        SetSlotLabel(binding, BindingLabel(binding, shownCharacter));
        m_captureMode = kNoCapture;
    } else {
        SetSlotLabel(binding, "?");
        m_captureMode = mode;
    }
}

void OptionsUI::CancelKeyCapture(std::uint32_t mode) {
    if (!IsBindingMode(mode)) {
        return;
    }
    const std::size_t binding = mode - 1;
    SetSlotLabel(binding, BindingLabel(binding, BoundCharacter(binding)));
    m_captureMode = kNoCapture;
}

// Escape and X never bind (X closes the machine); a key another binding
// holds is passed over while the wait goes on.
void OptionsUI::CaptureKey() {
    const Input::Keyboard* keyboard = GameKeyboard();
    int key = 0;
    if (!IsBindingMode(m_captureMode) || keyboard == nullptr || !keyboard->GetTriggered(&key) ||
        key == Input::kKeyEscape || key == kKeyX) {
        return;
    }
    const std::size_t binding = m_captureMode - 1;
    GameGlobals& globals = Globals();
    for (std::size_t other = 0; other < kBindingCount; ++other) {
        if (other != binding && globals.*kBindings[other].key == key) {
            return;
        }
    }
    globals.*kBindings[binding].key = key;
    SetSlotLabel(binding, BindingLabel(binding, BoundCharacter(binding)));
    m_captureMode = kNoCapture;
}

void OptionsUI::ToggleMute() {
    MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    if (!GetSlotLabel(0).starts_with('m')) {
        SetSlotLabel(0, "mute");
        game->SetMuted(false);
        SetHoverVolume(game->GetVolume());
        game->SetVolume(game->GetVolume(), 0.0f);
    } else {
        SetSlotLabel(0, "unmute");
        game->SetMuted(true);
        SetHoverVolume(0.0f);
        game->SetVolume(0.0f, kVolumeFadeSeconds);
    }
}

void OptionsUI::ToggleFullScreen() {
    MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    game->AutoToggleFullScreen();
    SetSlotLabel(2, game->IsFullScreen() ? "Windowed" : "FullScreen");
}

// The fade reloads the title level with the new profile; during a fade it
// refuses, and the profile is reset all the same.
void OptionsUI::ResetSave() {
    if (MyGame* game = GetGame()) {
        game->NewProfile();
    }
    if (auto* fade = Tundra::FindObject<FadeTransition>("FadeTransition")) {
        fade->FadeToLevel(kTitleLevel);
    }
}
