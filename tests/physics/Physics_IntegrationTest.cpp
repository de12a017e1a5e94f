#include "Physics_TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace Physics2D;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// One body of the given mass and integrator, optionally under gravity.
struct OneBody {
    PhysicsEngine engine;
    std::uint32_t id;

    OneBody(float mass, int kind, bool gravity, float scale = 15.0f) {
        engine.SetScale(scale);
        id = engine.AddRigidBody(MakeBody(mass, kind, {}));
        if (gravity) engine.AddRigidBodyForce(id, MakeGravity());
    }
    const RigidBody& Body() const { return *engine.GetRigidBody(id); }
};

}  // namespace

TEST(MassPropertiesTest, InversesAreZeroForValuesThatCannotBeInverted) {
    const struct { float value, inverse; } cases[] = {
        {2.0f, 0.5f}, {4.0f, 0.25f}, {0.0f, 0.0f}, {-1.0f, 0.0f}, {kNaN, 0.0f}, {INFINITY, 0.0f}};
    for (const auto& c : cases) {
        EXPECT_EQ(MassProperties(c.value, c.value).GetInverseMass(), c.inverse) << c.value;
        EXPECT_EQ(MassProperties(c.value, c.value).GetInverseInertia(), c.inverse) << c.value;
    }
    // Values that are not finite are kept as 0, so that every stored one is finite.
    MassProperties mass(INFINITY, kNaN, {kNaN, 1.0f});
    mass.SetCenterOfMass({2.0f, INFINITY});
    EXPECT_EQ(mass.GetMass() + mass.GetInertia(), 0.0f);
    EXPECT_EQ(mass.GetCenterOfMass(), Vector2D());
}

TEST(IntegrationTest, OneGravityStepFromRestPerIntegrator) {
    const struct { int kind; float y; } cases[] = {{0, 0.0f}, {7, 0.0f}, {1, -0.0294f}, {2, -0.0294f}};
    for (const auto& c : cases) {
        OneBody world(1.0f, c.kind, true);
        world.engine.Update(0.02f);
        EXPECT_NEAR(world.Body().GetPosition().y, c.y, 1e-6f) << "kind " << c.kind;
        EXPECT_NEAR(world.Body().GetVelocity().y, -0.196f, 1e-6f) << "kind " << c.kind;
    }
}

TEST(IntegrationTest, MasslessBodiesFlyUnmovedByForcesAndKindThreeNeverMoves) {
    OneBody shot(0.0f, 0, true);
    shot.engine.SetRigidBodyVelocity(shot.id, {50.0f, 0.0f});
    shot.engine.Update(0.01f);
    EXPECT_NEAR(shot.Body().GetPosition().x, 50.0f * 15.0f * 0.01f, 1e-4f);
    EXPECT_EQ(shot.Body().GetVelocity(), Vector2D(50.0f, 0.0f));

    PhysicsEngine engine;
    CallbackLog log;
    const std::uint32_t fixed = engine.AddRigidBody(MakeBody(1.0f, 3, {}, &log));
    engine.SetRigidBodyVelocity(fixed, {50.0f, 0.0f});
    engine.Update(0.01f);
    EXPECT_EQ(engine.GetRigidBody(fixed)->GetPosition(), Vector2D());
    EXPECT_TRUE(log.calls.empty());
}

TEST(IntegrationTest, BodiesOfInverseMassZeroFeelNoForceAndStillLoadBack) {
    for (const float mass : {INFINITY, kNaN, 0.0f, -1.0f}) {
        OneBody world(mass, 2, true);
        world.engine.SetRigidBodyVelocity(world.id, {1.0f, 0.0f});
        for (int step = 0; step < 3; ++step) world.engine.Update(0.02f);
        EXPECT_EQ(world.Body().GetVelocity(), Vector2D(1.0f, 0.0f)) << mass;
        EXPECT_FLOAT_EQ(world.Body().GetPosition().x, 3 * 0.02f * 15.0f) << mass;
        EXPECT_NE(Read(BytesOf(&world.engine)), nullptr) << mass;
    }
}

TEST(IntegrationTest, ForcesWithNonFiniteParametersAreRefused) {
    const auto refused = [] {
        return std::vector<Core::RefPtr<Force>>{
            TUN_NEW(GravityForce, Vector2D(0.0f, -1.0f), kNaN), TUN_NEW(GravityForce, Vector2D(INFINITY, 0.0f), 9.8f),
            TUN_NEW(ConstantForce, Vector2D(kNaN, 0.0f)),       TUN_NEW(ConstantForce, Vector2D(0.0f, -INFINITY)),
            TUN_NEW(DragForce, INFINITY),                       TUN_NEW(DragForce, kNaN)};
    };
    OneBody world(1.0f, 0, false);
    for (const auto& force : refused()) world.engine.AddRigidBodyForce(world.id, force.Get());
    for (const auto& force : refused()) world.engine.GetRigidBody(world.id)->AddForce(force.Get());
    EXPECT_EQ(world.Body().GetForceCount(), 0u);
}

TEST(IntegrationTest, NoForceEverMakesABodyNonFinite) {
    const float most = std::numeric_limits<float>::max();
    const struct {
        const char* what;
        float mass;
        Core::RefPtr<Force> force;
    } cases[] = {
        {"the largest push on a light body", 1e-3f, TUN_NEW(ConstantForce, Vector2D(most, -most))},
        {"drag too stiff for the step", 1.0f, TUN_NEW(DragForce, 1e30f)},
        {"gravity on an enormous mass", 1e38f, MakeGravity()},
    };
    for (const auto& c : cases) {
        for (const int kind : {0, 1, 2}) {
            OneBody world(c.mass, kind, false);
            world.engine.AddRigidBodyForce(world.id, c.force.Get());
            world.engine.SetRigidBodyVelocity(world.id, {1.0f, 1.0f});
            world.engine.SetRigidBodyAngularVelocity(world.id, most);
            for (int step = 0; step < 300; ++step) world.engine.Update(0.02f);
            const BodyState& s = world.Body().GetState();
            const bool finite = std::isfinite(s.position.x) && std::isfinite(s.position.y) &&
                                std::isfinite(s.velocity.x) && std::isfinite(s.velocity.y) &&
                                std::isfinite(s.orientation) && std::isfinite(s.angularVelocity);
            EXPECT_TRUE(finite) << c.what << ", kind " << kind;
        }
    }
}

// A spring of the test's own: a force that depends on the position, so that
// each integrator's error shows in the energy it adds.
class SpringForce : public Force {
public:
    Vector2D Evaluate(const BodyState& state, const MassProperties&) const override { return state.position * -1.0f; }
};

TEST(IntegrationTest, SpringEnergyDriftsLeastWithHigherOrderIntegrators) {
    // Unit mass and stiffness at scale 1: energy (x^2 + v^2) / 2 starts at 0.5.
    float drift[3] = {};
    for (int kind : {0, 1, 2}) {
        OneBody world(1.0f, kind, false, 1.0f);
        world.engine.SetRigidBodyPosition(world.id, {1.0f, 0.0f});
        world.engine.AddRigidBodyForce(world.id, TUN_NEW(SpringForce));
        const BodyState& s = world.Body().GetState();
        const auto energy = [&] { return 0.5f * (s.position.Dot(s.position) + s.velocity.Dot(s.velocity)); };
        float previous = energy();
        for (int period = 0; period < 100; ++period) {
            for (int step = 0; step < 377; ++step) world.engine.Update(1.0f / 60.0f);
            if (kind == 0) {
                EXPECT_GT(energy(), previous) << "period " << period;
            }
            previous = energy();
        }
        drift[kind] = std::abs(energy() - 0.5f);
    }
    EXPECT_LT(drift[1], drift[0] / 10.0f);
    EXPECT_LT(drift[2], 1e-3f);
}

TEST(IntegrationTest, TheStepIsCappedAndNonsenseStepsDoNothing) {
    const struct { float maximum, dt, x; } cases[] = {{0.02f, 0.05f, 0.02f}, {0.02f, 0.01f, 0.01f}, {0.02f, 0.0f, 0.0f},
                                                      {0.02f, -1.0f, 0.0f},  {0.02f, kNaN, 0.0f},   {1e-12f, 0.02f, 1e-12f}};
    for (const auto& c : cases) {
        OneBody world(1.0f, 0, false, 1.0f);
        world.engine.SetMaximumSimulationStep(c.maximum);
        world.engine.SetRigidBodyVelocity(world.id, {1.0f, 0.0f});
        world.engine.Update(c.dt);
        EXPECT_FLOAT_EQ(world.Body().GetPosition().x, c.x) << c.dt;
    }
    OneBody paused(1.0f, 2, true);
    paused.engine.SetMaximumSimulationStep(1e-12f);
    for (int frame = 0; frame < 1000; ++frame) paused.engine.Update(1.0f / 60.0f);
    EXPECT_LT(std::abs(paused.Body().GetPosition().y), 1e-6f);
}

namespace {

// An owner that, told of its body's move, moves it again, pushes a second
// body and removes a third, as game objects do through their setters.
struct Meddler : Core::Object {
    PhysicsEngine* engine = nullptr;
    std::uint32_t pushed = 0, removed = 0;

    static void Moved(RigidBody* body, Core::Object* owner) {
        auto* self = static_cast<Meddler*>(owner);
        body->SetPosition(body->GetPosition() + Vector2D(0.0f, 100.0f));
        self->engine->SetRigidBodyVelocity(self->pushed, {0.0f, 7.0f});
        self->engine->RemoveRigidBody(self->removed);
    }
};

}  // namespace

TEST(IntegrationTest, CallbacksMayReenterTheEngineAndBySetterMovesCallNone) {
    PhysicsEngine engine;
    engine.SetMaximumSimulationStep(1.0f);
    Meddler meddler;
    meddler.engine = &engine;
    const std::uint32_t meddling =
        engine.AddRigidBody(TUN_NEW(RigidBody, MassProperties(1.0f), 0, &Meddler::Moved, nullptr, &meddler));
    meddler.pushed = engine.AddRigidBody(MakeBody(1.0f, 0, {}));
    meddler.removed = engine.AddRigidBody(MakeBody(1.0f, 0, {}));
    engine.SetRigidBodyPosition(meddling, {0.0f, 1.0f});
    EXPECT_EQ(engine.GetRigidBody(meddler.removed)->GetPosition().y, 0.0f) << "a by-index setter called back";
    engine.Update(0.5f);
    EXPECT_EQ(engine.GetRigidBody(meddling)->GetPosition().y, 101.0f);
    EXPECT_EQ(engine.GetRigidBody(meddler.pushed)->GetPosition().y, 0.5f * 7.0f);
    EXPECT_EQ(engine.GetRigidBody(meddler.removed), nullptr);
}
