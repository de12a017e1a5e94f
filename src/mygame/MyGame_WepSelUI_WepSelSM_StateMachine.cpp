#include "mygame/MyGame.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_StateBuilder.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "mygame/MyGame_WepSelUI.h"
#include "tundra/Tundra_FindObject.h"

#include <cstdio>

// "WepSelSM": idle until a hand icon is clicked; that hand's state shows its
// column until a pick or a click on an icon changes the mode; "CLEANUP"
// ends the column and follows the mode to idle or to the other hand.

namespace {

constexpr std::uint32_t kHalfBits = 16;
constexpr std::uint32_t kRightHalf = 0xFFFFu;

struct Hand {
    std::uint32_t shift;
    const char* bar;
    const char* weapon;
};

constexpr Hand kLeftHand{kHalfBits, "LeftWeaponBar", "LeftWeapon"};
constexpr Hand kRightHand{0, "RightWeaponBar", "RightWeapon"};

// The hand's half of the selected weapons becomes the single bit; the other
// half stays.
void SelectWeapon(PlayerProfile& profile, const Hand& hand, std::uint32_t weaponBit) {
    profile.selectedWeapons = (profile.selectedWeapons & ~(kRightHalf << hand.shift)) | (weaponBit << hand.shift);
}

}  // namespace

WepSelUI::StateMachine* WepSelUI::BuildWepSelSM(WepSelUI* owner) {
    using Self = WepSelUI;
    StateMachine::StateList states;
    AppendState<Self>(states, "RIGHTSEL", 0.0f, &Self::OpenRightColumn, &Self::ChooseRight, nullptr)
        ->AddTransition(kCleanup, &Self::IsNotChoosingRight, 0.0f);
    AppendState<Self>(states, "LEFTSEL", 0.0f, &Self::OpenLeftColumn, &Self::ChooseLeft, nullptr)
        ->AddTransition(kCleanup, &Self::IsNotChoosingLeft, 0.0f);
    Tundra::State<Self>* cleanup = AppendState<Self>(states, "CLEANUP", 0.0f, &Self::CloseColumn, nullptr, nullptr);
    cleanup->AddTransition(kIdleSel, &Self::IsIdle, 0.0f);
    cleanup->AddTransition(kRightSel, &Self::IsChoosingRight, 0.0f);
    cleanup->AddTransition(kLeftSel, &Self::IsChoosingLeft, 0.0f);
    Tundra::State<Self>* idle = AppendState<Self>(states, "IDLESEL", 0.0f, nullptr, nullptr, nullptr);
    idle->AddTransition(kLeftSel, &Self::TakeLeftIconClick, 0.0f);
    idle->AddTransition(kRightSel, &Self::TakeRightIconClick, 0.0f);
    StateMachine* machine = TUN_NEW(StateMachine, states, kIdleSel, 0.0f, owner);
    machine->SetName("WepSelSM");
    return machine;
}

void WepSelUI::OpenRightColumn(float /*dt*/) { OpenColumn(m_rightIcon.Get()); }

void WepSelUI::OpenLeftColumn(float /*dt*/) { OpenColumn(m_leftIcon.Get()); }

void WepSelUI::OpenColumn(WepSelButton* icon) {
    if (icon != nullptr) {
        icon->SetClicked(false);
    }
    MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    const PlayerProfile& profile = game->GetProfile();
    std::printf("GetUnlockWeapons: %u\n", static_cast<unsigned>(profile.unlockedWeapons));
    // Neither hand's weapon is offered, even one the profile holds without
    // having it unlocked: the two hands never end up with the same weapon.
    const std::uint32_t available =
        (profile.unlockedWeapons & 0xFFu) & ~(profile.LeftWeapon() | profile.RightWeapon());
    for (int animation = 0; animation < kIconAnimations; ++animation) {
        if ((available & (1u << animation)) == 0) {
            continue;
        }
        WepSelButton* candidate = CloneTemplateToHud();
        if (candidate == nullptr) {
            break;
        }
        candidate->SetCurrentAnimationIndex(animation, false);
        m_candidates.emplace_back(candidate);
    }
    if (icon == nullptr) {
        return;
    }
    Vector2D at = icon->GetPosition();
    const float step = static_cast<float>(icon->GetFrameHeight(0)) + kColumnGap;
    for (const Core::RefPtr<WepSelButton>& candidate : m_candidates) {
        at.y -= step;
        candidate->SetPosition(at);
        candidate->SetOldPosition(at);
        candidate->SetClicked(false);
        candidate->SetVisible(true);
    }
}

void WepSelUI::ChooseRight(float /*dt*/) { Choose(false); }

void WepSelUI::ChooseLeft(float /*dt*/) { Choose(true); }

void WepSelUI::Choose(bool leftHand) {
    const Hand& hand = leftHand ? kLeftHand : kRightHand;
    WepSelButton* icon = leftHand ? m_leftIcon.Get() : m_rightIcon.Get();
    // By index, re-reading the length: the weapon's start-up runs in here.
    for (std::size_t i = 0; i < m_candidates.size(); ++i) {
        const Core::RefPtr<WepSelButton> candidate = m_candidates[i];
        if (!candidate->IsClicked()) {
            continue;
        }
        const int animation = candidate->GetCurrentAnimationIndex();
        if (icon != nullptr) {
            icon->SetCurrentAnimationIndex(animation, false);
        }
        MyGame* game = GetGame();
        if (game != nullptr && animation >= 0 && animation < kIconAnimations) {
            const std::uint32_t weaponBit = 1u << animation;
            SelectWeapon(game->GetProfile(), hand, weaponBit);
            if (WeaponBar* bar = Tundra::FindObject<WeaponBar>(hand.bar)) {
                bar->SetWeapon(weaponBit);
            }
        }
        if (game != nullptr) {
            game->UpdateMoveSpeed();
        }
        if (WeaponSprite* weapon = Tundra::FindObject<WeaponSprite>(hand.weapon)) {
            weapon->OnStart();
        }
        if (CursorClass* cursor = Tundra::FindObject<CursorClass>("MainCursor")) {
            cursor->UpdateGaugeColours();
        }
        candidate->SetClicked(false);
        m_mode = kIdle;
    }
    WepSelButton* other = leftHand ? m_rightIcon.Get() : m_leftIcon.Get();
    const bool ownClicked = icon != nullptr && icon->IsClicked();
    if (other != nullptr && other->IsClicked()) {
        m_mode = ownClicked ? kIdle : (leftHand ? kChooseRight : kChooseLeft);
    } else if (ownClicked) {
        m_mode = kIdle;
    }
}

void WepSelUI::CloseColumn(float /*dt*/) {
    DestroyCandidates();
    for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
        if (icon != nullptr) {
            icon->SetClicked(false);
        }
    }
}

bool WepSelUI::IsNotChoosingRight(float /*dt*/) { return m_mode != kChooseRight; }

bool WepSelUI::IsNotChoosingLeft(float /*dt*/) { return m_mode != kChooseLeft; }

bool WepSelUI::IsIdle(float /*dt*/) { return m_mode == kIdle; }

bool WepSelUI::IsChoosingRight(float /*dt*/) { return m_mode == kChooseRight; }

bool WepSelUI::IsChoosingLeft(float /*dt*/) { return m_mode == kChooseLeft; }

bool WepSelUI::TakeLeftIconClick(float /*dt*/) {
    if (!m_leftIcon || !m_leftIcon->IsClicked()) {
        return false;
    }
    m_mode = kChooseLeft;
    return true;
}

bool WepSelUI::TakeRightIconClick(float /*dt*/) {
    if (!m_rightIcon || !m_rightIcon->IsClicked()) {
        return false;
    }
    m_mode = kChooseRight;
    return true;
}
