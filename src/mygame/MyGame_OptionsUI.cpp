#include "mygame/MyGame_OptionsUI.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

#include <utility>

TUN_DEFINE_CLASS(OptionsUI)

namespace {

// The frame collapsed to a point under the machine's column, and open.
constexpr UiFrameRect kClosedFrame{-227.0f, -218.0f, -227.0f, -218.0f, 0.0f};
constexpr UiFrameRect kOpenFrame{-294.0f, 275.0f, 170.0f, -283.0f, 1.0f};
const Vector2D kCloseButtonAt{150.0f, 255.0f};
const Vector2D kPageTitleAt{-62.0f, 250.0f};
// The close button's one-character sheet.
constexpr int kCloseAnimation = 1;

template <class T>
void Hide(const Core::RefPtr<T>& object) {
    if (object) {
        object->SetVisible(false);
    }
}

}  // namespace

OptionsUI::OptionsUI() = default;

OptionsUI::OptionsUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : VendingMachine(animations) {}

OptionsUI::OptionsUI(const OptionsUI& other) : VendingMachine(other) {}

OptionsUI::~OptionsUI() = default;

void OptionsUI::Save(Core::File& file) const {
    VendingMachine::Save(file);
    file.WriteU8(m_shown);
    file << m_closeButton;
    file << m_credits;
    file << m_volumeControl;
    for (const Core::RefPtr<LabeledButton>& button : m_pageButtons) {
        file << button;
    }
    file.WriteU32(m_captureMode);
    file << m_pageTitle;
}

void OptionsUI::Load(Core::File& file) {
    VendingMachine::Load(file);
    std::uint8_t shown = m_shown;
    Core::RefPtr<LabeledButton> closeButton;
    Core::RefPtr<Tundra::Sprite> credits;
    Core::RefPtr<VolumeControl> volumeControl;
    std::array<Core::RefPtr<LabeledButton>, kSlotCount> pageButtons;
    std::uint32_t captureMode = m_captureMode;
    Core::RefPtr<CenteredText> pageTitle;
    ReadFlagByte(file, shown);
    ReadLink(file, closeButton);
    ReadLink(file, credits);
    ReadLink(file, volumeControl);
    for (Core::RefPtr<LabeledButton>& button : pageButtons) {
        ReadLink(file, button);
    }
    file.ReadU32(captureMode);
    ReadLink(file, pageTitle);
    // A key waits only on a page that is up.
    const bool captureHeld = captureMode <= kCaptureJump && (captureMode == kNoCapture || shown != 0);
    if (file.HasFailed() || !captureHeld) {
        file.SetFailed();
        return;
    }
    m_shown = shown;
    m_closeButton = closeButton;
    m_credits = credits;
    m_volumeControl = volumeControl;
    m_pageButtons = std::move(pageButtons);
    m_captureMode = captureMode;
    m_pageTitle = pageTitle;
    // The button outlives every page; only its callback was not streamed.
    if (m_closeButton) {
        m_closeButton->SetClickCallback([this] { Close(); });
    }
}

void OptionsUI::OnStart() {
    VendingMachine::OnStart();
    m_credits = Tundra::FindObject<Tundra::Sprite>("Credits");
    m_volumeControl = Tundra::FindObject<VolumeControl>("VolumeBG");
    if (UiFrame* frame = GetFrame()) {
        frame->SetRect(kClosedFrame);
    }
    // A second start replaces what the first made.
    ClearPage();
    if (m_closeButton) {
        m_closeButton->Destroy();
    }
    if (m_pageTitle) {
        m_pageTitle->Destroy();
    }
    m_closeButton = MakeLabeledButton(kCloseButtonAt, "X", kCloseAnimation, [this] { Close(); });
    Hide(m_closeButton);
    m_pageTitle = CreateCenteredText(kPageTitleAt, "");
    Hide(m_pageTitle);
    m_shown = 0;
}

void OptionsUI::Update(float dt) {
    VendingMachine::Update(dt);
    if (IsOpen() && m_shown == 0) {
        LayOutOpen();
    } else if (!IsOpen() && m_shown != 0) {
        LayOutClosed();
    }
    CaptureKey();
}

void OptionsUI::OnEnd() {
    VendingMachine::OnEnd();
    ClearPage();
    if (m_closeButton) {
        const Core::RefPtr<LabeledButton> button = std::move(m_closeButton);
        button->Destroy();
    }
}

void OptionsUI::EndMenuAfterLoad() { LayOutClosed(); }

void OptionsUI::LayOutOpen() {
    TargetFrame(GetFrame(), kOpenFrame);
    if (m_closeButton) {
        m_closeButton->SetOpacity(-3.0f);
        m_closeButton->SetVisible(false);
        m_closeButton->SetShowPending(true);
    }
    ShowMainPage();
    m_shown = 1;
}

// Leaving the menu applies the volume the slider may have changed (silence
// when muted) but saves nothing.
void OptionsUI::LayOutClosed() {
    TargetFrame(GetFrame(), kClosedFrame);
    ClearPage();
    Hide(m_closeButton);
    Hide(m_credits);
    Hide(m_volumeControl);
    Hide(m_pageTitle);
    ApplyVolume();
    m_shown = 0;
}

void OptionsUI::ApplyVolume() {
    if (MyGame* game = GetGame()) {
        game->SetVolume(game->IsMuted() ? 0.0f : game->GetVolume(), kVolumeFadeSeconds);
    }
}

void OptionsUI::Close() {
    CloseMenu();
    Hide(m_credits);
}

LabeledButton* OptionsUI::GetPageButton(std::size_t slot) const {
    return slot < kSlotCount ? m_pageButtons[slot].Get() : nullptr;
}
