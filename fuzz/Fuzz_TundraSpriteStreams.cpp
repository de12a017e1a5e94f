#include "Fuzz_Harness.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteShapes.h"

#include <vector>

// Sprites come back from save games, and after them the level's collided
// sprite ids: any bytes must read into sprites that animate, show their
// collision shapes, clone and go with their level in a running game, or into
// nothing. The first byte chooses how many sprites are read (1 or 2) and
// whether the rest of the stream then feeds the ids of the level's first
// sprite (bit 1).
namespace {

constexpr float kFrame = 0.016f;

// Held for the whole run, so that their sheets stay cached for the sprites
// read back, which name the same files.
const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& Animations() {
    static const auto animations =
        tundratest::SpriteAnimations(Tundra::Game::GetDirectory() + "\\Resources\\Animations\\");
    return animations;
}

// Two overlapping sprites with collision objects on the shapes actor, both
// displays on, in one layer with static ground.
struct SpriteFactory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        auto* level = TUN_NEW(Tundra::Level);
        auto* layer = TUN_NEW(Tundra::Layer, 0.0f);
        level->AddLayer(layer);
        layer->AddStaticLineSegment({-1000.0f, -10.0f}, {1000.0f, -10.0f}, 0, 1);
        Tundra::Game& game = *Tundra::Game::GetInstance();
        game.AddCollisionAssets(tundratest::SpriteShapesActor());
        for (const float x : {0.0f, 1.0f}) {
            auto* sprite = TUN_NEW(Tundra::Sprite, Animations());
            sprite->SetPosition({x, 0.0f});
            auto* object = new Collision2D::DynamicObject;
            object->AddCollisionData(game.GetCollisionAssets().back(), 0, 0);
            object->SetCanCollid(0, true);
            sprite->AddCollision(object, layer->GetCollisionId());
            sprite->SetCollisionActorIndex(0);
            sprite->SetVisibleCollisionData(true);
            sprite->SetVisibleBoundingRectangle(true);
            sprite->Play(true);
            layer->AddGameObject(sprite);
        }
        return level;
    }
};

// One game for the whole run (making one per input would cost most of the
// time); every input starts on a freshly built level.
Tundra::Game& RestartedGame() {
    static Tundra::Game* game = [] {
        auto* made = TUN_NEW(Tundra::Game, TUN_NEW(SpriteFactory), Engine::StartupSettings{64, 48}, 0);
        made->AddReference();
        made->Frame();
        return made;
    }();
    game->RestartLevel();
    game->ChangeLevelNow();
    return *game;
}

void Step(Tundra::Game& game, int frames) {
    for (int i = 0; i < frames && game.GetCurrentLevel() != nullptr; ++i) {
        game.Update(kFrame);
    }
}

Tundra::Sprite* FirstSprite(const Tundra::Game& game) {
    std::vector<Tundra::GameObject*> objects;
    game.GetCurrentLevel()->GetLayer(0)->GetGameObjects(objects);
    return objects.empty() ? nullptr : dynamic_cast<Tundra::Sprite*>(objects[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t mode = input.Byte();
    const fuzz::Bytes rest = input.Rest();
    Core::MemoryFile file(rest.data(), static_cast<std::uint32_t>(rest.size()));
    Tundra::Game& game = RestartedGame();
    Step(game, 1);
    std::vector<Core::RefPtr<Tundra::Sprite>> read;
    for (int i = 0; i <= (mode & 1) && !file.HasFailed(); ++i) {
        read.push_back(file.ReadObjectAs<Tundra::Sprite>(Core::File::Reference::Owning));
    }
    if ((mode & 2) != 0 && !file.HasFailed()) {
        if (Tundra::Sprite* first = FirstSprite(game)) {
            first->ReadCollidedSpriteIds(file, *game.GetCurrentLevel());
        }
    }
    Tundra::Layer& layer = *game.GetCurrentLevel()->GetLayer(0);
    for (const Core::RefPtr<Tundra::Sprite>& sprite : read) {
        if (sprite) {
            sprite->Play(true);
            layer.AddGameObject(sprite.Get());
            const Core::RefPtr<Core::Object> clone = sprite->Clone();
            layer.AddGameObject(static_cast<Tundra::GameObject*>(clone.Get()));
        }
    }
    Step(game, 2);
    for (const Core::RefPtr<Tundra::Sprite>& sprite : read) {
        if (sprite) {
            Core::MemoryFile again;
            again << sprite;
            sprite->WriteCollidedSpriteIds(again);
            sprite->SetVisibleCollisionData(false);
            sprite->Destroy();
        }
    }
    read.clear();
    Step(game, 1);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Tundra::Game& game = RestartedGame();
    Step(game, 3);
    Tundra::Sprite& sprite = *FirstSprite(game);
    for (const std::uint8_t mode : {0, 2, 3}) {
        Core::MemoryFile file;
        file.WriteU8(mode);
        file << &sprite;
        if (mode & 1) {
            file << &sprite;
        }
        sprite.WriteCollidedSpriteIds(file);
        seeds.Add("sprite_mode" + std::to_string(mode), fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    }
}
