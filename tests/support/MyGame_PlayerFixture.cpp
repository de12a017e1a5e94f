#include "support/MyGame_PlayerFixture.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_PlayerMovement.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

namespace mygametest {
namespace {

// Collider tiles cloned from the level's template, across the screen.
bool LayFlatGround(float topY) {
    constexpr float kTileSize = 46.0f;
    constexpr float kFirstX = 24.0f;
    constexpr int kColumns = 23;
    const auto* tileTemplate = Tundra::FindObject<MapTile>("MapTileColliderTemplate");
    MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (tileTemplate == nullptr || world == nullptr) {
        return false;
    }
    for (int column = 0; column < kColumns; ++column) {
        auto* tile = static_cast<MapTile*>(tileTemplate->Clone());
        world->AddGameObject(tile);
        const Vector2D position{kFirstX + kTileSize * static_cast<float>(column), topY};
        tile->SetOldPosition(position);
        tile->SetPosition(position);
        tile->SetVisible(true);
        tile->SetVariant(MapTile::kFlatTop);
    }
    return true;
}

}  // namespace

const os::VirtualKey PlayerFixture::kLeftKey = os::VirtualKey('A');
const os::VirtualKey PlayerFixture::kRightKey = os::VirtualKey('D');
const os::VirtualKey PlayerFixture::kJumpKey = os::VirtualKey('W');

void PlayerFixture::SetUp() {
    StageFixture::SetUp();
    ASSERT_TRUE(EnterStage(0));
    ASSERT_TRUE(LayFlatGround(kFlatGroundY));
    m_player = Find<Player>("Player");
    ASSERT_NE(m_player, nullptr);
    ASSERT_EQ(Game().GetMoveSpeedFactor(), 1.0f);
    m_player->SetPosition({500.0f, kFlatGroundY + 100.0f});
    AimAt({1000.0f, 400.0f});
    ASSERT_TRUE(RunUntil([this] { return MovementState() == kMovementIdle; }, 600));
    m_groundY = m_player->GetPositionY();
}

void PlayerFixture::TearDown() {
    for (os::VirtualKey key : {kLeftKey, kRightKey, kJumpKey}) {
        Release(key);
    }
    StageFixture::TearDown();
}

std::int32_t PlayerFixture::MovementState() const { return m_player->GetMovementMachine()->GetCurrent(); }

Vector2D PlayerFixture::BodyVelocity() const {
    Vector2D velocity;
    m_player->GetVelocity(velocity);
    return velocity;
}

void PlayerFixture::StandAt(float x) {
    m_player->SetOldPosition({x, m_groundY});
    m_player->SetPosition({x, m_groundY});
    Step();
}

}  // namespace mygametest
