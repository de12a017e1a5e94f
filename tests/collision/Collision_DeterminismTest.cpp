#include "Collision_TestScenes.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace Collision2D;
using namespace scenes;

namespace {

// A crowded random scene: clusters that put dozens of objects in one cell,
// objects far outside the grid, some at non-finite positions, static ground.
struct RandomScene {
    Actor player = PlayerActor();
    Actor enemy = FlyingEnemyActor();
    Actor tile = TileActor();
    std::vector<const CollisionActor*> actors{player.get(), enemy.get(), tile.get()};
    std::vector<std::uint32_t> ids;
    std::vector<int> actorOf;
    CollisionEngine engine;
    std::mt19937 random{1234};

    explicit RandomScene(bool fineGrid, int count = 300) {
        engine.AddLayer();
        engine.SetLayerGrid(0, {0, 0}, fineGrid ? 1000 : 0, fineGrid ? 1000 : 0, 50);
        for (int i = 0; i < 40; ++i) {
            auto* ground = new StaticCollisionLineSegment(Math::LineSegment2D({i * 25.0f, 0}, {i * 25.0f + 25, 10}));
            ground->SetZCollision(static_cast<std::uint8_t>(i % 2));
            engine.AddObject(ground, 0, {});
            engine.AddObject(new StaticCollisionCircle(Math::Circle2D({i * 25.0f, 500}, 8)), 0, {});
        }
        const Collider colliders[] = {kPlayer, kFlyingEnemy, kTile, kBullet};
        for (int i = 0; i < count; ++i) {
            const int kind = i % 3;
            DynamicObject* object = MakeObject(actors[kind], colliders[i % 4], 0, i % 3 == 2 ? 2 : 0);
            actorOf.push_back(kind);
            ids.push_back(engine.AddObject(object, 0, Place(i)));
        }
    }

    Vector2D Place(int i) {
        std::uniform_real_distribution<float> world(-100.0f, 1100.0f);
        std::uniform_real_distribution<float> cluster(400.0f, 480.0f);
        if (i % 17 == 0) return {1e7f, -1e7f};
        if (i % 29 == 0) return {NAN, 5.0f};
        if (i % 3 == 0) return {cluster(random), cluster(random)};
        return {world(random), world(random)};
    }

    void Step() {
        std::uniform_real_distribution<float> move(-30.0f, 30.0f);
        std::uniform_int_distribution<int> pick(0, 9);
        for (const std::uint32_t id : ids) {
            const DynamicObject* o = engine.GetCollisionResults(id);
            const int choice = pick(random);
            if (choice < 6) {
                engine.SetObjectPosition(id, o->GetPosition() + Vector2D(move(random), move(random)));
            }
            if (choice == 6) {
                engine.SetObjectOrientation(id, o->GetOrientation() + move(random));
            }
            if (choice == 7) {
                engine.GetCollisionResults(id)->SetCurrentCollisionFrame(0, pick(random) % 3, choice & 1, false);
            }
        }
        engine.Update(1.0f / 60.0f);
    }
};

}  // namespace

TEST(CollisionDeterminism, GridGivesTheRecordsOfAllPairs) {
    RandomScene grid(true);
    RandomScene allPairs(false);
    for (int step = 0; step < 20; ++step) {
        grid.Step();
        allPairs.Step();
        ASSERT_EQ(HashRecords(grid.engine), HashRecords(allPairs.engine)) << step;
    }
    std::uint32_t records = 0;
    for (const std::uint32_t id : grid.ids) {
        const DynamicObject* o = grid.engine.GetCollisionResults(id);
        records += o->GetShapeCollisions().Count() + o->GetLineSegmentCollisions().Count();
    }
    EXPECT_GT(records, 100u) << "the scene must actually collide";
}

TEST(CollisionDeterminism, ReplayAndSaveLoadGiveTheSameRecords) {
    RandomScene first(true, 150);
    RandomScene second(true, 150);
    RandomScene resumed(true, 150);
    for (int step = 0; step < 100; ++step) {
        first.Step();
        second.Step();
        resumed.Step();
    }
    Core::MemoryFile file;
    resumed.engine.Save(file);
    resumed.engine.Clear();
    resumed.engine.Load(file);
    ASSERT_FALSE(file.HasFailed());
    // The game attaches the actors again after a load.
    for (std::size_t i = 0; i < resumed.ids.size(); ++i) {
        DynamicObject* o = resumed.engine.GetCollisionResults(resumed.ids[i]);
        o->AddCollisionData(resumed.actors[resumed.actorOf[i]], o->GetAnimationIndex(), o->GetFrameIndex());
    }
    for (int step = 100; step < 300; ++step) {
        first.Step();
        second.Step();
        resumed.Step();
    }
    EXPECT_EQ(HashRecords(first.engine), HashRecords(second.engine));
    EXPECT_EQ(HashRecords(first.engine), HashRecords(resumed.engine));
}
