#include "Physics_TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace Physics2D;

namespace {

struct BodySpec {
    float mass;
    Vector2D velocity;
};

// Bodies at the origin, scale 15, the game's accuracy; contacts (a, b, normal,
// depth, restitution, friction) added directly, then one solve.
struct Scene {
    PhysicsEngine engine;

    Scene(std::initializer_list<BodySpec> bodies,
          std::initializer_list<std::tuple<std::uint32_t, std::uint32_t, Vector2D, float, float, float>> contacts) {
        engine.SetScale(15.0f);
        engine.SetAccuracy(150);
        for (const BodySpec& spec : bodies) engine.SetRigidBodyVelocity(engine.AddRigidBody(MakeBody(spec.mass, 0, {})), spec.velocity);
        for (const auto& [a, b, normal, depth, restitution, friction] : contacts) {
            engine.AddContact(a, b, Contact({}, normal, {}, {}, depth, restitution, friction, 0));
        }
        engine.PostCollisionUpdate(1.0f / 60.0f);
    }
    const Vector2D& Position(std::uint32_t id) const { return engine.GetRigidBody(id)->GetPosition(); }
    const Vector2D& Velocity(std::uint32_t id) const { return engine.GetRigidBody(id)->GetVelocity(); }
};

const Vector2D kUp(0.0f, 1.0f);
constexpr float kSlop = ContactSolver::kSlop;

}  // namespace

TEST(ContactTest, OverlapIsRemovedDownToTheSlopSharedByInverseMass) {
    const struct {
        const char* what;
        std::initializer_list<BodySpec> bodies;
        std::uint32_t b;
        float depth, movedA, movedB;
    } cases[] = {
        {"against the world", {{1.0f, {}}}, 0, 5.0f, 5.0f - kSlop, 0.0f},
        {"two equal bodies", {{1.0f, {}}, {1.0f, {}}}, 2, 5.0f, (5.0f - kSlop) / 2, -(5.0f - kSlop) / 2},
        {"a heavier second body", {{1.0f, {}}, {3.0f, {}}}, 2, 4.5f, 3.0f, -1.0f},
        {"a massless first body", {{0.0f, {}}, {1.0f, {}}}, 2, 5.0f, 0.0f, -(5.0f - kSlop)},
        {"massless against the world", {{0.0f, {}}}, 0, 5.0f, 0.0f, 0.0f},
        {"a removed second body is the world", {{1.0f, {}}}, 7, 5.0f, 5.0f - kSlop, 0.0f},
    };
    for (const auto& c : cases) {
        const Scene scene(c.bodies, {{1, c.b, kUp, c.depth, 0.0f, 0.0f}});
        EXPECT_NEAR(scene.Position(1).y, c.movedA, 0.01f) << c.what;
        if (c.bodies.size() > 1) {
            EXPECT_NEAR(scene.Position(2).y, c.movedB, 0.01f) << c.what;
        }
        EXPECT_EQ(scene.Velocity(1), Vector2D()) << c.what << ": the position phase changed a velocity";
    }
}

TEST(ContactTest, ApproachingBodiesBounceByRestitutionAboveTheThresholdOnly) {
    const struct { float approach, restitution, leaving; } cases[] = {
        {-10.0f, 0.3f, 3.0f}, {-10.0f, 0.0f, 0.0f}, {-0.5f, 0.3f, 0.0f}, {4.0f, 0.3f, 4.0f}};
    for (const auto& c : cases) {
        const Scene scene({{1.0f, {0.0f, c.approach}}}, {{1, 0, kUp, 0.0f, c.restitution, 0.0f}});
        EXPECT_NEAR(scene.Velocity(1).y, c.leaving, 1e-4f) << c.approach;
    }
}

TEST(ContactTest, FrictionNeverChangesTheSlidingSpeedByMoreThanItsShareOfTheNormalImpulse) {
    for (const float friction : {0.0f, 0.2f, 0.5f, 5.0f}) {
        const Scene scene({{1.0f, {5.0f, -2.0f}}}, {{1, 0, kUp, 0.0f, 0.0f, friction}});
        const float normalImpulse = 2.0f;  // mass 1 stopped from 2 along the normal
        EXPECT_NEAR(scene.Velocity(1).y, 0.0f, 1e-4f);
        EXPECT_NEAR(scene.Velocity(1).x, std::max(5.0f - friction * normalImpulse, 0.0f), 1e-4f) << friction;
    }
}

TEST(ContactTest, APairSeenFromBothSidesEndsAsOneContact) {
    const std::initializer_list<BodySpec> bodies = {{1.0f, {0.0f, -3.0f}}, {2.0f, {0.0f, 1.0f}}};
    const Scene once(bodies, {{1, 2, kUp, 3.0f, 0.3f, 0.5f}});
    const Scene twice(bodies, {{1, 2, kUp, 3.0f, 0.3f, 0.5f}, {2, 1, -kUp, 3.0f, 0.3f, 0.5f}});
    for (const std::uint32_t id : {1u, 2u}) {
        EXPECT_EQ(once.Position(id), twice.Position(id));
        EXPECT_EQ(once.Velocity(id), twice.Velocity(id));
    }
}

TEST(ContactTest, APausedFrameOverADeepContactGainsNoVelocity) {
    PhysicsEngine engine;
    engine.SetScale(15.0f);
    engine.SetMaximumSimulationStep(1e-12f);
    CallbackLog log;
    const std::uint32_t id = engine.AddRigidBody(MakeBody(1.0f, 0, {}, &log));
    engine.AddRigidBodyForce(id, MakeGravity());
    engine.Update(1.0f / 60.0f);
    engine.AddContact(id, 0, Contact({}, {0.0f, 1.0f}, {}, {}, 40.0f, 0.3f, 0.5f, 0));
    log.calls.clear();
    engine.PostCollisionUpdate(1e-12f);
    // The tiny approach is stopped; the 40 units of overlap add no speed.
    EXPECT_EQ(engine.GetRigidBody(id)->GetVelocity(), Vector2D());
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_LT(log.calls[0].position.y, 1.0f);
    EXPECT_NEAR(log.calls[1].position.y, 40.0f - kSlop, 0.1f);
}

namespace {

// The owner of body 1: told by the solver that its body moved, it removes
// body 2 and may put a new body in its place, as a game object's script may.
struct Replacer : Core::Object {
    PhysicsEngine* engine = nullptr;
    bool replace = false;
    std::uint32_t added = 0;

    static void Moved(RigidBody*, Core::Object* owner) {
        auto* self = static_cast<Replacer*>(owner);
        if (self->engine->GetRigidBody(2) == nullptr || self->added != 0) return;
        self->engine->RemoveRigidBody(2);
        if (self->replace) self->added = self->engine->AddRigidBody(MakeBody(1.0f, 0, {1000.0f, 1000.0f}));
    }
};

}  // namespace

TEST(ContactTest, ABodyRemovedOrReplacedByAPositionCallbackIsNeitherMovedNorRemembered) {
    for (const bool replace : {false, true}) {
        PhysicsEngine engine;
        engine.SetScale(15.0f);
        Replacer owner;
        owner.engine = &engine;
        owner.replace = replace;
        engine.AddRigidBody(TUN_NEW(RigidBody, MassProperties(1.0f), 0, &Replacer::Moved, nullptr, &owner));
        engine.AddRigidBody(MakeBody(1.0f, 0, {}));
        engine.AddContact(1, 2, Contact({}, kUp, {}, {}, 5.0f, 0.3f, 0.5f, 0));
        engine.PostCollisionUpdate(1.0f / 60.0f);
        EXPECT_NEAR(engine.GetRigidBody(1)->GetPosition().y, (5.0f - kSlop) / 2, 0.01f) << replace;
        if (replace) {
            ASSERT_EQ(owner.added, 2u);
            EXPECT_EQ(engine.GetRigidBody(2)->GetPosition(), Vector2D(1000.0f, 1000.0f));
        }
        const std::vector<std::uint8_t> bytes = BytesOf(&engine);
        EXPECT_NE(Read(bytes), nullptr) << replace;
        // The stream ends with the count of remembered impulses.
        EXPECT_TRUE(std::equal(bytes.end() - 4, bytes.end(), std::vector<std::uint8_t>(4).begin())) << replace;
    }
}

namespace {

// Three boxes 10 units high stacked on the ground: each presses on the one
// below it (body 1 on the world).
void StackContacts(PhysicsEngine* engine, void*) {
    for (std::uint32_t id = 1; id <= 3; ++id) {
        const float top = id == 1 ? 0.0f : engine->GetRigidBody(id - 1)->GetPosition().y + 10.0f;
        const float depth = top - engine->GetRigidBody(id)->GetPosition().y;
        engine->AddContact(id, id - 1, Contact({}, kUp, {}, {}, depth, 0.0f, 0.5f, 0));
    }
}

void StepStack(PhysicsEngine& engine, int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        engine.Update(1.0f / 60.0f);
        engine.PostCollisionUpdate(1.0f / 60.0f);
    }
}

}  // namespace

TEST(ContactTest, ACopiedEngineContinuesBitForBitWithTheOriginal) {
    PhysicsEngine engine;
    engine.SetScale(15.0f);
    engine.SetAccuracy(4);  // few iterations: the remembered impulses carry the stack
    engine.SetContactListUpdate(&StackContacts);
    for (int i = 0; i < 3; ++i) {
        engine.AddRigidBodyForce(engine.AddRigidBody(MakeBody(1.0f, 0, {0.0f, 10.0f * i + 1.0f})), MakeGravity());
    }
    StepStack(engine, 10);
    PhysicsEngine copy(engine);
    EXPECT_EQ(BytesOf(&copy), BytesOf(&engine));
    StepStack(engine, 5);
    StepStack(copy, 5);
    for (std::uint32_t id = 1; id <= 3; ++id) {
        EXPECT_EQ(copy.GetRigidBody(id)->GetPosition(), engine.GetRigidBody(id)->GetPosition()) << id;
    }
    EXPECT_EQ(BytesOf(&copy), BytesOf(&engine));
}

TEST(ContactTest, MergingKeepsEachPairsFirstContactsInListOrderWhateverLiesBetween) {
    // Bodies 1 to 3 cannot turn; body 4 can, so its points stay apart.
    BodyList bodies;
    for (int i = 0; i < 3; ++i) bodies.emplace_back(MakeBody(1.0f, 0, {}));
    bodies.emplace_back(TUN_NEW(RigidBody, MassProperties(1.0f, 2.0f), 0, nullptr, nullptr, nullptr));
    const Vector2D up(0.0f, 1.0f), down(0.0f, -1.0f), right(1.0f, 0.0f), left(-1.0f, 0.0f);
    struct Entry {
        std::uint32_t a, b;
        Vector2D normal, point;
        float depth;
    };
    const Entry added[] = {
        {1, 2, up, {0, 0}, 1},     {1, 0, up, {10, 0}, 1},    {2, 1, down, {0, 0}, 1},  // a mirror: dropped
        {1, 2, up, {2, 0}, 2},                                                        // merged into the first
        {3, 1, right, {5, 5}, 1},  {1, 0, right, {20, 0}, 1},                          // another normal: kept
        {1, 0, up, {12, 0}, 3},    {1, 4, up, {0, 0}, 1},     {1, 4, up, {4, 0}, 1},    // turning: kept apart
        {4, 1, down, {0, 0}, 1},   {1, 3, left, {7, 7}, 1},                            // mirrors: dropped
    };
    const Entry kept[] = {{1, 2, up, {1, 0}, 2},    {1, 0, up, {11, 0}, 3}, {3, 1, right, {5, 5}, 1},
                          {1, 0, right, {20, 0}, 1}, {1, 4, up, {0, 0}, 1},  {1, 4, up, {4, 0}, 1}};
    std::vector<ContactEntry> contacts;
    for (const Entry& e : added) {
        contacts.push_back({e.a, e.b, Contact(e.point, e.normal, {}, {}, e.depth, 0.3f, 0.5f, 0)});
    }
    ContactSolver().MergeContacts(contacts, bodies);
    ASSERT_EQ(contacts.size(), std::size(kept));
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        EXPECT_EQ(contacts[i].bodyA, kept[i].a) << i;
        EXPECT_EQ(contacts[i].bodyB, kept[i].b) << i;
        EXPECT_EQ(contacts[i].contact.GetNormal(), kept[i].normal) << i;
        EXPECT_EQ(contacts[i].contact.GetPoint(), kept[i].point) << i;
        EXPECT_EQ(contacts[i].contact.GetDepth(), kept[i].depth) << i;
    }
}
