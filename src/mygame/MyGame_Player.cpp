#include "mygame/MyGame_Player.h"

// The movement comes with the stage; until then the player stands still.
Player::Player() = default;

Player::Player(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

// The sprite part only: a copy starts at rest with the standard steps.
Player::Player(const Player& other) : Sprite(other) {}

void Player::OnStart() { Sprite::OnStart(); }

void Player::Update(float dt) { Sprite::Update(dt); }

TUN_DEFINE_CLASS(Player)
