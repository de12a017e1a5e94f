#include "mygame/MyGame_WepSelUI.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WeaponKind.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"

TUN_DEFINE_CLASS(WepSelUI)

namespace {

// A menu element brought in by the delayed fade-in starts here.
constexpr float kFadeInStart = -3.0f;

}  // namespace

WepSelUI::WepSelUI() : m_machine(BuildWepSelSM(this)) {}

WepSelUI::WepSelUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations), m_machine(BuildWepSelSM(this)) {}

WepSelUI::WepSelUI(const WepSelUI& other)
    : Sprite(other), m_mode(other.m_mode), m_machine(static_cast<StateMachine*>(other.m_machine->CloneState())) {
    m_machine->SetOwnerRecursive(this);
}

WepSelUI::~WepSelUI() = default;

void WepSelUI::Save(Core::File& file) const {
    Sprite::Save(file);
    const Core::RefPtr<StateMachine> machine(m_machine);
    machine->Save(file);
    file.WriteI32(m_mode);
    file << m_template;
    file << m_leftIcon;
    file << m_rightIcon;
    WriteLinks(file, m_candidates);
}

void WepSelUI::Load(Core::File& file) {
    Sprite::Load(file);
    if (file.HasFailed()) {
        return;
    }
    // Read into a copy, kept only when the whole stream is sound.
    const Core::RefPtr<StateMachine> machine(static_cast<StateMachine*>(m_machine->CloneState()));
    machine->Load(file);
    std::int32_t mode = m_mode;
    Core::RefPtr<WepSelButton> buttonTemplate;
    Core::RefPtr<WepSelButton> leftIcon;
    Core::RefPtr<WepSelButton> rightIcon;
    file.ReadI32(mode);
    ReadLink(file, buttonTemplate);
    ReadLink(file, leftIcon);
    ReadLink(file, rightIcon);
    std::vector<Core::RefPtr<WepSelButton>> candidates;
    // One icon for each weapon at most.
    ReadLinks(file, kIconAnimations, candidates);
    if (mode < kIdle || mode > kChooseRight) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_machine = machine;
    m_mode = mode;
    m_template = buttonTemplate;
    m_leftIcon = leftIcon;
    m_rightIcon = rightIcon;
    m_candidates = std::move(candidates);
    // The column's buttons came back without the state that chose them:
    // the panel starts idle, and its next update ends the column.
    const bool columnOpen = m_machine->GetCurrent() != kIdleSel || m_mode != kIdle || !m_candidates.empty();
    if (columnOpen) {
        m_machine->Reset(0.0f);
        m_mode = kIdle;
        m_columnLeftByLoad = 1;
    }
}

void WepSelUI::OnStart() {
    Sprite::OnStart();
    m_template = Tundra::FindObject<WepSelButton>("WepSelTemplate");
    m_mode = kIdle;
    // Started again (a read level): the icons made before would stay behind.
    for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
        if (icon != nullptr) {
            icon->Destroy();
        }
    }
    const MyGame* game = GetGame();
    const PlayerProfile profile = game != nullptr ? game->GetProfile() : PlayerProfile{};
    m_rightIcon = MakeIcon(kIconDx, profile.RightWeapon());
    m_leftIcon = MakeIcon(-kIconDx, profile.LeftWeapon());
}

void WepSelUI::Update(float dt) {
    Sprite::Update(dt);
    if (IsDestroyRequested()) {
        return;
    }
    if (m_columnLeftByLoad != 0) {
        m_columnLeftByLoad = 0;
        DestroyCandidates();
        for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
            if (icon != nullptr) {
                icon->SetClicked(false);
            }
        }
    }
    if (GetVisible()) {
        m_machine->Update(dt);
    }
}

void WepSelUI::SetPosition(float x, float y) {
    Sprite::SetPosition({x, y});
    const Vector2D right(x + kIconDx, y + kIconDy);
    const Vector2D left(x - kIconDx, y + kIconDy);
    if (m_rightIcon) {
        m_rightIcon->SetPosition(right);
        m_rightIcon->SetOldPosition(right);
    }
    if (m_leftIcon) {
        m_leftIcon->SetPosition(left);
        m_leftIcon->SetOldPosition(left);
    }
}

void WepSelUI::SetIconsVisible(bool visible) {
    for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
        if (icon != nullptr) {
            icon->SetOpacity(kFadeInStart);
            icon->SetVisible(visible);
        }
    }
}

void WepSelUI::Open(float x, float y) {
    SetPosition(x, y);
    SetVisible(true);
    SetIconsVisible(false);
    for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
        if (icon != nullptr) {
            icon->SetShowPending(true);
        }
    }
}

// A pending show would bring an icon back after the panel closed.
void WepSelUI::Close() {
    DestroyCandidates();
    m_machine->SetStateByName("IDLESEL");
    m_mode = kIdle;
    SetIconsVisible(false);
    for (WepSelButton* icon : {m_leftIcon.Get(), m_rightIcon.Get()}) {
        if (icon != nullptr) {
            icon->SetShowPending(false);
        }
    }
    SetVisible(false);
}

WepSelButton* WepSelUI::CloneTemplateToHud() const {
    MyGame* game = GetGame();
    Tundra::Layer* hud = game != nullptr ? game->GetHudLayer() : nullptr;
    if (!m_template || hud == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Core::Object> clone(m_template->Clone());
    auto* button = dynamic_cast<WepSelButton*>(clone.Get());
    if (button != nullptr) {
        hud->AddGameObject(button);
    }
    return button;
}

WepSelButton* WepSelUI::MakeIcon(float dx, std::uint32_t weaponBits) {
    WepSelButton* icon = CloneTemplateToHud();
    if (icon == nullptr) {
        return nullptr;
    }
    const Vector2D at(GetPositionX() + dx, GetPositionY() + kIconDy);
    icon->SetPosition(at);
    icon->SetOldPosition(at);
    const int animation = IconAnimation(weaponBits);
    if (animation >= 0) {
        icon->SetCurrentAnimationIndex(animation, false);
    }
    icon->SetVisible(false);
    return icon;
}

int WepSelUI::IconAnimation(std::uint32_t weaponBits) {
    const int animation = WeaponAnimationIndex(weaponBits);
    return animation < kIconAnimations ? animation : -1;
}

void WepSelUI::DestroyCandidates() {
    // Taken first: a destroy hook may reach back into the panel.
    const std::vector<Core::RefPtr<WepSelButton>> candidates = std::move(m_candidates);
    m_candidates.clear();
    for (const Core::RefPtr<WepSelButton>& candidate : candidates) {
        candidate->Destroy();
    }
}
