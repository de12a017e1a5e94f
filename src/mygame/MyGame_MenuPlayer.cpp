#include "mygame/MyGame_MenuPlayer.h"

#include "core/Core_File.h"

TUN_DEFINE_CLASS(MenuPlayer)

namespace {

constexpr std::int32_t kMenuRightStep = 10;
constexpr std::int32_t kMenuLeftStep = -10;

}  // namespace

MenuPlayer::MenuPlayer() { SetMenuSteps(); }

MenuPlayer::MenuPlayer(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Player(animations) {
    SetMenuSteps();
}

MenuPlayer::MenuPlayer(const MenuPlayer& other) : Player(other), m_controlsOn(other.m_controlsOn) { SetMenuSteps(); }

void MenuPlayer::SetMenuSteps() {
    m_rightStep = kMenuRightStep;
    m_leftStep = kMenuLeftStep;
}

void MenuPlayer::Save(Core::File& file) const {
    Player::Save(file);
    file.WriteU8(m_controlsOn);
}

void MenuPlayer::Load(Core::File& file) {
    Player::Load(file);
    std::uint8_t controlsOn = m_controlsOn;
    file.ReadU8(controlsOn);
    if (controlsOn > 1) {
        file.SetFailed();
    }
    if (!file.HasFailed()) {
        m_controlsOn = controlsOn;
    }
}

void MenuPlayer::OnStart() {
    Player::OnStart();
    m_facingRight = 0;
    m_controlsOn = 0;
}

void MenuPlayer::Update(float dt) {
    SetFlipHorizontal(m_facingRight == 0);
    if (m_controlsOn == 0) {
        // Frozen: neither the movement nor the weapons run.
        SetVelocity({0.0f, 0.0f});
        return;
    }
    Player::Update(dt);
    if (GetPositionX() > kRightEdge && m_velocity.x > 0.0f) {
        m_velocity.x = 0.0f;
    }
}
