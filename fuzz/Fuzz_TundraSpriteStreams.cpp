#include "Fuzz_RunningGame.h"

#include "collision/Collision_DynamicObject.h"
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

// Held for the whole run, so that their sheets stay cached for the sprites
// read back, which name the same files.
const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& Animations() {
    static const auto animations =
        tundratest::SpriteAnimations(Tundra::Game::GetDirectory() + "\\Resources\\Animations\\");
    return animations;
}

// Two overlapping sprites with collision objects on the shapes actor, both
// displays on, in one layer with static ground.
Tundra::Level* SpriteLevel() {
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

Tundra::Sprite* FirstSprite(const Tundra::Game& game) {
    std::vector<Tundra::GameObject*> objects;
    game.GetCurrentLevel()->GetLayer(0)->GetGameObjects(objects);
    return objects.empty() ? nullptr : dynamic_cast<Tundra::Sprite*>(objects[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ChoiceAndStream input(data, size);
    const std::uint8_t mode = input.choice;
    Core::MemoryFile& file = input.file;
    Tundra::Game& game = fuzz::RestartedGame<SpriteLevel>();
    fuzz::Step(game, 1);
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
            fuzz::JoinWithClone(layer, *sprite);
        }
    }
    fuzz::Step(game, 2);
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
    fuzz::Step(game, 1);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Tundra::Game& game = fuzz::RestartedGame<SpriteLevel>();
    fuzz::Step(game, 3);
    Tundra::Sprite& sprite = *FirstSprite(game);
    for (const std::uint8_t mode : {0, 2, 3}) {
        Core::MemoryFile file;
        file.WriteU8(mode);
        file << &sprite;
        if (mode & 1) {
            file << &sprite;
        }
        sprite.WriteCollidedSpriteIds(file);
        seeds.Add("sprite_mode" + std::to_string(mode), fuzz::BytesOf(file));
    }
}
