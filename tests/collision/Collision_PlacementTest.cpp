#include "Collision_TestScenes.h"

#include <gtest/gtest.h>

using namespace Collision2D;
using namespace scenes;

namespace {

void ExpectNear(const Vector2D& actual, const Vector2D& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
}

}  // namespace

TEST(CollisionPlacement, FlipsSelectTheMirroredCopies) {
    const Actor tile = TileActor();
    const Actor player = PlayerActor();
    DynamicObject object;
    object.AddCollisionData(tile.get(), 0, 2);
    const struct {
        bool h, v;
        Vector2D wallA, wallB;
        TunRect rect;
    } cases[] = {
        {false, false, {-22, -24}, {-22, 18}, {25, -25, 25, -25}},
        {true, false, {22, -24}, {22, 18}, {25, -25, 25, -25}},
        {false, true, {-22, 24}, {-22, -18}, {25, -25, 25, -25}},
        {true, true, {22, 24}, {22, -18}, {25, -25, 25, -25}},
    };
    for (const auto& c : cases) {
        object.SetCurrentCollisionFrame(0, 2, c.h, c.v);
        const auto segments = object.GetCurrentLineSegments();
        ASSERT_EQ(segments.size(), 2u);
        EXPECT_EQ(segments[0].GetUserId(), 22u);
        EXPECT_EQ(segments[1].pointA, c.wallA) << c.h << c.v;
        EXPECT_EQ(segments[1].pointB, c.wallB) << c.h << c.v;
        EXPECT_EQ(object.GetCurrentBoundingRectangle(), c.rect);
    }

    DynamicObject unmirrored;
    unmirrored.AddCollisionData(player.get(), 0, 0);
    for (int flips = 0; flips < 4; ++flips) {
        unmirrored.SetCurrentCollisionFrame(0, 0, flips & 1, flips & 2);
        EXPECT_EQ(unmirrored.GetCurrentCircles()[0].center, Vector2D(0, -14));
    }
}

TEST(CollisionPlacement, MissingFramesGiveNoShapes) {
    const Actor tile = TileActor();
    DynamicObject object;
    object.AddCollisionData(tile.get(), 0, 0);
    for (const auto& [animation, frame] : {std::pair{1, 0}, {0, 3}, {-1, 0}, {0, -1}}) {
        object.SetCurrentCollisionFrame(animation, frame, false, false);
        EXPECT_TRUE(object.GetCurrentLineSegments().empty());
        EXPECT_EQ(object.GetCurrentBoundingRectangle(), TunRect{});
        object.SetCurrentCollisionFrame(0, 0, false, false);
        EXPECT_EQ(object.GetCurrentLineSegments().size(), 1u);
    }
    DynamicObject noActor;
    noActor.AddCollisionData(nullptr, 0, 0);
    EXPECT_TRUE(noActor.GetCurrentCircles().empty());
}

TEST(CollisionPlacement, RotationAndPivotPlaceShapesAtOnce) {
    const Actor arm = BearArmActor();
    CollisionEngine engine;
    engine.AddLayer();
    const std::uint32_t id = engine.AddObject(MakeObject(arm.get(), kTile), 0, {300, 200});
    const DynamicObject* object = engine.GetCollisionResults(id);

    engine.SetObjectOrientation(id, -90);
    ExpectNear(object->GetCurrentCircles()[0].center, {300 - 126, 200});
    EXPECT_EQ(object->GetCurrentCircles()[0].radius, 37.0f);

    // The pivot is the point of the frame that lands on the position and
    // that the rotation turns about.
    engine.SetObjectOffset(id, {0, -126});
    ExpectNear(object->GetCurrentCircles()[0].center, {300, 200});
    engine.SetObjectOrientation(id, 0);
    engine.SetObjectPosition(id, {10, 20});
    ExpectNear(object->GetCurrentCircles()[0].center, {10, 20});
    const TunRect rect = object->GetCurrentBoundingRectangle();
    EXPECT_FLOAT_EQ(rect.top, 20 + 165 + 126);
    EXPECT_FLOAT_EQ(rect.left, 10 - 37);
    EXPECT_FLOAT_EQ(rect.bottom, 20 - 165 + 126);
}
