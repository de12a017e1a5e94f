#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_VolumeControl.h"
#include "tundra/Tundra_Sprite.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The title level's options machine: a column of labelled buttons rebuilt
// page by page. The main page leads to the controls page (a key button
// waits for the key to bind), the volume page (slider, mute, apply), the
// display toggle, the credits picture and "Reset Save". Settings reach
// their file only through a page's "back".
class OptionsUI : public VendingMachine {
    TUN_DECLARE_CLASS(OptionsUI);
    static constexpr std::size_t kSlotCount = 5;
    // How long the music takes to reach a volume the menu applies.
    static constexpr float kVolumeFadeSeconds = 0.25f;
    // Which key binding waits for a key press.
    enum Capture : std::uint32_t { kNoCapture = 0, kCaptureLeft = 1, kCaptureRight = 2, kCaptureJump = 3 };

    OptionsUI();
    explicit OptionsUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The machine's sprite part: nothing made or found, closed.
    OptionsUI(const OptionsUI& other);
    ~OptionsUI() override;

    // After the machine: shown, the close button, credits picture, volume
    // control, the five page slots, the capture mode and the page title
    // (object references). The close button gets its callback back; a page
    // read back open is ended at the first update.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds "Credits" and "VolumeBG", collapses the frame, makes the hidden
    // close button and page title; no page, no capture.
    void OnStart() override;
    // The machine's update, then the open or closed layout the open flag
    // asks for, then a waiting key capture.
    void Update(float dt) override;
    // The machine's end; the page's buttons and the close button go with it,
    // since their actions name this machine.
    void OnEnd() override;

    bool IsShown() const { return m_shown != 0; }
    LabeledButton* GetCloseButton() const { return m_closeButton.Get(); }
    Tundra::Sprite* GetCreditsPicture() const { return m_credits.Get(); }
    VolumeControl* GetVolumeControl() const { return m_volumeControl.Get(); }
    // Null past the slots or for an empty one.
    LabeledButton* GetPageButton(std::size_t slot) const;
    std::uint32_t GetCaptureMode() const { return m_captureMode; }
    CenteredText* GetPageTitle() const { return m_pageTitle.Get(); }

protected:
    void EndMenuAfterLoad() override;

private:
    void LayOutOpen();
    void LayOutClosed();
    // The key pressed this poll for the waiting binding.
    void CaptureKey();

    // The pages (their own source file). Each clears the last one first and
    // brings its buttons in from opacity -3.
    void ClearPage();
    void ShowMainPage();
    void ShowControlsPage();
    void ShowVolumePage();
    void ShowCreditsPage();
    void SetPageButton(std::size_t slot, LabeledButton* button);
    Core::String GetSlotLabel(std::size_t slot) const;
    void SetSlotLabel(std::size_t slot, const Core::String& text);
    void ShowPageTitle(const Core::String& text);
    void HidePageTitle();

    // The buttons' actions.
    void Close();
    // The character is the one the button showed when its page was built.
    void ToggleKeyCapture(std::uint32_t mode, char shownCharacter);
    void CancelKeyCapture(std::uint32_t mode);
    void ToggleMute();
    // The game's volume (silence when muted) to the music and effects.
    static void ApplyVolume();
    void ToggleFullScreen();
    void ResetSave();
    void BackFromControls();
    void BackFromVolume();
    void BackFromCredits();

    std::uint8_t m_shown = 0;
    // Objects of the HUD layer, not owned; held so a destroyed one is never
    // read freed.
    Core::RefPtr<LabeledButton> m_closeButton;
    Core::RefPtr<Tundra::Sprite> m_credits;
    Core::RefPtr<VolumeControl> m_volumeControl;
    std::array<Core::RefPtr<LabeledButton>, kSlotCount> m_pageButtons;
    std::uint32_t m_captureMode = kNoCapture;
    Core::RefPtr<CenteredText> m_pageTitle;
};
