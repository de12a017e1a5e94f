#include "Collision_TestScenes.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace Collision2D;
using namespace scenes;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const Core::MemoryFile& file) { return Bytes(file.GetData(), file.GetData() + file.GetSize()); }

// Two layers with statics (one removed), a freed entry, moved objects and
// the records of two passes.
Bytes EngineStream(const CollisionActor* player, const CollisionActor* tile) {
    CollisionEngine engine;
    engine.AddLayer();
    engine.AddLayer();
    engine.SetLayerGrid(1, {-100, -100}, 2000, 800, 64);
    engine.AddObject(new StaticCollisionLineSegment(Math::LineSegment2D({-500, 0}, {500, 0})), 1, {});
    engine.RemoveObject(engine.AddObject(new StaticCollisionCircle(Math::Circle2D({0, 0}, 3)), 1, {}));
    engine.AddObject(new StaticCollisionCircle(Math::Circle2D({40, 60}, 9)), 1, {});
    const std::uint32_t gone = engine.AddObject(MakeObject(tile, kTile), 1, {0, 0});
    engine.AddObject(MakeObject(tile, kTile, 0, 2), 1, {48, 0});
    const std::uint32_t moving = engine.AddObject(MakeObject(player, kPlayer), 1, {20, 60});
    engine.Update(0.016f);
    engine.RemoveObject(gone);
    engine.SetObjectPosition(moving, {30, 62});
    engine.SetObjectOrientation(moving, 10);
    engine.SetObjectOffset(moving, {1, 2});
    engine.Update(0.016f);
    Core::MemoryFile file;
    engine.Save(file);
    return BytesOf(file);
}

Bytes ActorStream(const CollisionActor& actor) {
    Core::MemoryFile file;
    actor.Save(file);
    return BytesOf(file);
}

// Loads into a fresh engine and actor; true when accepted. A refused
// stream must leave both empty and the stream failed.
bool LoadEngine(const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    CollisionEngine engine;
    engine.AddLayer();
    engine.Load(file);
    if (file.HasFailed()) {
        EXPECT_EQ(engine.GetLayerCount(), 0u);
        return false;
    }
    engine.Update(0.016f);
    return true;
}

bool LoadActor(const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const Actor actor(new CollisionActor);
    actor->Load(file);
    if (file.HasFailed()) {
        EXPECT_EQ(actor->GetAnimationCount(), 0);
        return false;
    }
    return true;
}

int Rounds() {
    const char* value = std::getenv("TUNDRA_COLLISION_HOSTILE_ROUNDS");
    return value != nullptr ? std::atoi(value) : 4000;
}

}  // namespace

TEST(CollisionStreams, SaveLoadSaveGivesTheSameBytes) {
    const Actor player = PlayerActor();
    const Actor tile = TileActor();
    const Bytes engineBytes = EngineStream(player.get(), tile.get());
    Core::MemoryFile in(engineBytes.data(), static_cast<std::uint32_t>(engineBytes.size()));
    CollisionEngine engine;
    engine.Load(in);
    ASSERT_FALSE(in.HasFailed());
    EXPECT_EQ(engine.GetLayer(1)->GetStaticCircle(1), nullptr);
    Core::MemoryFile out;
    engine.Save(out);
    EXPECT_EQ(BytesOf(out), engineBytes);

    const Bytes actorBytes = ActorStream(*tile);
    Core::MemoryFile actorIn(actorBytes.data(), static_cast<std::uint32_t>(actorBytes.size()));
    const Actor loaded(new CollisionActor);
    loaded->Load(actorIn);
    ASSERT_FALSE(actorIn.HasFailed());
    EXPECT_EQ(ActorStream(*loaded), actorBytes);
    EXPECT_EQ(loaded->GetFrame(0, 2)->GetLineSegments(kFlipHorizontal)[1].pointA, Vector2D(22, -24));
}

TEST(CollisionStreams, TruncatedAndMutatedStreamsFailCleanly) {
    const Actor player = PlayerActor();
    const Actor tile = TileActor();
    const Bytes valid[] = {EngineStream(player.get(), tile.get()), ActorStream(*tile)};
    const auto load = [](int kind, const Bytes& bytes) { return kind == 0 ? LoadEngine(bytes) : LoadActor(bytes); };
    std::mt19937 random(99);
    for (int kind = 0; kind < 2; ++kind) {
        ASSERT_TRUE(load(kind, valid[kind]));
        for (std::size_t length = 0; length < valid[kind].size(); ++length) {
            EXPECT_FALSE(load(kind, Bytes(valid[kind].begin(), valid[kind].begin() + static_cast<long>(length))));
        }
        for (int round = 0; round < Rounds(); ++round) {
            Bytes bytes = valid[kind];
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int c = 0; c < changes; ++c) {
                const std::size_t at = random() % bytes.size();
                switch (random() % 3) {
                    case 0: bytes[at] = static_cast<std::uint8_t>(random()); break;
                    case 1: bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8)); break;
                    default: bytes.resize(at + 1); break;
                }
            }
            load(kind, bytes);
        }
    }
}
