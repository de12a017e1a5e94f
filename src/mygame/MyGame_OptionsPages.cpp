// The options machine's pages and the actions of their buttons: one column
// of up to five buttons at x -62, a title above it.
#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_KeyBindings.h"
#include "mygame/MyGame_LevelIndices.h"
#include "mygame/MyGame_OptionsUI.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

namespace {

constexpr float kColumnX = -62.0f;
// A page's buttons come in from here: hidden for about a quarter of a
// second, then fading in.
constexpr float kEnteringOpacity = -3.0f;
constexpr int kPageAnimation = 0;
const Vector2D kVolumeControlAt{kColumnX, 60.0f};
const Vector2D kCreditsAt{kColumnX, -4.0f};
// The controls page's key buttons, by binding, in slots 0..2.
constexpr float kKeyButtonY[kKeyBindingCount] = {50.0f, -25.0f, -100.0f};

std::size_t SlotOfBinding(std::uint32_t binding) { return binding - 1; }

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
    for (std::uint32_t binding = 1; binding <= kKeyBindingCount; ++binding) {
        const char shown = BoundKeyCharacter(binding);
        const std::size_t slot = SlotOfBinding(binding);
        SetPageButton(slot, MakeKeyCaptureButton(
                                InColumn(kKeyButtonY[slot]), KeyBindingLabel(binding, shown), kPageAnimation,
                                [this, binding, shown] { ToggleKeyCapture(binding, shown); },
                                [this, binding] { CancelKeyCapture(binding); }));
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
    if (mode == kNoCapture || mode > kKeyBindingCount) {
        return;
    }
    const std::size_t slot = SlotOfBinding(mode);
    if (!GetSlotLabel(slot).starts_with(KeyBindingName(mode)[0])) {
        SetSlotLabel(slot, KeyBindingLabel(mode, shownCharacter));
        m_captureMode = kNoCapture;
    } else {
        SetSlotLabel(slot, "?");
        m_captureMode = mode;
    }
}

void OptionsUI::CancelKeyCapture(std::uint32_t mode) {
    if (mode == kNoCapture || mode > kKeyBindingCount) {
        return;
    }
    SetSlotLabel(SlotOfBinding(mode), KeyBindingLabel(mode, BoundKeyCharacter(mode)));
    m_captureMode = kNoCapture;
}

// Escape and X never bind (X closes the machine); a key another binding
// holds is passed over while the wait goes on.
void OptionsUI::CaptureKey() {
    if (m_captureMode == kNoCapture || !BindTriggeredKey(m_captureMode)) {
        return;
    }
    SetSlotLabel(SlotOfBinding(m_captureMode), KeyBindingLabel(m_captureMode, BoundKeyCharacter(m_captureMode)));
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
