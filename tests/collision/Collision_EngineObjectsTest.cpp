#include "Collision_TestScenes.h"

#include "core/Core_Object.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Collision2D;
using namespace scenes;

namespace {

StaticCollisionCircle* NewCircle(Vector2D c, float r, std::uint8_t group = 0, std::uint32_t userId = 0) {
    auto* circle = new StaticCollisionCircle(Math::Circle2D(c, r));
    circle->SetZCollision(group);
    circle->SetUserId(userId);
    return circle;
}

StaticCollisionLineSegment* NewSegment(Vector2D a, Vector2D b, std::uint8_t group = 0, std::uint32_t userId = 0) {
    auto* segment = new StaticCollisionLineSegment(Math::LineSegment2D(a, b));
    segment->SetZCollision(group);
    segment->SetUserId(userId);
    return segment;
}

std::uint16_t NumberOf(std::uint32_t id) {
    std::uint16_t number = 0;
    std::uint8_t group = 0;
    std::uint8_t layer = 0;
    DecodeCollisionId(id, number, group, layer);
    return number;
}

}  // namespace

TEST(CollisionIds, FirstIdsOfEachKindAndRefusals) {
    CollisionEngine engine;
    ASSERT_EQ(engine.AddLayer(), 0);
    ASSERT_EQ(engine.AddLayer(), 1);
    auto* bullet = new DynamicObject;
    bullet->SetZCollision(2);
    EXPECT_EQ(engine.AddObject(bullet, 1, {}), (1u << 24) | (2u << 16) | 9536u);
    EXPECT_EQ(engine.AddObject(NewCircle({0, 0}, 1), 0, {}), 536u);
    EXPECT_EQ(engine.AddObject(NewSegment({0, 0}, {1, 0}), 0, {}), 3536u);

    // Refused objects are freed by the engine (the sanitizers see any leak).
    EXPECT_EQ(engine.AddObject(new DynamicObject, 2, {}), 0u);
    EXPECT_EQ(engine.AddObject(NewCircle({NAN, 0}, 1), 0, {}), 0u);
    EXPECT_EQ(engine.AddObject(NewCircle({0, 0}, -1), 0, {}), 0u);
    EXPECT_EQ(engine.AddObject(NewSegment({0, 0}, {INFINITY, 0}), 0, {}), 0u);
    EXPECT_EQ(engine.AddObject(bullet, 0, {}), 0u) << "an object the engine holds is not taken twice";
    EXPECT_EQ(engine.GetCollisionResults(bullet->GetId()), bullet);

    for (const std::uint32_t id : {0u, 9535u, 9537u, 8536u, 535u, 3540u, (7u << 24) | 9536u}) {
        engine.RemoveObject(id);
        engine.SetObjectPosition(id, {1, 1});
        EXPECT_EQ(engine.GetObject(id), nullptr) << id;
    }
    EXPECT_NE(engine.GetObject(536u | (9u << 16)), nullptr) << "the group bits are not looked at";
}

TEST(CollisionIds, FreedEntryIsReusedOnlyAfterAPass) {
    CollisionEngine engine;
    engine.AddLayer();
    const std::uint32_t first = engine.AddObject(new DynamicObject, 0, {});
    engine.AddObject(new DynamicObject, 0, {});
    engine.RemoveObject(first);
    EXPECT_EQ(NumberOf(engine.AddObject(new DynamicObject, 0, {})), 9538);
    engine.Update(0.016f);
    EXPECT_EQ(NumberOf(engine.AddObject(new DynamicObject, 0, {})), 9536);
    EXPECT_EQ(NumberOf(engine.AddObject(new DynamicObject, 0, {})), 9539);
}

TEST(CollisionIds, RangesFillUpAndClearStartsOver) {
    CollisionEngine engine;
    for (int i = 0; i < 255; ++i) engine.AddLayer();
    EXPECT_EQ(engine.AddLayer(), CollisionEngine::kNoLayer);
    EXPECT_EQ(engine.AddObject(new DynamicObject, CollisionEngine::kNoLayer, {}), 0u);
    for (std::uint32_t i = 1; i <= kMaxStaticCircles; ++i) {
        ASSERT_EQ(engine.AddObject(NewCircle({0, 0}, 1), 3, {}), (3u << 24) | (535u + i));
    }
    EXPECT_EQ(engine.AddObject(NewCircle({0, 0}, 1), 3, {}), 0u);
    for (std::uint32_t i = 1; i <= kMaxDynamicObjects; ++i) {
        ASSERT_NE(engine.AddObject(new DynamicObject, 4, {}), 0u);
    }
    EXPECT_EQ(engine.AddObject(new DynamicObject, 4, {}), 0u);
    EXPECT_EQ(engine.GetLayer(4)->GetDynamicEntryCount(), 65536u - 9535u);

    engine.Clear();
    EXPECT_EQ(engine.GetLayerCount(), 0u);
    EXPECT_EQ(engine.AddLayer(), 0);
    EXPECT_EQ(engine.AddObject(NewCircle({0, 0}, 1), 0, {}), 536u);
}

TEST(CollisionIds, StaticShapesComeBackAndClearStaticGeometryResetsSlots) {
    CollisionEngine engine;
    engine.AddLayer();
    const std::uint32_t segmentId = engine.AddObject(NewSegment({0, 0}, {100, 0}, 0, 7), 0, {});
    const std::uint32_t circleId = engine.AddObject(NewCircle({50, 50}, 10, 0, 8), 0, {});
    const auto* segment = dynamic_cast<const StaticCollisionLineSegment*>(engine.GetObject(segmentId));
    const auto* circle = dynamic_cast<const StaticCollisionCircle*>(engine.GetObject(circleId));
    ASSERT_TRUE(segment && circle);
    EXPECT_EQ(segment->pointA, Vector2D(0, 0));
    EXPECT_EQ(segment->pointB, Vector2D(100, 0));
    EXPECT_EQ(segment->GetUserId(), 7u);
    EXPECT_EQ(circle->center, Vector2D(50, 50));
    EXPECT_EQ(circle->radius, 10.0f);
    EXPECT_EQ(circle->GetUserId(), 8u);
    EXPECT_EQ(engine.GetLayer(0)->GetStaticLineSegmentSlotCount(), 2u);

    engine.ClearStaticGeometry(0);
    EXPECT_EQ(engine.GetObject(segmentId), nullptr);
    EXPECT_EQ(engine.GetLayer(0)->GetStaticCircleSlotCount(), 1u);
    EXPECT_EQ(engine.AddObject(NewCircle({0, 0}, 1), 0, {}), 536u);
}

TEST(CollisionIds, CloneCopiesSettingsAndShapesButNoRecords) {
    const Actor player = PlayerActor();
    CollisionEngine engine;
    engine.AddLayer();
    engine.AddLayer();
    const std::uint32_t a = engine.AddObject(MakeObject(player.get(), kPlayer), 1, {0, 0});
    engine.AddObject(MakeObject(player.get(), kPlayer), 1, {10, 0});
    engine.Update(0.016f);
    ASSERT_EQ(engine.GetCollisionResults(a)->GetShapeCollisions().Count(), 1u);

    Core::Object owner;
    const std::uint32_t c = engine.CloneObject(a, {500, 7}, &owner);
    const DynamicObject* clone = engine.GetCollisionResults(c);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(c >> 24, 1u);
    EXPECT_EQ(clone->GetOwner(), &owner);
    EXPECT_EQ(clone->GetPosition(), Vector2D(500, 7));
    EXPECT_EQ(clone->GetOldPosition(), Vector2D(500, 7));
    EXPECT_EQ(clone->GetCollisionThickness(), 8.0f);
    EXPECT_TRUE(clone->CanCollideWith(3) && !clone->CanCollideWith(2) && clone->GetUpdateOnIdle());
    EXPECT_EQ(clone->GetCurrentCircles()[0].center, Vector2D(500, -7));
    EXPECT_EQ(clone->GetShapeCollisions().Count() + clone->GetBoundingRectangleCollisions().Count(), 0u);
    EXPECT_EQ(engine.CloneObject(536, {}, nullptr), 0u);
}

TEST(CollisionIds, NonFiniteSettersAreIgnored) {
    const Actor player = PlayerActor();
    CollisionEngine engine;
    engine.AddLayer();
    const std::uint32_t id = engine.AddObject(MakeObject(player.get(), kPlayer), 0, {5, 6});
    const DynamicObject* object = engine.GetCollisionResults(id);
    engine.SetObjectOrientation(id, 30);
    engine.SetObjectOffset(id, {1, 2});
    engine.Update(0.016f);
    const TunRect rectangle = object->GetCurrentBoundingRectangle();
    const Vector2D centre = object->GetCurrentCircles()[0].center;

    engine.SetObjectPosition(id, {NAN, 0});
    engine.SetObjectPosition(id, {0, -INFINITY});
    engine.SetObjectOrientation(id, INFINITY);
    engine.SetObjectOffset(id, {0, NAN});
    engine.SetObjectOldPosition(id, {INFINITY, 0});
    engine.SetObjectOldOrientation(id, NAN);
    EXPECT_EQ(object->GetPosition(), Vector2D(5, 6));
    EXPECT_EQ(object->GetOrientation(), 30.0f);
    EXPECT_EQ(object->GetOffset(), Vector2D(1, 2));
    EXPECT_EQ(object->GetOldPosition(), Vector2D(5, 6));
    EXPECT_EQ(object->GetOldOrientation(), 30.0f);
    EXPECT_EQ(object->GetCurrentBoundingRectangle(), rectangle);
    EXPECT_EQ(object->GetCurrentCircles()[0].center, centre);
}
