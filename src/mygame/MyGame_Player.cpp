#include "mygame/MyGame_Player.h"

#include "core/Core_File.h"
#include "input/Input_Mouse.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "mygame/MyGame_WeaponStateMachine.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Game.h"

#include <cmath>

TUN_DEFINE_CLASS(Player)

namespace {

constexpr std::uint32_t kGroundSegment = 22;
constexpr std::uint32_t kBlockLineSegment = 23;
// A block's line counts as ground only well below the player: its side must
// not catch a player rising past it.
constexpr float kBlockLineDepth = 40.0f;
constexpr float kScreenLeft = 30.0f;
constexpr float kScreenRight = 994.0f;
constexpr float kDimmedBar = 0.4f;

bool IsBlockLine(const Tundra::GameObject* object) {
    if (object == nullptr) {
        return false;
    }
    const Core::String& name = object->GetName();
    return name.size() >= 2 && name[0] == 'b' && name[1] == 'g';
}

WeaponSprite* MountWeapon(Player& player, const char* name) {
    WeaponSprite* weapon = Tundra::FindObject<WeaponSprite>(name);
    if (weapon != nullptr && weapon->GetMount() != &player) {
        player.Mount(weapon);
    }
    return weapon;
}

}  // namespace

Player::Player() {
    m_movementMachine = BuildMovementStateMachine(this);
    m_weaponMachine = BuildWeaponStateMachine(this);
}

Player::Player(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {
    m_movementMachine = BuildMovementStateMachine(this);
    m_weaponMachine = BuildWeaponStateMachine(this);
}

// The copy drives deep copies of the source's machines; its weapons are
// found when it starts.
Player::Player(const Player& other)
    : Sprite(other),
      m_movementMachine(static_cast<Machine*>(other.m_movementMachine->CloneState())),
      m_weaponMachine(static_cast<Machine*>(other.m_weaponMachine->CloneState())) {
    m_movementMachine->SetOwnerRecursive(this);
    m_weaponMachine->SetOwnerRecursive(this);
}

Player::~Player() {
    m_weaponMachine = nullptr;
    m_movementMachine = nullptr;
}

void Player::Save(Core::File& file) const {
    Sprite::Save(file);
    m_movementMachine->Save(file);
    m_weaponMachine->Save(file);
    file.WriteF32(m_velocity.x);
    file.WriteF32(m_velocity.y);
    file.WriteU8(m_facingRight);
    file.WriteU8(m_inAir);
    file << m_leftWeapon;
    file << m_rightWeapon;
    file.WriteF32(m_weaponBlend);
    file.WriteU8(m_wasPlaying);
}

void Player::Load(Core::File& file) {
    Sprite::Load(file);
    m_movementMachine->Load(file);
    m_weaponMachine->Load(file);
    Vector2D velocity = m_velocity;
    std::uint8_t facingRight = m_facingRight;
    std::uint8_t inAir = m_inAir;
    WeaponSprite* leftWeapon = m_leftWeapon;
    WeaponSprite* rightWeapon = m_rightWeapon;
    float weaponBlend = m_weaponBlend;
    std::uint8_t wasPlaying = m_wasPlaying;
    file.ReadF32(velocity.x);
    file.ReadF32(velocity.y);
    file.ReadU8(facingRight);
    file.ReadU8(inAir);
    file >> leftWeapon;
    file >> rightWeapon;
    file.ReadF32(weaponBlend);
    file.ReadU8(wasPlaying);
    if (!std::isfinite(velocity.x) || !std::isfinite(velocity.y) || !std::isfinite(weaponBlend) || facingRight > 1 ||
        inAir > 1 || wasPlaying > 1 || !StaysInItsLayer(leftWeapon) || !StaysInItsLayer(rightWeapon)) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_velocity = velocity;
    m_facingRight = facingRight;
    m_inAir = inAir;
    m_leftWeapon = leftWeapon;
    m_rightWeapon = rightWeapon;
    m_weaponBlend = weaponBlend;
    m_wasPlaying = wasPlaying;
}

void Player::OnStart() {
    Sprite::OnStart();
    m_leftWeapon = nullptr;
    m_rightWeapon = nullptr;
    m_leftWeapon = MountWeapon(*this, "LeftWeapon");
    m_rightWeapon = MountWeapon(*this, "RightWeapon");
    if (WeaponBar* bar = Tundra::FindObject<WeaponBar>("RightWeaponBar")) {
        bar->SetBrightness(kDimmedBar);
        bar->SetActive(false);
    }
}

void Player::Update(float dt) {
    Sprite::Update(dt);
    if (!GetVisible()) {
        return;
    }
    m_movementMachine->Update(dt);
    SetVelocity(m_velocity);
    FaceCursor();
    if (m_leftWeapon != nullptr) {
        m_leftWeapon->AimAtCursor();
    }
    if (m_rightWeapon != nullptr) {
        m_rightWeapon->AimAtCursor();
    }
    m_weaponMachine->Update(dt);
}

// Only the weapons keep their look: they turn toward the cursor instead.
void Player::FaceCursor() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    if (mouse == nullptr) {
        return;
    }
    const double offset = static_cast<double>(mouse->GetPositionX()) - static_cast<double>(GetPositionX());
    const bool flip = offset < 0.0;
    SetFlipHorizontal(flip);
    // By index, re-reading the count: flipping runs no game code, but a
    // mount list is the level's to change.
    for (int i = 0; i < GetMountsCount(); ++i) {
        Tundra::GameObject* mounted = GetMountAt(i);
        if (mounted == m_leftWeapon || mounted == m_rightWeapon) {
            continue;
        }
        if (auto* sprite = dynamic_cast<Tundra::Sprite*>(mounted)) {
            sprite->SetFlipHorizontal(flip);
        }
    }
}

void Player::SetPaused(bool paused) {
    if (paused && GetCurrentAnimationIndex() != kDeathAnimation) {
        m_wasPlaying = IsPlaying() ? 1 : 0;
        if (m_wasPlaying != 0) {
            Pause();
        }
    } else if (m_wasPlaying != 0) {
        Play(true);
    }
}

bool Player::IsOnGround() const {
    const Collision2D::DynamicObject* object = GetCollisionObject();
    if (Tundra::IsCollidedWithSpriteLineSegment(object, kGroundSegment)) {
        return true;
    }
    const int count = Tundra::GetNumberOfCollidedSprites(object, true);
    if (!Tundra::IsCollidedWithSpriteLineSegment(object, kBlockLineSegment) || count == 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const Tundra::GameObject* other = Tundra::GetCollidedSprite(object, i, true);
        if (IsBlockLine(other) && GetPositionY() - other->GetPositionY() > kBlockLineDepth) {
            return true;
        }
    }
    return false;
}

void Player::ClampToScreen() {
    const float x = GetPositionX();
    if (x < kScreenLeft && m_velocity.x < 0.0f) {
        m_velocity.x = 0.0f;
    }
    if (x > kScreenRight && m_velocity.x > 0.0f) {
        m_velocity.x = 0.0f;
    }
}
