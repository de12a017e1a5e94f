#include "support/Tundra_TestGame.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_DynamicObject.h"
#include "math/Math_Matrix4.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"
#include "tundra/Tundra_CollisionQueries.h"

using namespace tundratest;

namespace {

void ExpectAt(const Tundra::GameObject& object, float x, float y) {
    EXPECT_NEAR(object.GetPositionX(), x, 1e-4f) << object.GetName();
    EXPECT_NEAR(object.GetPositionY(), y, 1e-4f) << object.GetName();
}

}  // namespace

TEST_F(GameTest, MountedObjectsFollowTurnsAboutTheTopAndMovesAndCyclesAreRefused) {
    Start();
    TestObject& top = Spawn("top");
    TestObject& child = Spawn("child");
    TestObject& grandchild = Spawn("grandchild");
    child.SetPosition({10.0f, 0.0f});
    grandchild.SetPosition({20.0f, 0.0f});
    top.Mount(&child);
    child.Mount(&grandchild);
    grandchild.Mount(&top);
    child.Mount(&child);
    top.UnMount(&grandchild);
    EXPECT_EQ(grandchild.GetMountsCount(), 0);
    EXPECT_EQ(grandchild.GetMount(), &child);
    top.SetRotationAngle(90.0f);
    ExpectAt(child, 0.0f, 10.0f);
    ExpectAt(grandchild, 0.0f, 20.0f);
    EXPECT_EQ(grandchild.GetRotationAngle(), 90.0f);
    top.SetPosition({5.0f, 5.0f});
    ExpectAt(child, 5.0f, 15.0f);
    ExpectAt(grandchild, 5.0f, 25.0f);
}

// Game code turns objects step by step and reads the angle back to decide
// when a turn is done: the angle given is the angle read, never wrapped into
// one turn, also after the body's transform callbacks have run.
TEST_F(GameTest, AnObjectKeepsTheExactAngleItWasGivenThroughItsBodysCallbacks) {
    TestGame& game = Start();
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (const float angle : {-180.0f, -75.0f, -0.5f, 45.0f, 360.0f, 540.25f, -720.75f}) {
        TestObject& object = Spawn("turned");
        TestObject& rider = Spawn("rider");
        object.Mount(&rider);
        ASSERT_TRUE(object.AddCollision(CircleShape(1.0f, 1), 0));
        ASSERT_TRUE(object.AddPhysicalProperties(&mass, 0));
        object.SetVelocity({1.0f, 0.0f});
        object.SetRotationAngle(angle);
        Step(1);
        EXPECT_GT(object.GetPositionX(), 0.0f) << "the body moved its object";
        EXPECT_EQ(object.GetRotationAngle(), angle);
        EXPECT_EQ(object.GetCollisionObject()->GetOrientation(), angle);
        EXPECT_EQ(object.GetCollisionObject()->GetOldOrientation(), angle);
        EXPECT_EQ(rider.GetRotationAngle(), angle);
        EXPECT_EQ(game.GetPhysicsEngine()->GetRigidBody(object.GetPhysicsId())->GetOrientation(), angle);
        object.Destroy();
        rider.Destroy();
    }
}

TEST_F(GameTest, AMountChainOfAnyLengthFollowsItsTop) {
    Start();
    std::vector<Core::RefPtr<TestObject>> chain;
    for (int i = 0; i < 20000; ++i) {
        chain.emplace_back(TUN_NEW(TestObject));
    }
    for (std::size_t i = chain.size() - 1; i > 0; --i) {
        chain[i - 1]->Mount(chain[i].Get());
    }
    chain[0]->SetPosition({1.0f, 0.0f});
    chain[0]->SetRotationAngle(90.0f);
    chain[0]->SetVisible(false);
    EXPECT_NEAR(chain.back()->GetPositionX(), 1.0f, 1e-5f);
    EXPECT_EQ(chain.back()->GetRotationAngle(), 90.0f);
    EXPECT_FALSE(chain.back()->GetVisible());
}

TEST_F(GameTest, TheNodeTransformScalesTurnsAboutTheCentreAndPlacesItAtDepth) {
    Start();
    TestObject& object = Spawn("object");
    object.SetCenter({2.0f, 1.0f});
    object.SetScale(2.0f, 3.0f);
    object.SetZOrder(5.0f);
    object.SetRotationAngle(90.0f);
    object.SetPosition({10.0f, 20.0f});
    const Matrix4& m = object.GetSceneNode()->GetTransformation();
    const Vector3D expected[] = {{11, 18, 5}, {11, 20, 5}, {8, 18, 5}};
    const Vector3D local[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i) {
        const Vector3D p = Matrix4::TransformPoint(m, local[i]);
        EXPECT_NEAR(p.x, expected[i].x, 1e-5f);
        EXPECT_NEAR(p.y, expected[i].y, 1e-5f);
        EXPECT_NEAR(p.z, expected[i].z, 1e-5f);
    }
    object.SetTransformSync(false);
    ASSERT_TRUE(object.AddCollision(CircleShape(1.0f, 1), 0));
    object.SetPosition({0.0f, 0.0f});
    EXPECT_EQ(object.GetCollisionObject()->GetPosition(), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(object.GetSceneNode()->GetTransformation()[12], m[12]);
}

TEST_F(GameTest, BodiesAreMadeOnceForwardVelocityAndMoveTheirObjectsAndMounts) {
    TestGame& game = Start();
    TestObject& body = Spawn("body");
    TestObject& rider = Spawn("rider");
    body.Mount(&rider);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    ASSERT_TRUE(body.AddPhysicalProperties(&mass, 0));
    EXPECT_FALSE(body.AddPhysicalProperties(&mass, 0));
    EXPECT_EQ(game.GetPhysicsEngine()->GetRigidBodyCount(), 1u);
    ASSERT_TRUE(body.AddCollision(CircleShape(1.0f, 1), 0));
    body.SetVelocity({0.0f, 2.0f});
    ASSERT_TRUE(body.SetSpeed(3.0f));
    Vector2D velocity;
    ASSERT_TRUE(body.GetVelocity(velocity));
    EXPECT_EQ(velocity, Vector2D(0.0f, 3.0f));
    body.SetVelocity({0.0f, 2.0f});
    ASSERT_TRUE(body.SetVelocityDirection(1.0f, 0.0f));
    ASSERT_TRUE(body.GetVelocity(velocity));
    EXPECT_EQ(velocity, Vector2D(2.0f, 0.0f));
    Step(1);
    EXPECT_GT(body.GetPositionX(), 0.0f);
    EXPECT_EQ(rider.GetPositionX(), body.GetPositionX());
    const Collision2D::DynamicObject* shape = body.GetCollisionObject();
    EXPECT_EQ(shape->GetPosition(), body.GetPosition());

    const Core::RefPtr<TestObject> none = TUN_NEW(TestObject, "none");
    EXPECT_FALSE(none->SetSpeed(1.0f));
    EXPECT_EQ(Tundra::GetNumberOfCollidedSprites(nullptr, true), 0);
    EXPECT_EQ(Tundra::GetCollidedSprite(nullptr, 0, false), nullptr);
    EXPECT_FALSE(Tundra::IsMyCircleCollided(nullptr, 1));
}

TEST_F(GameTest, CollisionQueriesNameTheOtherObjectUntilItIsGone) {
    TestGame& game = Start();
    TestObject& a = Spawn("a");
    TestObject& b = Spawn("b");
    ASSERT_TRUE(a.AddCollision(CircleShape(5.0f, 11), 0));
    ASSERT_TRUE(a.AddCollision(CircleShape(5.0f, 11), 0));
    ASSERT_TRUE(b.AddCollision(CircleShape(5.0f, 22), 0));
    const Collision2D::CollisionLayer* layer = game.GetCollisionEngine()->GetLayer(0);
    int live = 0;
    for (std::uint32_t entry = 0; entry <= layer->GetDynamicEntryCount(); ++entry) {
        live += layer->GetDynamicObject(entry) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(live, 2);
    b.SetPosition({3.0f, 0.0f});
    Step(1);
    const Collision2D::DynamicObject* results = a.GetCollisionObject();
    ASSERT_EQ(Tundra::GetNumberOfCollidedSprites(results, true), 1);
    EXPECT_EQ(Tundra::GetCollidedSprite(results, 0, true), &b);
    EXPECT_TRUE(Tundra::IsCollidedWithSprite(results, "b", false));
    EXPECT_FALSE(Tundra::IsCollidedWithSprite(results, "c", true));
    EXPECT_TRUE(Tundra::IsMyCircleCollided(results, 11));
    EXPECT_FALSE(Tundra::IsMyCircleCollided(results, 22));
    EXPECT_TRUE(Tundra::IsCollidedWithSpriteCircle(results, 22));
    b.RemoveCollision();
    EXPECT_EQ(Tundra::GetCollidedSprite(results, 0, true), nullptr);
}

TEST_F(GameTest, AnObjectHeldAcrossALevelChangeTouchesNothingOfTheNewLevel) {
    TestGame& game = Start();
    const Core::RefPtr<TestObject> kept = TUN_NEW(TestObject, "kept");
    ASSERT_TRUE(kept->AddCollision(CircleShape(1.0f, 1), 0));
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    ASSERT_TRUE(kept->AddPhysicalProperties(&mass, 0));
    game.RestartLevel();
    Step(1);
    TestObject& fresh = Spawn("fresh");
    ASSERT_TRUE(fresh.AddCollision(CircleShape(1.0f, 2), 0));
    ASSERT_TRUE(fresh.AddPhysicalProperties(&mass, 0));
    EXPECT_EQ(fresh.GetCollisionId(), kept->GetCollisionId());
    kept->SetPosition({50.0f, 60.0f});
    kept->SetVelocity({9.0f, 9.0f});
    EXPECT_EQ(fresh.GetCollisionObject()->GetPosition(), Vector2D(0.0f, 0.0f));
    Vector2D velocity;
    ASSERT_TRUE(fresh.GetVelocity(velocity));
    EXPECT_EQ(velocity, Vector2D(0.0f, 0.0f));
    EXPECT_EQ(kept->GetCollisionObject(), nullptr);
    kept->Destroy();
    kept->Cleanup();
    EXPECT_NE(fresh.GetCollisionObject(), nullptr);
}
