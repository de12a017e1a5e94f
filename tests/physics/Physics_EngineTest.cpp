#include "Physics_TestWorld.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace Physics2D;

TEST(PhysicsEngineTest, IndicesCountFromOneHolesAreReusedAndBadOnesChangeNothing) {
    PhysicsEngine engine;
    RigidBody* first = MakeBody(1.0f, 0, {1.0f, 2.0f});
    const std::uint32_t added[] = {engine.AddRigidBody(nullptr), engine.AddRigidBody(first), engine.AddRigidBody(first),
                                   engine.AddRigidBody(MakeBody(1.0f, 0, {})), engine.AddRigidBody(MakeBody(1.0f, 0, {}))};
    EXPECT_EQ(std::vector<std::uint32_t>(std::begin(added), std::end(added)), (std::vector<std::uint32_t>{0, 1, 1, 2, 3}));
    engine.RemoveRigidBody(3);
    engine.RemoveRigidBody(2);
    EXPECT_EQ(engine.GetRigidBodyCount(), 3u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const std::uint32_t bad : {0u, 2u, 4u, 0xFFFFFFFFu}) {
        engine.SetRigidBodyPosition(bad, {5.0f, 5.0f});
        engine.AddRigidBodyForce(bad, MakeGravity());
        engine.RemoveRigidBody(bad);
        Vector2D vector(9.0f, 9.0f);
        float angular = 9.0f;
        MassProperties mass;
        EXPECT_FALSE(engine.GetRigidBodyVelocity(bad, vector) || engine.GetRigidBodyAngularVelocity(bad, angular) ||
                     engine.GetMassProperties(bad, mass) || engine.GetRigidBodyCenterOfMass(bad, vector) ||
                     engine.RemoveRigidBodyForce(bad, 0));
        EXPECT_EQ(vector, Vector2D(9.0f, 9.0f));
    }
    engine.SetRigidBodyPosition(1, {nan, 0.0f});
    engine.SetRigidBodyVelocity(1, {0.0f, nan});
    for (const float scale : {0.0f, -1.0f, nan}) engine.SetScale(scale);
    engine.SetMaximumSimulationStep(nan);
    engine.SetAccuracy(-5);
    EXPECT_EQ(engine.GetRigidBody(1)->GetPosition(), Vector2D(1.0f, 2.0f));
    EXPECT_EQ(engine.GetRigidBody(1)->GetVelocity(), Vector2D());
    EXPECT_EQ(engine.GetScale(), 1.0f);
    EXPECT_EQ(engine.GetMaximumSimulationStep(), 0.02f);
    EXPECT_EQ(engine.GetAccuracy(), 1);
    EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 0, {})), 2u);
    EXPECT_EQ(engine.AddRigidBody(MakeBody(1.0f, 0, {})), 3u);
}

TEST(PhysicsEngineTest, ACloneFallsOnItsOwnAndResetKeepsTheSettings) {
    PhysicsEngine engine;
    engine.SetScale(15.0f);
    CallbackLog owner, newOwner;
    const std::uint32_t source = engine.AddRigidBody(MakeBody(1.0f, 0, {}, &owner));
    engine.AddRigidBodyForce(source, MakeGravity());
    const std::uint32_t copy = engine.CloneRigidBody(source, &newOwner);
    EXPECT_EQ(engine.CloneRigidBody(99, &newOwner), 0u);
    engine.RemoveAllRigidBodyForces(source);
    engine.Update(0.02f);
    EXPECT_EQ(engine.GetRigidBody(source)->GetVelocity(), Vector2D());
    EXPECT_NEAR(engine.GetRigidBody(copy)->GetVelocity().y, -0.196f, 1e-6f);
    EXPECT_EQ(engine.GetRigidBody(copy)->GetUserData(), &newOwner);
    EXPECT_EQ(newOwner.calls.size(), 2u);

    const auto callback = [](PhysicsEngine*, void*) {};
    engine.SetContactListUpdate(callback);
    engine.SetContactListUpdateData(&owner);
    engine.AddJoint(TUN_NEW(JointHinge, 1, 2, Vector2D(), Vector2D()));
    engine.AddContact(1, 0, Contact());
    engine.Reset();
    EXPECT_EQ(engine.GetRigidBodyCount() + engine.GetJointCount() + engine.GetContactCount(), 0u);
    EXPECT_EQ(engine.GetScale(), 15.0f);
    EXPECT_TRUE(engine.GetContactListUpdate() == callback && engine.GetContactListUpdateData() == &owner);
}

TEST(PhysicsEngineTest, EveryPhysicsClassIsCreatedByName) {
    for (const char* name :
         {"Physics2D::PhysicsEngine", "Physics2D::ConstantForce", "Physics2D::GravityForce", "Physics2D::DragForce",
          "Physics2D::JointNail", "Physics2D::JointHinge", "Physics2D::JointSpring", "Physics2D::JointSlider",
          "Physics2D::JointFixed", "Physics2D::JointAngularMotor", "Physics2D::Contact", "Physics2D::RigidBody",
          "Physics2D::ODESolverEuler", "Physics2D::ODESolverHeun", "Physics2D::ODESolverRungeKuttaN4"}) {
        Core::RefPtr<Core::Object> object(CreateObjectByName(name));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->GetType(), name);
        EXPECT_EQ(object->GetReferenceCount(), 1u);
    }
}

namespace {

// An engine with a hole, forces of each kind, a joint and each integrator.
Core::RefPtr<PhysicsEngine> MakeStoredEngine() {
    Core::RefPtr<PhysicsEngine> engine(TUN_NEW(PhysicsEngine));
    engine->SetScale(15.0f);
    engine->SetAccuracy(150);
    for (int kind : {0, 1, 2, 3}) {
        const std::uint32_t id = engine->AddRigidBody(MakeBody(1.0f + kind, kind, {kind * 10.0f, 50.0f}));
        engine->SetRigidBodyVelocity(id, {1.0f, kind * 0.5f});
        engine->AddRigidBodyForce(id, MakeGravity());
    }
    engine->AddRigidBodyForce(1, TUN_NEW(DragForce, 0.25f));
    engine->AddRigidBodyForce(2, TUN_NEW(ConstantForce, Vector2D(3.0f, 0.0f)));
    engine->RemoveRigidBody(3);
    engine->AddJoint(TUN_NEW(JointSpring, 1, 2, Vector2D(1.0f, 0.0f), Vector2D(0.0f, 1.0f)));
    return engine;
}

}  // namespace

TEST(PhysicsEngineTest, AStoredEngineComesBackWholeAndDamagedStreamsFail) {
    Core::RefPtr<PhysicsEngine> original = MakeStoredEngine();
    const std::vector<std::uint8_t> bytes = BytesOf(original.Get());
    Core::RefPtr<PhysicsEngine> loaded = Read(bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(BytesOf(loaded.Get()), bytes);
    for (int step = 0; step < 50; ++step) {
        original->Update(1.0f / 60.0f);
        loaded->Update(1.0f / 60.0f);
    }
    EXPECT_EQ(BytesOf(loaded.Get()), BytesOf(original.Get()));

    // A joint where a body is stored (names of equal length), and accuracies out of range.
    std::vector<std::uint8_t> wrongClass = bytes;
    const std::string_view body = "Physics2D::RigidBody", joint = "Physics2D::JointNail";
    std::copy(joint.begin(), joint.end(), std::search(wrongClass.begin(), wrongClass.end(), body.begin(), body.end()));
    EXPECT_EQ(Read(wrongClass), nullptr);
    for (const std::int32_t accuracy : {0, 10001, -1}) {
        PhysicsEngine engine;
        std::vector<std::uint8_t> stored = BytesOf(&engine);
        std::memcpy(&stored[stored.size() - 6 * 4], &accuracy, 4);  // before the step and four counts
        EXPECT_EQ(Read(stored), nullptr) << accuracy;
    }
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_EQ(Read({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)}), nullptr) << size;
    }
    Core::MersenneTwister random(7);
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<std::uint8_t> mutated = bytes;
        for (int flip = 0; flip < 3; ++flip) {
            mutated[random.Next() % mutated.size()] = static_cast<std::uint8_t>(random.Next());
        }
        Core::RefPtr<PhysicsEngine> engine = Read(mutated);
        if (engine != nullptr) engine->Update(0.02f);
    }
}

TEST(PhysicsEngineTest, AStoredNonFiniteValueFailsTheWholeLoad) {
    // Every stored float has a value of its own, so that its bytes can be found.
    PhysicsEngine engine;
    const std::uint32_t id =
        engine.AddRigidBody(TUN_NEW(RigidBody, MassProperties(2.625f, 3.875f, {0.1875f, 0.0f}), 0, nullptr, nullptr, nullptr));
    engine.SetRigidBodyPosition(id, {123.5f, 0.0f});
    engine.SetRigidBodyOrientation(id, 33.25f);
    engine.SetRigidBodyVelocity(id, {4.375f, 0.0f});
    engine.SetRigidBodyAngularVelocity(id, 7.125f);
    engine.AddRigidBodyForce(id, TUN_NEW(GravityForce, Vector2D(0.0f, -1.0f), 9.75f));
    engine.AddRigidBodyForce(id, TUN_NEW(ConstantForce, Vector2D(6.5f, 0.0f)));
    engine.AddRigidBodyForce(id, TUN_NEW(DragForce, 0.3125f));
    engine.AddJoint(TUN_NEW(JointHinge, id, 0, Vector2D(5.5f, 0.0f), Vector2D()));
    engine.AddContact(id, 0, Contact({1.5f, 0.0f}, {0.6f, 0.8f}, {2.5f, 0.0f}, {3.5f, 0.0f}, 1.75f, 0.3f, 0.5f, 0));
    // Nor can one be added.
    const Vector2D nan(std::numeric_limits<float>::quiet_NaN(), 0.0f);
    EXPECT_EQ(engine.AddJoint(TUN_NEW(JointNail, id, 0, Vector2D(), nan)), 0u);
    engine.AddContact(id, 0, Contact({}, {0.0f, 1.0f}, nan, {}, 1.0f, 0.3f, 0.5f, 0));
    EXPECT_EQ(engine.GetJointCount() + engine.GetContactCount(), 2u);
    const std::vector<std::uint8_t> bytes = BytesOf(&engine);
    ASSERT_NE(Read(bytes), nullptr);
    for (const float stored : {123.5f, 33.25f, 4.375f, 7.125f, 2.625f, 3.875f, 0.1875f, 9.75f, 6.5f, 0.3125f, 5.5f,
                               1.5f, 0.6f, 2.5f, 3.5f, 1.75f, 0.3f, 0.5f}) {
        std::uint8_t pattern[4];
        std::memcpy(pattern, &stored, 4);
        const auto at = std::search(bytes.begin(), bytes.end(), std::begin(pattern), std::end(pattern));
        ASSERT_NE(at, bytes.end()) << stored;
        ASSERT_EQ(std::search(at + 1, bytes.end(), std::begin(pattern), std::end(pattern)), bytes.end()) << stored;
        for (const float bad : {std::numeric_limits<float>::quiet_NaN(), -INFINITY}) {
            std::vector<std::uint8_t> damaged = bytes;
            std::memcpy(&damaged[static_cast<std::size_t>(at - bytes.begin())], &bad, 4);
            EXPECT_EQ(Read(damaged), nullptr) << stored << " stored as " << bad;
        }
    }
}

TEST(PhysicsEngineTest, AStreamListingOneBodyTwiceFails) {
    PhysicsEngine engine;
    for (int i = 0; i < 2; ++i) engine.AddRigidBody(MakeBody(1.0f, 3, {}));
    std::vector<std::uint8_t> bytes = BytesOf(&engine);
    ASSERT_NE(Read(bytes), nullptr);
    // The second body's record (flag, name, id, then its fields: mass 16
    // bytes, a null integrator 1, pose and velocities 24, no forces 4)
    // becomes a second reference to the first body.
    const std::string_view name = "Physics2D::RigidBody";
    const auto first = std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) + name.size();
    const auto second = std::search(first, bytes.end(), name.begin(), name.end()) + name.size();
    std::copy(first, first + 4, second);
    bytes.erase(second + 4, second + 4 + 16 + 1 + 24 + 4);
    EXPECT_EQ(Read(bytes), nullptr);
}
