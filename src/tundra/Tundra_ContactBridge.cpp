#include "collision/Collision_CollisionEngine.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>
#include <vector>

namespace Tundra {
namespace {

constexpr float kDefaultRestitution = 0.3f;
constexpr float kDefaultFriction = 0.5f;

// The game object owning the collision entry of the handle; null once gone.
GameObject* OwnerOf(const Collision2D::CollisionEngine& collision, std::uint32_t handle) {
    const Collision2D::CollisionObject* entry = collision.GetObject(handle);
    return entry != nullptr ? dynamic_cast<GameObject*>(entry->GetOwner()) : nullptr;
}

std::uint32_t PointCount(const Collision2D::COLLISION_C& result) {
    return std::min<std::uint32_t>(result.numberOfIntersectedPoints, 2);
}

// One point the filter is asked about, copied out of the collision records:
// a filter may remove them (or the objects) while later points wait.
struct AskedPoint {
    Core::RefPtr<GameObject> b;  // null for a static shape
    Vector2D point;
    Vector2D normal;
    Vector2D anchorA;
    Vector2D anchorB;
    float depth = 0.0f;
};

void AddPoints(std::vector<AskedPoint>& out, GameObject* b, const Collision2D::COLLISION_C& result,
               const Vector2D& anchorA, const Vector2D& anchorB) {
    for (std::uint32_t k = 0; k < PointCount(result); ++k) {
        out.push_back({b, result.contactPoint[k], result.normal[k], anchorA, anchorB, result.penetrationDistance});
    }
}

// The points of a's records in the order they are asked about: each other
// object's segments and circles, then the static segments and circles.
std::vector<AskedPoint> CollectPoints(const Collision2D::CollisionEngine& collision, const GameObject& a,
                                      const Collision2D::DynamicObject& results) {
    std::vector<AskedPoint> points;
    const auto& pairs = results.GetShapeCollisions();
    for (std::uint32_t p = 0; p < pairs.Count(); ++p) {
        const Collision2D::DGEO_C& pair = pairs[p];
        GameObject* b = OwnerOf(collision, pair.handle);
        if (b == nullptr) {
            continue;
        }
        Vector2D anchorB = b->GetPosition();
        if (const Collision2D::DynamicObject* other = b->GetCollisionObject()) {
            const auto& back = other->GetShapeCollisions();
            for (std::uint32_t r = 0; r < back.Count(); ++r) {
                if (OwnerOf(collision, back[r].handle) == &a) {
                    anchorB = back[r].contactPosition;
                }
            }
        }
        const auto addShapes = [&](const std::vector<Collision2D::COLLISION_C>& list, std::uint32_t count) {
            for (std::uint32_t s = 0; s < std::min<std::size_t>(count, list.size()); ++s) {
                AddPoints(points, b, list[s], pair.contactPosition, anchorB);
            }
        };
        addShapes(pair.lineSegments, pair.currentLineSegmentsNumber);
        addShapes(pair.circles, pair.currentCirclesNumber);
    }
    const auto addStatics = [&points](const auto& statics) {
        for (std::uint32_t s = 0; s < statics.Count(); ++s) {
            AddPoints(points, nullptr, statics[s], statics[s].contactPosition, Vector2D(0.0f, 0.0f));
        }
    };
    addStatics(results.GetLineSegmentCollisions());
    addStatics(results.GetCircleCollisions());
    return points;
}

}  // namespace

void Game::ContactCallback(Physics2D::PhysicsEngine* engine, void* data) {
    auto* game = static_cast<Game*>(data);
    if (engine == nullptr || game == nullptr || game->m_collision == nullptr) {
        return;
    }
    // A filter may remove collision objects or bodies, or shut the game
    // down: each body's points are copied before the first is asked about,
    // and a shut-down waits until the step is over.
    game->StepEngine([engine, game] {
        for (std::uint32_t index = 1; index <= engine->GetRigidBodyCount() && !game->m_shutdownRequested; ++index) {
            const Core::RefPtr<Physics2D::RigidBody> body = engine->GetRigidBody(index);
            const Core::RefPtr<GameObject> a = body ? dynamic_cast<GameObject*>(body->GetUserData()) : nullptr;
            const Collision2D::DynamicObject* results = a ? a->GetCollisionObject() : nullptr;
            if (results == nullptr) {
                continue;
            }
            for (const AskedPoint& asked : CollectPoints(*game->m_collision, *a, *results)) {
                if (game->m_shutdownRequested) {
                    break;
                }
                float restitution = kDefaultRestitution;
                float friction = kDefaultFriction;
                SetOneWayCollision(false);
                const bool accepted = game->CollisionFilter(a.Get(), asked.b.Get(), restitution, friction);
                // The body may have gone (or its place been taken) meanwhile.
                if (engine->GetRigidBody(index) != body.Get()) {
                    break;
                }
                if (accepted) {
                    const Physics2D::Contact contact(asked.point, asked.normal, asked.anchorA, asked.anchorB,
                                                     asked.depth, restitution, friction, asked.b ? 1 : 0);
                    const bool toB = asked.b && !GetOneWayCollision();
                    engine->AddContact(index, toB ? asked.b->LivePhysicsId() : 0, contact);
                }
            }
        }
    });
}

}  // namespace Tundra
