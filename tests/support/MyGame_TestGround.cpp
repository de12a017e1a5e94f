#include "support/MyGame_TestGround.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_MapTile.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"

namespace mygametest {

bool LayFlatGround() {
    constexpr float kTileSize = 46.0f;
    constexpr float kFirstX = 24.0f;
    constexpr float kTopY = 24.0f;
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
        const Vector2D position{kFirstX + kTileSize * static_cast<float>(column), kTopY};
        tile->SetOldPosition(position);
        tile->SetPosition(position);
        tile->SetVisible(true);
        tile->SetVariant(MapTile::kFlatTop);
    }
    return true;
}

}  // namespace mygametest
