// The stage's dialogs: pause, options, volume and controls, sharing the
// level's frame, its title text and its four button slots.
#include "mygame/MyGame.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_KeyBindings.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelIndices.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_VolumeControl.h"
#include "tundra/Tundra_Sound.h"

namespace {

constexpr float kFadeTime = 0.25f;
constexpr const char* kConfirm = "confirm?";

Core::String BindingLabel(std::uint32_t binding) { return KeyBindingLabel(binding, BoundKeyCharacter(binding)); }

void SetHoverVolume(float volume) {
    if (Tundra::Sound* hover = Globals().buttonHoverSound) {
        hover->SetVolume(volume);
    }
}

Core::String DisplayModeLabel() {
    const MyGame* game = GetGame();
    return Core::String(game != nullptr && game->IsFullScreen() ? "Windowed" : "FullScreen");
}

}  // namespace

void GameLevel::ClearDialogButtons() {
    for (Core::RefPtr<LabeledButton>& button : m_dialogButtons) {
        if (button && !button->IsDestroyRequested()) {
            button->SetVisible(false);
            button->Destroy();
        }
        button = nullptr;
    }
    // A key button that waits goes with its dialog.
    m_keyCapture = kNoCapture;
    m_openDialog = Dialog::kNone;
}

void GameLevel::SetDialogButton(std::size_t slot, LabeledButton* button) {
    if (button != nullptr) {
        button->SetOpacity(-1.0f);
    }
    m_dialogButtons[slot] = button;
}

Core::String GameLevel::GetSlotLabel(std::size_t slot) const {
    const LabeledButton* button = GetDialogButton(slot);
    const CenteredText* label = button != nullptr ? button->GetLabel() : nullptr;
    return label != nullptr ? label->GetText() : Core::String();
}

void GameLevel::SetSlotLabel(std::size_t slot, const Core::String& text) {
    LabeledButton* button = GetDialogButton(slot);
    CenteredText* label = button != nullptr && !button->IsDestroyRequested() ? button->GetLabel() : nullptr;
    if (label != nullptr) {
        label->SetText(text);
    }
}

void GameLevel::ShowDialogTitle(const char* title, const Vector2D& position) {
    if (!m_endGameText) {
        return;
    }
    m_endGameText->SetOpacity(-1.0f);
    m_endGameText->SetAnchor(position);
    m_endGameText->SetPosition(position);
    m_endGameText->SetScale(2.0f, 2.0f);
    m_endGameText->SetVisible(true);
    m_endGameText->SetText(title);
}

void GameLevel::FadeTo(std::uint32_t level) {
    if (m_fade) {
        m_fade->FadeToLevel(level);
    } else if (MyGame* game = GetGame()) {
        game->ChangeLevel(level);
    }
}

void GameLevel::ShowPauseDialog(bool show) {
    if (show) {
        OpenPauseDialog(!m_dialogButtons[0]);
        return;
    }
    MyGame* game = GetGame();
    if (game != nullptr && !game->IsMuted()) {
        game->SetVolume(game->GetVolume(), kFadeTime);
    }
    if (m_volumeSlider) {
        m_volumeSlider->SetVisible(false);
    }
    if (m_frame) {
        m_frame->SetTargetRect(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    }
    ClearDialogButtons();
    if (m_endGameText) {
        m_endGameText->SetAnchor({600.0f, 600.0f});
        m_endGameText->SetPosition({600.0f, 600.0f});
    }
}

void GameLevel::OpenPauseDialog(bool frameFromLarge) {
    if (m_frame) {
        if (frameFromLarge) {
            m_frame->SetRect(-300.0f, 325.0f, 300.0f, -325.0f, 0.0f);
        }
        m_frame->SetTargetRect(-200.0f, 225.0f, 200.0f, -225.0f, 1.0f);
    }
    QuietForPause();
    ClearDialogButtons();
    m_openDialog = Dialog::kPause;
    SetDialogButton(0, MakeKeyCaptureButton({0.0f, 65.0f}, "exit to menu", 0, nullptr, nullptr));
    SetDialogButton(1, MakeKeyCaptureButton({0.0f, -10.0f}, "restart", 0, nullptr, nullptr));
    SetDialogButton(2, MakeLabeledButton({0.0f, -85.0f}, "options", 0, nullptr));
    SetDialogButton(3, MakeLabeledButton({0.0f, -160.0f}, "resume", 0, nullptr));
    BindDialogButtons();
    ShowDialogTitle("pause", {0.0f, 150.0f});
}

void GameLevel::QuietForPause() {
    if (MyGame* game = GetGame()) {
        game->SetVolume(0.0f, kFadeTime);
        // The dialog's buttons still sound.
        if (!game->IsMuted()) {
            SetHoverVolume(game->GetVolume());
        }
    }
}

void GameLevel::BindDialogButtons() {
    switch (m_openDialog) {
    case Dialog::kPause:
        BindPauseButtons();
        break;
    case Dialog::kOptions:
        BindOptionsButtons();
        break;
    case Dialog::kVolume:
        BindVolumeButtons();
        break;
    case Dialog::kControls:
        BindControlsButtons();
        break;
    case Dialog::kResults:
        BindResultsButtons();
        break;
    case Dialog::kNone:
        break;
    }
}

void GameLevel::BindSlot(std::size_t slot, std::function<void()> click, std::function<void()> leave) {
    LabeledButton* button = GetDialogButton(slot);
    if (button == nullptr) {
        return;
    }
    button->SetClickCallback(std::move(click));
    if (leave) {
        button->SetLeaveCallback(std::move(leave));
    }
}

void GameLevel::BindPauseButtons() {
    BindSlot(0, [this] { ConfirmThenFade(0, kTitleLevel); }, [this] { SetSlotLabel(0, "exit to menu"); });
    BindSlot(1, [this] { ConfirmThenFade(1, kStageLevel); }, [this] { SetSlotLabel(1, "restart"); });
    BindSlot(2, [this] { ShowOptionsDialog(); });
    BindSlot(3, [this] {
        ShowPauseDialog(false);
        SetLevelPaused(false);
    });
}

void GameLevel::ConfirmThenFade(std::size_t slot, std::uint32_t level) {
    if (GetSlotLabel(slot) == kConfirm) {
        FadeTo(level);
    } else {
        SetSlotLabel(slot, kConfirm);
    }
}

void GameLevel::ShowOptionsDialog() {
    ClearDialogButtons();
    m_openDialog = Dialog::kOptions;
    if (m_frame) {
        m_frame->SetTargetRect(-200.0f, 225.0f, 200.0f, -225.0f, 1.0f);
    }
    ShowDialogTitle("options", {0.0f, 150.0f});
    SetDialogButton(0, MakeLabeledButton({0.0f, 65.0f}, "controls", 0, nullptr));
    SetDialogButton(1, MakeLabeledButton({0.0f, -10.0f}, "volume", 0, nullptr));
    SetDialogButton(2, MakeLabeledButton({0.0f, -85.0f}, DisplayModeLabel(), 0, nullptr));
    SetDialogButton(3, MakeLabeledButton({0.0f, -160.0f}, "back", 0, nullptr));
    BindDialogButtons();
}

void GameLevel::BindOptionsButtons() {
    BindSlot(0, [this] { ShowControlsDialog(); });
    BindSlot(1, [this] { ShowVolumeDialog(); });
    BindSlot(2, [this] {
        if (MyGame* game = GetGame()) {
            game->AutoToggleFullScreen();
        }
        SetSlotLabel(2, DisplayModeLabel());
    });
    // Back to the pause dialog with the frame where it stands.
    BindSlot(3, [this] { OpenPauseDialog(false); });
}

void GameLevel::ShowVolumeDialog() {
    ClearDialogButtons();
    m_openDialog = Dialog::kVolume;
    if (m_frame) {
        m_frame->SetTargetRect(-200.0f, 200.0f, 200.0f, -200.0f, 1.0f);
    }
    ShowDialogTitle("volume", {0.0f, 125.0f});
    if (m_volumeSlider) {
        m_volumeSlider->SetVisible(false);
        m_volumeSlider->SetOpacity(-1.0f);
        m_volumeSlider->SetPosition({0.0f, 60.0f});
        // The slider's own update brings it in.
        m_volumeSlider->SetShowPending(true);
    }
    const MyGame* game = GetGame();
    const bool muted = game != nullptr && game->IsMuted();
    SetDialogButton(0, MakeLabeledButton({0.0f, -40.0f}, muted ? "unmute" : "mute", 0, nullptr));
    SetDialogButton(1, MakeLabeledButton({0.0f, -115.0f}, "back", 0, nullptr));
    BindDialogButtons();
}

void GameLevel::BindVolumeButtons() {
    BindSlot(0, [this] {
        MyGame* running = GetGame();
        if (running == nullptr) {
            return;
        }
        const bool unmute = running->IsMuted();
        running->SetMuted(!unmute);
        SetHoverVolume(unmute ? running->GetVolume() : 0.0f);
        SetSlotLabel(0, unmute ? "mute" : "unmute");
    });
    BindSlot(1, [this] {
        if (m_volumeSlider) {
            m_volumeSlider->SetVisible(false);
        }
        if (MyGame* running = GetGame()) {
            running->SaveSettings();
        }
        ShowOptionsDialog();
    });
}

void GameLevel::ShowControlsDialog() {
    ClearDialogButtons();
    m_openDialog = Dialog::kControls;
    if (m_frame) {
        m_frame->SetTargetRect(-200.0f, 225.0f, 200.0f, -225.0f, 1.0f);
    }
    ShowDialogTitle("controls", {0.0f, 150.0f});
    for (std::uint32_t binding = 1; binding <= kKeyBindingCount; ++binding) {
        const std::size_t slot = binding - 1;
        const Vector2D at{0.0f, 50.0f - 75.0f * static_cast<float>(slot)};
        SetDialogButton(slot, MakeKeyCaptureButton(at, BindingLabel(binding), 0, nullptr, nullptr));
    }
    SetDialogButton(3, MakeLabeledButton({0.0f, -175.0f}, "back", 0, nullptr));
    BindDialogButtons();
}

void GameLevel::BindControlsButtons() {
    for (std::uint32_t binding = 1; binding <= kKeyBindingCount; ++binding) {
        // Key captures 1..3 hold slots 0..2.
        const std::size_t slot = binding - 1;
        BindSlot(
            slot,
            [this, binding, slot] {
                // A second press while it waits gives the binding back.
                if (GetSlotLabel(slot).starts_with(KeyBindingName(binding)[0])) {
                    SetSlotLabel(slot, "?");
                    m_keyCapture = static_cast<std::int32_t>(binding);
                } else {
                    SetSlotLabel(slot, BindingLabel(binding));
                    m_keyCapture = kNoCapture;
                }
            },
            [this, binding, slot] {
                SetSlotLabel(slot, BindingLabel(binding));
                m_keyCapture = kNoCapture;
            });
    }
    BindSlot(3, [this] {
        if (MyGame* game = GetGame()) {
            game->SaveSettings();
        }
        ShowOptionsDialog();
    });
}

void GameLevel::CaptureKey() {
    const auto binding = static_cast<std::uint32_t>(m_keyCapture);
    if (m_keyCapture == kNoCapture || !BindTriggeredKey(binding)) {
        return;
    }
    // Only the controls dialog's own button shows the binding.
    if (m_openDialog == Dialog::kControls) {
        SetSlotLabel(binding - 1, BindingLabel(binding));
    }
    m_keyCapture = kNoCapture;
}
