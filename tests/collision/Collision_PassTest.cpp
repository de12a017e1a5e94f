#include "Collision_TestScenes.h"

#include "collision/Collision_FiniteRecords.h"
#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

using namespace Collision2D;
using namespace scenes;

namespace {

struct Scene {
    Actor tile = TileActor();
    Actor player = PlayerActor();
    Actor enemy = FlyingEnemyActor();
    Actor shot = ShotActor();
    Actor line = TerrainLineActor(138);
    CollisionEngine engine;
    Scene() { engine.AddLayer(); }
    DynamicObject* Add(const CollisionActor* actor, const Collider& c, Vector2D at) {
        return engine.GetCollisionResults(engine.AddObject(MakeObject(actor, c), 0, at));
    }
};

// Shots that hit each other, and a player that tests only when it changes.
constexpr Collider kMutualShot{1, 8, 0, {0}, false};
constexpr Collider kStillPlayer{1, 8, 0, {0, 1, 3}, false};

std::uint32_t Shapes(const DynamicObject* o) { return o->GetShapeCollisions().Count(); }
std::uint32_t Rectangles(const DynamicObject* o) { return o->GetBoundingRectangleCollisions().Count(); }

}  // namespace

// The player's circle (centre 14 below its position, radius 30) sinks 2
// units into the tile's top edge, a line 8 thick at y 18.
TEST(CollisionPass, PlayerRestingOnATileGetsTheTopEdge) {
    Scene s;
    DynamicObject* tile = s.Add(s.tile.get(), kTile, {0, 0});
    DynamicObject* player = s.Add(s.player.get(), kPlayer, {0, 18 + 4 + 30 + 14 - 2});
    s.engine.Update(0.016f);

    ASSERT_EQ(Shapes(player), 1u);
    const DGEO_C& seen = player->GetShapeCollisions()[0];
    EXPECT_EQ(seen.handle, tile->GetId());
    ASSERT_EQ(seen.currentLineSegmentsNumber, 1u);
    EXPECT_EQ(seen.currentCirclesNumber, 0u);
    const COLLISION_C& edge = seen.lineSegments[0];
    EXPECT_EQ(edge.otherUserId, 22u);
    EXPECT_EQ(edge.ownKind, ShapeKind::Circle);
    EXPECT_EQ(edge.normal[0], Vector2D(0, 1));
    EXPECT_FLOAT_EQ(edge.penetrationDistance, 2.0f);

    ASSERT_EQ(Shapes(tile), 1u);
    const DGEO_C& mirrored = tile->GetShapeCollisions()[0];
    EXPECT_EQ(mirrored.handle, player->GetId());
    ASSERT_EQ(mirrored.currentCirclesNumber, 1u);
    EXPECT_EQ(mirrored.circles[0].ownUserId, 22u);
    EXPECT_EQ(mirrored.circles[0].ownKind, ShapeKind::LineSegment);
    EXPECT_EQ(mirrored.circles[0].normal[0], Vector2D(0, -1));
    EXPECT_EQ(mirrored.contactPosition, seen.contactPosition);

    // Records stay as they are until the next pass, even when the other goes.
    s.engine.RemoveObject(tile->GetId());
    EXPECT_EQ(player->GetShapeCollisions()[0].lineSegments[0].otherUserId, 22u);
    EXPECT_EQ(s.engine.GetObject(player->GetShapeCollisions()[0].handle), nullptr);
    s.engine.Update(0.016f);
    EXPECT_EQ(Shapes(player), 0u);
}

TEST(CollisionPass, GroupsTypesAndIdleDecideWhoRecords) {
    const struct {
        const char* name;
        Collider first, second;
        std::uint32_t rectangles, shapes, shapesAfterIdlePass;
    } cases[] = {
        {"bullet and player", kBullet, kPlayer, 0, 0, 0},
        {"bullet and enemy", kBullet, kFlyingEnemy, 1, 1, 0},
        {"player and player", kPlayer, kPlayer, 1, 1, 1},
        {"rectangle-only player", {0, 8, 0, {0, 1, 3}, true}, kPlayer, 1, 0, 0},
    };
    for (const auto& c : cases) {
        Scene s;
        DynamicObject* a = s.Add(s.enemy.get(), c.first, {0, 0});
        DynamicObject* b = s.Add(s.enemy.get(), c.second, {10, 0});
        s.engine.Update(0.016f);
        EXPECT_EQ(Rectangles(a), c.rectangles) << c.name;
        EXPECT_EQ(Rectangles(b), c.rectangles) << c.name;
        EXPECT_EQ(Shapes(a), c.shapes) << c.name;
        EXPECT_EQ(Shapes(b), c.shapes) << c.name;
        s.engine.Update(0.016f);
        EXPECT_EQ(Shapes(a), c.shapesAfterIdlePass) << c.name;
        EXPECT_EQ(Shapes(b), c.shapesAfterIdlePass) << c.name;
    }
}

TEST(CollisionPass, StaticsAreTestedByShapeObjectsThatAllowTheirGroup) {
    for (const std::uint8_t type : {0, 1}) {
        Scene s;
        auto* ground = new StaticCollisionLineSegment(Math::LineSegment2D({-100, 0}, {100, 0}));
        ground->SetUserId(5);
        const std::uint32_t groundId = s.engine.AddObject(ground, 0, {});
        s.engine.AddObject(new StaticCollisionCircle(Math::Circle2D({0, 10}, 5)), 0, {});
        Collider c = kPlayer;
        c.type = type;
        DynamicObject* player = s.Add(s.player.get(), c, {0, 14 + 30 + 4 - 3});
        s.engine.Update(0.016f);
        ASSERT_EQ(player->GetLineSegmentCollisions().Count(), type) << int(type);
        ASSERT_EQ(player->GetCircleCollisions().Count(), type) << int(type);
        if (type == 1) {
            const LNS_C& hit = player->GetLineSegmentCollisions()[0];
            EXPECT_EQ(hit.handle, groundId);
            EXPECT_EQ(hit.otherIndex, 1u);
            EXPECT_EQ(hit.otherUserId, 5u);
            EXPECT_EQ(hit.normal[0], Vector2D(0, 1));
            EXPECT_FLOAT_EQ(hit.penetrationDistance, 3.0f);
        }
    }
}

// A shot moving 75 units a frame jumps over the enemy's circle.
TEST(CollisionPass, FastShotsAreSweptUnlessTheMoveWasATeleport) {
    for (const bool teleport : {false, true}) {
        Scene s;
        DynamicObject* enemy = s.Add(s.enemy.get(), kFlyingEnemy, {0, 18});
        const std::uint32_t shotId = s.engine.AddObject(MakeObject(s.shot.get(), kBullet), 0, {-40, 0});
        s.engine.Update(0.016f);
        s.engine.SetObjectPosition(shotId, {35, 0});
        if (teleport) {
            s.engine.GetCollisionResults(shotId)->ResetMotion();
        }
        s.engine.Update(0.016f);
        const DynamicObject* shot = s.engine.GetCollisionResults(shotId);
        ASSERT_EQ(Shapes(shot), teleport ? 0u : 1u);
        ASSERT_EQ(Shapes(enemy), teleport ? 0u : 1u);
        if (!teleport) {
            const COLLISION_C& hit = shot->GetShapeCollisions()[0].circles[0];
            EXPECT_EQ(hit.penetrationDistance, 0.0f);
            EXPECT_EQ(hit.ownUserId, 16u);
            EXPECT_NEAR(hit.normal[0].x, -1.0f, 1e-5f);
            EXPECT_NEAR(hit.contactPoint[0].x, -16.0f, 1e-3f);
        }
    }
}

// The standing line on a raised block: a flat rectangle and a thick segment.
TEST(CollisionPass, PlayerStandsOnTheTerrainLine) {
    Scene s;
    DynamicObject* line = s.Add(s.line.get(), kTerrainLine, {500, 225});
    DynamicObject* player = s.Add(s.player.get(), kPlayer, {440, 225 + 4 + 30 + 14 - 1});
    s.engine.Update(0.016f);
    s.engine.Update(0.016f);
    ASSERT_EQ(Rectangles(player), 1u);
    ASSERT_EQ(Shapes(player), 1u);
    EXPECT_EQ(player->GetShapeCollisions()[0].handle, line->GetId());
    EXPECT_EQ(player->GetShapeCollisions()[0].lineSegments[0].otherUserId, 23u);
    EXPECT_EQ(line->GetShapeCollisions()[0].circles[0].ownUserId, 23u);
}

// A swept contact is recorded where the two shapes met, whichever of them
// tests the pair (the lower entry) and whether one or both moved.
TEST(CollisionPass, SweptContactsLieWhereTheShapesMet) {
    const Actor wall = MakeActor({{Segment({0, -50}, {0, 50}, 5)}}, {50, -4, 4, -50});
    const Actor shot = ShotActor();
    struct Mover {
        const CollisionActor* actor;
        Collider collider;
        Vector2D from, to;
    };
    const Mover shotThrough{shot.get(), kBullet, {-40, 0}, {35, 0}};
    const Mover standingWall{wall.get(), kTile, {0, 0}, {0, 0}};
    const struct {
        const char* name;
        Mover first, second;
        Vector2D met;
    } cases[] = {
        {"shot added first", shotThrough, standingWall, {-4, 0}},
        {"wall added first", standingWall, shotThrough, {-4, 0}},
        {"shots head-on", {shot.get(), kMutualShot, {-100, 0}, {100, 0}},
         {shot.get(), kMutualShot, {100, 0}, {-100, 0}}, {0, 0}},
        {"wall moving into a shot", {wall.get(), kTile, {-60, 0}, {60, 0}}, {shot.get(), kBullet, {40, 0}, {20, 0}},
         {17.714286f, 0}},
    };
    for (const auto& c : cases) {
        CollisionEngine engine;
        engine.AddLayer();
        const std::uint32_t first = engine.AddObject(MakeObject(c.first.actor, c.first.collider), 0, c.first.from);
        const std::uint32_t second = engine.AddObject(MakeObject(c.second.actor, c.second.collider), 0, c.second.from);
        engine.Update(0.016f);
        engine.SetObjectPosition(first, c.first.to);
        engine.SetObjectPosition(second, c.second.to);
        engine.Update(0.016f);
        for (const std::uint32_t id : {first, second}) {
            const DynamicObject* o = engine.GetCollisionResults(id);
            ASSERT_EQ(Shapes(o), 1u) << c.name;
            const DGEO_C& seen = o->GetShapeCollisions()[0];
            const COLLISION_C& hit = seen.currentLineSegmentsNumber ? seen.lineSegments[0] : seen.circles[0];
            EXPECT_EQ(hit.penetrationDistance, 0.0f) << c.name;
            for (const Vector2D& p : {seen.contactPosition, hit.contactPoint[0]}) {
                EXPECT_NEAR(p.x, c.met.x, 1e-3f) << c.name;
                EXPECT_NEAR(p.y, c.met.y, 1e-3f) << c.name;
            }
        }
    }
}

// Objects that neither move nor test while idle meet again when one of them
// selects another frame, even one with the same shapes; attaching the
// actors again after a load selects nothing new.
TEST(CollisionPass, AFrameChangeMakesAnIdleObjectTest) {
    const struct {
        const char* name;
        int frame;
        bool flip;
        bool reload;
        std::uint32_t shapes;
    } cases[] = {
        {"nothing changes", 0, false, false, 0},
        {"next frame, same shapes", 1, false, false, 1},
        {"flipped", 0, true, false, 1},
        {"actors attached again after a load", 0, false, true, 0},
    };
    for (const auto& c : cases) {
        Scene s;
        DynamicObject* player = s.Add(s.player.get(), kStillPlayer, {0, 0});
        DynamicObject* enemy = s.Add(s.enemy.get(), kFlyingEnemy, {10, 0});
        s.engine.Update(0.016f);
        s.engine.Update(0.016f);
        ASSERT_EQ(Shapes(player), 0u) << c.name;
        if (c.reload) {
            const std::uint32_t playerId = player->GetId();
            const std::uint32_t enemyId = enemy->GetId();
            Core::MemoryFile file;
            s.engine.Save(file);
            s.engine.Load(file);
            ASSERT_FALSE(file.HasFailed());
            player = s.engine.GetCollisionResults(playerId);
            enemy = s.engine.GetCollisionResults(enemyId);
            player->AddCollisionData(s.player.get(), 0, 0);
            enemy->AddCollisionData(s.enemy.get(), 0, 0);
        }
        enemy->SetCurrentCollisionFrame(0, c.frame, c.flip, false);
        s.engine.Update(0.016f);
        EXPECT_EQ(Shapes(player), c.shapes) << c.name;
        EXPECT_EQ(Shapes(enemy), c.shapes) << c.name;
    }
}

// Circles far out near the float's limit, and circles whose centres are too
// close to measure, still give finite records; the latter are pushed apart
// along the fallback normal.
TEST(CollisionPass, RecordsStayFiniteAtExtremeAndCoincidentPoses) {
    const Actor shot = ShotActor();
    const Actor twoCircles = MakeActor({{Circle({0, 0}, 10, 1), Circle({0, 3}, 10, 2)}}, {13, -10, 10, -10});
    const struct {
        const char* name;
        const CollisionActor* actor;
        Vector2D a, b;
        float depth;
    } cases[] = {
        {"near the lowest x", shot.get(), {-1.72e38f, 0}, {-1.72e38f, 5}, 15},
        {"near the highest x", shot.get(), {3.4e38f, 0}, {3.4e38f, 5}, 15},
        {"two circles near the lowest x", twoCircles.get(), {-1.72e38f, 0}, {-1.72e38f, 5}, 15},
        {"centres 1e-24 apart", shot.get(), {0, 0}, {1e-24f, 0}, 20},
    };
    for (const auto& c : cases) {
        Scene s;
        DynamicObject* a = s.Add(c.actor, kMutualShot, c.a);
        DynamicObject* b = s.Add(s.shot.get(), kMutualShot, c.b);
        s.engine.Update(0.016f);
        for (const DynamicObject* o : {a, b}) {
            ASSERT_EQ(Shapes(o), 1u) << c.name;
            EXPECT_TRUE(RecordsAreFinite(*o)) << c.name;
            EXPECT_FLOAT_EQ(o->GetShapeCollisions()[0].circles[0].penetrationDistance, c.depth) << c.name;
        }
    }
    // Objects that cannot be measured in floats are left out of the pass:
    // radii far beyond any level, or a NaN in the frame (which a plain min
    // or max would drop from the box).
    const Actor huge = MakeActor({{Circle({0, 0}, 1e30f, 1)}}, {10, -10, 10, -10});
    const Actor halfNan = MakeActor({{Segment({NAN, 0}, {0, 0}, 1)}}, {10, -10, 10, -10});
    for (const CollisionActor* actor : {huge.get(), halfNan.get()}) {
        Scene s;
        const DynamicObject* a = s.Add(actor, kMutualShot, {0, 0});
        const std::uint32_t shot = s.engine.AddObject(MakeObject(s.shot.get(), kMutualShot), 0, {-40, 0});
        s.engine.Update(0.016f);
        s.engine.SetObjectPosition(shot, {5, 0});
        s.engine.Update(0.016f);
        EXPECT_EQ(Shapes(a), 0u);
    }
}
