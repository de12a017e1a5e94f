#include "mygame/MyGame_GamePlayer.h"

TUN_DEFINE_CLASS(GamePlayer)

GamePlayer::GamePlayer() = default;

GamePlayer::GamePlayer(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Player(animations) {}

GamePlayer::GamePlayer(const GamePlayer& other) : Player(other) {}

GamePlayer::~GamePlayer() = default;

void GamePlayer::Save(Core::File& file) const { Player::Save(file); }

void GamePlayer::Load(Core::File& file) { Player::Load(file); }

void GamePlayer::OnStart() {
    Player::OnStart();
    m_invulnerableTime = 0.0f;
    m_blinkPhase = 0.0f;
}

void GamePlayer::Update(float dt) { Player::Update(dt); }
