#include "collision/Collision_CollisionEngine.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>

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

}  // namespace

void Game::ContactCallback(Physics2D::PhysicsEngine* engine, void* data) {
    auto* game = static_cast<Game*>(data);
    if (engine == nullptr || game == nullptr || game->m_collision == nullptr) {
        return;
    }
    const Collision2D::CollisionEngine& collision = *game->m_collision;
    // Asks the filter for one point with fresh defaults and a cleared flag.
    const auto ask = [game](GameObject* a, GameObject* b, float& restitution, float& friction) {
        restitution = kDefaultRestitution;
        friction = kDefaultFriction;
        SetOneWayCollision(false);
        return game->CollisionFilter(a, b, restitution, friction);
    };
    for (std::uint32_t index = 1; index <= engine->GetRigidBodyCount(); ++index) {
        const Physics2D::RigidBody* body = engine->GetRigidBody(index);
        GameObject* a = body != nullptr ? dynamic_cast<GameObject*>(body->GetUserData()) : nullptr;
        const Collision2D::DynamicObject* results = a != nullptr ? a->GetCollisionObject() : nullptr;
        if (results == nullptr) {
            continue;
        }
        const auto& pairs = results->GetShapeCollisions();
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
                    if (OwnerOf(collision, back[r].handle) == a) {
                        anchorB = back[r].contactPosition;
                    }
                }
            }
            const auto addShapes = [&](const std::vector<Collision2D::COLLISION_C>& list, std::uint32_t count) {
                for (std::uint32_t s = 0; s < std::min<std::size_t>(count, list.size()); ++s) {
                    for (std::uint32_t k = 0; k < PointCount(list[s]); ++k) {
                        float restitution = 0.0f;
                        float friction = 0.0f;
                        if (ask(a, b, restitution, friction)) {
                            const Physics2D::Contact contact(list[s].contactPoint[k], list[s].normal[k],
                                                             pair.contactPosition, anchorB,
                                                             list[s].penetrationDistance, restitution, friction, 1);
                            engine->AddContact(index, GetOneWayCollision() ? 0 : b->LivePhysicsId(), contact);
                        }
                    }
                }
            };
            addShapes(pair.lineSegments, pair.currentLineSegmentsNumber);
            addShapes(pair.circles, pair.currentCirclesNumber);
        }
        const auto addStatic = [&](const Collision2D::COLLISION_C& result) {
            for (std::uint32_t k = 0; k < PointCount(result); ++k) {
                float restitution = 0.0f;
                float friction = 0.0f;
                if (ask(a, nullptr, restitution, friction)) {
                    const Physics2D::Contact contact(result.contactPoint[k], result.normal[k], result.contactPosition,
                                                     Vector2D(0.0f, 0.0f), result.penetrationDistance, restitution,
                                                     friction, 0);
                    engine->AddContact(index, 0, contact);
                }
            }
        };
        const auto& segments = results->GetLineSegmentCollisions();
        for (std::uint32_t s = 0; s < segments.Count(); ++s) {
            addStatic(segments[s]);
        }
        const auto& circles = results->GetCircleCollisions();
        for (std::uint32_t c = 0; c < circles.Count(); ++c) {
            addStatic(circles[c]);
        }
    }
}

}  // namespace Tundra
