#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentPlacer.h"
#include "mygame/generated/MyGame_ContentTables.h"

namespace {

// The authored levels: each layer's rows, then its static collision.
class GameContent final : public LevelContent {
public:
    void LoadCollisionActors(MyLevelFactory& factory) override { BuildCollisionActors(factory); }

    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) override {
        m_placer.BuildLayer(factory, level, layer, ContentLevelRows(level));
    }

    void ForgetObjects() override { m_placer.ForgetObjects(); }

private:
    ContentPlacer m_placer;
};

}  // namespace

std::unique_ptr<LevelContent> MakeGameContent() { return std::make_unique<GameContent>(); }
