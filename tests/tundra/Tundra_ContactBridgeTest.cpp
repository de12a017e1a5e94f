#include "support/Tundra_TestGame.h"

#include "collision/Collision_DynamicObject.h"
#include "physics/Physics_PhysicsEngine.h"

using namespace tundratest;

namespace {

// The last of the object's shape records naming the other.
const Collision2D::DGEO_C* RecordNaming(const Tundra::GameObject& self, const Tundra::GameObject& other) {
    const auto& records = self.GetCollisionObject()->GetShapeCollisions();
    const Collision2D::DGEO_C* found = nullptr;
    for (std::uint32_t i = 0; i < records.Count(); ++i) {
        found = records[i].handle == other.GetCollisionId() ? &records[i] : found;
    }
    return found;
}

std::uint32_t Points(const Collision2D::COLLISION_C& result) { return std::min(result.numberOfIntersectedPoints, 2u); }

}  // namespace

TEST_F(GameTest, EveryIntersectedPointAsksTheFilterWithFreshDefaultsAndAcceptedOnesBecomeContacts) {
    TestGame& game = Start();
    TestObject& a = Spawn("a");
    TestObject& b = Spawn("b");
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (TestObject* object : {&a, &b}) {
        ASSERT_TRUE(object->AddCollision(CircleShape(5.0f, 1), 0));
        ASSERT_TRUE(object->AddPhysicalProperties(&mass, 0));
    }
    b.SetPosition({6.0f, 0.0f});
    LayerAt(0).AddStaticCircle({-6.0f, 0.0f}, 5.0f, 0, 9);
    const Core::RefPtr<Physics2D::RigidBody> stray = TUN_NEW(Physics2D::RigidBody);
    game.GetPhysicsEngine()->AddRigidBody(stray.Get());
    Step(1);
    // The callback run again on this frame's records; its contacts read back before any solve.
    Physics2D::PhysicsEngine& physics = *game.GetPhysicsEngine();
    using Seen = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
    const auto bridge = [&] {
        const std::uint32_t from = physics.GetContactCount();
        Tundra::Game::ContactCallback(&physics, &game);
        std::vector<Seen> seen;
        for (std::uint32_t i = from; i < physics.GetContactCount(); ++i) {
            const Physics2D::ContactEntry& entry = *physics.GetContact(i);
            const Physics2D::Contact& c = entry.contact;
            const TestObject& self = entry.bodyA == a.GetPhysicsId() ? a : b;
            const TestObject& other = &self == &a ? b : a;
            const bool world = entry.bodyB == 0 && c.GetFlag() == 0;
            const Vector2D anchorA = world ? self.GetCollisionObject()->GetCircleCollisions()[0].contactPosition
                                           : RecordNaming(self, other)->contactPosition;
            const Vector2D anchorB = world ? Vector2D(0.0f, 0.0f) : RecordNaming(other, self)->contactPosition;
            EXPECT_TRUE(c.GetAnchorA() == anchorA && c.GetAnchorB() == anchorB && anchorB != other.GetPosition() &&
                        (game.filter || (c.GetRestitution() == 0.3f && c.GetFriction() == 0.5f)))
                << i;
            seen.emplace_back(entry.bodyA, entry.bodyB, c.GetFlag());
        }
        return seen;
    };
    const std::uint32_t idA = a.GetPhysicsId(), idB = b.GetPhysicsId();
    // One entry per intersected point, bodies in the engine's order, pairs before statics.
    const auto expected = [&](std::uint32_t aToB, bool pairs) {
        std::vector<Seen> out(pairs ? Points(RecordNaming(a, b)->circles[0]) : 0, Seen(idA, aToB, 1));
        out.insert(out.end(), Points(a.GetCollisionObject()->GetCircleCollisions()[0]), Seen(idA, 0, 0));
        out.insert(out.end(), pairs ? Points(RecordNaming(b, a)->circles[0]) : 0, Seen(idB, idA, 1));
        return out;
    };
    ASSERT_TRUE(RecordNaming(a, b) && RecordNaming(b, a) && !RecordNaming(a, a));
    // Asked per point, pairs from both sides, with fresh defaults and the flag cleared; refused pairs add nothing.
    std::vector<Seen> asked;
    bool freshDefaults = true;
    game.filter = [&](Tundra::GameObject* first, Tundra::GameObject* second, float& restitution, float& friction) {
        freshDefaults &= restitution == 0.3f && friction == 0.5f && !Tundra::Game::GetOneWayCollision();
        asked.emplace_back(first->GetPhysicsId(), second ? second->GetPhysicsId() : 0, second ? 1 : 0);
        restitution = 9.0f;
        Tundra::Game::SetOneWayCollision(true);
        return second == nullptr;
    };
    EXPECT_EQ(bridge(), expected(idB, false));
    EXPECT_EQ(asked, expected(idB, true));
    EXPECT_TRUE(freshDefaults);
    game.filter = nullptr;
    EXPECT_EQ(bridge(), expected(idB, true));
    // One-way for A's answers only: A's contacts meet the world, B's still meet A.
    game.filter = [&](Tundra::GameObject* first, Tundra::GameObject*, float&, float&) {
        Tundra::Game::SetOneWayCollision(first == &a);
        return true;
    };
    EXPECT_EQ(bridge(), expected(0, true));
}
