#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_StateBuilder.h"

// The boss warning, played once per activation: slide the marker to the
// middle, raise the strip to the screen's centre, swell the bar into a
// banner, show the two warnings for two seconds each, shrink the bar and
// sink the strip back to the bottom. Every step is per update, not per
// second, and each exit lands exactly on its end. A missing named sprite
// skips its steps and never holds the warning up.

namespace {

constexpr float kMarkerStep = 3.5f;
constexpr float kRiseStep = 5.5f;
constexpr float kSinkStep = 6.5f;
constexpr float kBottomY = -358.0f;
constexpr float kMarkerRestX = 109.0f;
constexpr float kShowTime = 2.0f;
const Vector2D kWarningTextAt{0.0f, 108.0f};
const Vector2D kWarningBossAt{0.0f, -62.0f};
const Vector2D kWarningsAway{0.0f, -700.0f};

// The banner the bar swells into, and the steps there and back.
constexpr float kSwollenScaleX = 3.0f;
constexpr float kSwollenScaleY = 60.0f;
constexpr float kSwollenOpacity = 0.8f;
constexpr float kSwellStepX = 0.075f;
constexpr float kSwellStepY = 1.5f;
constexpr float kShrinkStepX = 0.2f;
constexpr float kShrinkStepY = 2.0f;
constexpr float kOpacityStep = 0.01f;
constexpr float kSwollenZ = 0.11f;
constexpr float kRestingZ = -0.1f;

}  // namespace

DistanceUI::StateMachine* DistanceUI::BuildBossIncomingSM(DistanceUI* owner) {
    using Self = DistanceUI;
    StateMachine::StateList states;
    AppendState<Self>(states, "UI_TO_POS", 0.0f, nullptr, &Self::SlideToZero, &Self::SettleAtZero)
        ->AddTransition(kAllToCentre, &Self::IsAtZero, 0.0f);
    AppendState<Self>(states, "DISPLAY_WARNING", 0.0f, &Self::ShowWarningText, nullptr, &Self::MarkWarningShown)
        ->AddTransition(kDisplayText, &Self::Always, kShowTime);
    AppendState<Self>(states, "DISPLAY_TEXT", 0.0f, &Self::ShowWarningBoss, nullptr, nullptr)
        ->AddTransition(kResetBar, &Self::Always, kShowTime);
    AppendState<Self>(states, "ALL_BACK", 0.0f, nullptr, &Self::SinkToBottom, &Self::SettleAtBottom)
        ->AddTransition(kUiToPos, &Self::IsAtBottom, 0.0f);
    AppendState<Self>(states, "ALL_TO_CENTRE", 0.0f, nullptr, &Self::RiseToCentre, &Self::SettleAtCentre)
        ->AddTransition(kScaleBar, &Self::IsAtCentre, 0.0f);
    AppendState<Self>(states, "RESET_BAR", 0.0f, &Self::HideWarnings, &Self::ShrinkBar, &Self::SettleShrunk)
        ->AddTransition(kAllBack, &Self::IsBarShrunk, 0.0f);
    AppendState<Self>(states, "SCALE_BAR", 0.0f, &Self::MarkBarSwollen, &Self::SwellBar, &Self::SettleSwollen)
        ->AddTransition(kDisplayWarning, &Self::IsBarSwollen, 0.0f);
    StateMachine* machine = TUN_NEW(StateMachine, states, kUiToPos, 0.0f, owner);
    machine->SetName("BossIncomingSM");
    return machine;
}

// The machine rests here once the sequence has cleared active (the same
// update enters this state): the marker stays where the sequence left it.
void DistanceUI::SlideToZero(float) {
    if (m_active != 0 && GetPositionX() > 0.0f) {
        SetPositionX(GetPositionX() - kMarkerStep);
    }
}

void DistanceUI::SettleAtZero(float) { SetPositionX(0.0f); }

bool DistanceUI::IsAtZero(float) { return GetPositionX() <= 0.0f; }

void DistanceUI::RiseToCentre(float) {
    if (GetPositionY() < 0.0f) {
        SetStripY(GetPositionY() + kRiseStep);
    }
}

void DistanceUI::SettleAtCentre(float) { SetStripY(0.0f); }

bool DistanceUI::IsAtCentre(float) { return GetPositionY() >= 0.0f; }

void DistanceUI::MarkBarSwollen(float) {
    if (m_bar) {
        m_bar->SetZOrder(kSwollenZ);
    }
}

void DistanceUI::SwellBar(float) {
    if (!m_bar) {
        return;
    }
    if (m_bar->GetScaleX() < kSwollenScaleX) {
        m_bar->SetScaleX(m_bar->GetScaleX() + kSwellStepX);
    }
    if (m_bar->GetScaleY() < kSwollenScaleY) {
        m_bar->SetScaleY(m_bar->GetScaleY() + kSwellStepY);
    }
    if (m_bar->GetOpacity() > kSwollenOpacity) {
        m_bar->SetOpacity(m_bar->GetOpacity() - kOpacityStep);
    }
}

void DistanceUI::SettleSwollen(float) {
    if (m_bar) {
        m_bar->SetScale(kSwollenScaleX, kSwollenScaleY);
        m_bar->SetOpacity(kSwollenOpacity);
    }
}

bool DistanceUI::IsBarSwollen(float) {
    return !m_bar || (m_bar->GetScaleX() >= kSwollenScaleX && m_bar->GetScaleY() >= kSwollenScaleY &&
                      m_bar->GetOpacity() <= kSwollenOpacity);
}

void DistanceUI::ShowWarningText(float) {
    if (m_warningText) {
        m_warningText->SetPosition(kWarningTextAt);
    }
}

void DistanceUI::MarkWarningShown(float) { m_warningShown = 1; }

void DistanceUI::ShowWarningBoss(float) {
    if (m_warningBoss) {
        m_warningBoss->SetPosition(kWarningBossAt);
    }
}

bool DistanceUI::Always(float) { return true; }

void DistanceUI::HideWarnings(float) {
    for (Tundra::Sprite* warning : {m_warningText.Get(), m_warningBoss.Get()}) {
        if (warning != nullptr) {
            warning->SetPosition(kWarningsAway);
        }
    }
}

void DistanceUI::ShrinkBar(float) {
    if (!m_bar) {
        return;
    }
    if (m_bar->GetScaleX() > 1.0f) {
        m_bar->SetScaleX(m_bar->GetScaleX() - kShrinkStepX);
    }
    if (m_bar->GetScaleY() > 1.0f) {
        m_bar->SetScaleY(m_bar->GetScaleY() - kShrinkStepY);
    }
    if (m_bar->GetOpacity() < 1.0f) {
        m_bar->SetOpacity(m_bar->GetOpacity() + kOpacityStep);
    }
}

void DistanceUI::SettleShrunk(float) {
    if (m_bar) {
        m_bar->SetScale(1.0f, 1.0f);
        m_bar->SetOpacity(1.0f);
        m_bar->SetZOrder(kRestingZ);
    }
}

bool DistanceUI::IsBarShrunk(float) {
    return !m_bar || (m_bar->GetScaleX() <= 1.0f && m_bar->GetScaleY() <= 1.0f && m_bar->GetOpacity() >= 1.0f);
}

void DistanceUI::SinkToBottom(float) {
    if (GetPositionY() > kBottomY) {
        SetStripY(GetPositionY() - kSinkStep);
    }
}

void DistanceUI::SettleAtBottom(float) {
    SetStripY(kBottomY);
    SetPositionX(kMarkerRestX);
    m_active = 0;
}

bool DistanceUI::IsAtBottom(float) { return GetPositionY() <= kBottomY; }
