#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"

#include <string>

namespace {

// The authored levels: no objects yet, only each layer's static collision.
class GameContent final : public LevelContent {
public:
    void LoadCollisionActors(MyLevelFactory& factory) override { BuildCollisionActors(factory); }

    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) override {
        if (Tundra::Layer* target = factory.GetLayer(layer)) {
            const std::string file = "level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
            target->ReadInformation_StaticCollision(Tundra::Game::GetDirectory() + "\\Resources\\Layers Collisions\\" +
                                                    file.c_str());
        }
    }

    void ForgetObjects() override {}
};

}  // namespace

std::unique_ptr<LevelContent> MakeGameContent() { return std::make_unique<GameContent>(); }
