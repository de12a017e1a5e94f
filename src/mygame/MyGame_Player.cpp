#include "mygame/MyGame_Player.h"

#include "core/Core_File.h"

TUN_DEFINE_CLASS(Player)

Player::Player() = default;

Player::Player(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Player::Player(const Player& other) : Sprite(other) {}

Player::~Player() = default;

void Player::Save(Core::File& file) const { Sprite::Save(file); }

void Player::Load(Core::File& file) { Sprite::Load(file); }

void Player::OnStart() { Sprite::OnStart(); }

void Player::Update(float dt) { Sprite::Update(dt); }

void Player::SetPaused(bool) {}

bool Player::IsOnGround() const { return false; }

void Player::ClampToScreen() {}
