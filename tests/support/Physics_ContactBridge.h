#pragma once

#include "collision/Collision_CollisionEngine.h"
#include "physics/Physics_PhysicsEngine.h"

#include <deque>

// The two engines joined as the game joins them: owners keep their body and collision object in step,
// and the contact callback turns the collision records of every body's owner into contacts.
namespace bridge {

using namespace Collision2D;
using Physics2D::PhysicsEngine;
using Physics2D::RigidBody;

// A game object: its pose, its body (0: none), its collision object, a tag for filters.
struct Owner : Core::Object {
    PhysicsEngine* physics = nullptr;
    CollisionEngine* engine = nullptr;
    std::uint32_t body = 0, collision = 0;
    int tag = 0;
    Vector2D position;
    // old: the pose the collision object sweeps from (set both for a jump). The body takes either.
    void SetPose(const Vector2D& p, float degrees, bool old = false) {
        position = p;
        old ? (engine->SetObjectOldPosition(collision, p), engine->SetObjectOldOrientation(collision, degrees))
            : (engine->SetObjectPosition(collision, p), engine->SetObjectOrientation(collision, degrees));
        physics->SetRigidBodyPosition(body, p), physics->SetRigidBodyOrientation(body, degrees);
    }
};

// The body's callbacks: Old just before a move, with the pose it leaves; the other just after.
template <bool Old>
void OnMove(RigidBody* body, Core::Object* owner) {
    static_cast<Owner*>(owner)->SetPose(body->GetPosition(), body->GetOrientation(), Old);
}

struct World {
    static constexpr float kNoBody = -1.0f;
    // b is null for static geometry; setting oneWay makes the contact act on a alone. Null accepts all.
    bool (*filter)(const Owner& a, const Owner* b, float& restitution, float& friction, bool& oneWay) = nullptr;
    PhysicsEngine physics;
    CollisionEngine collision;
    std::deque<Owner> owners;
    explicit World(std::int32_t accuracy = 150) {
        physics.SetScale(15.0f), physics.SetAccuracy(accuracy), physics.SetContactListUpdateData(this);
        physics.SetContactListUpdate([](PhysicsEngine*, void* world) { static_cast<World*>(world)->Bridge(); });
        collision.AddLayer();
    }
    // The owner of object (layer 0) at p, with a body unless mass is kNoBody.
    Owner& Add(DynamicObject* object, const Vector2D& p, float mass = kNoBody, bool gravity = false) {
        Owner& o = owners.emplace_back();
        o.physics = &physics, o.engine = &collision, o.position = p, object->SetOwner(&o);
        o.collision = collision.AddObject(object, 0, p);
        if (mass == kNoBody) return o;
        auto* body = TUN_NEW(RigidBody, Physics2D::MassProperties(mass), 0, &OnMove<false>, &OnMove<true>, &o);
        body->SetPosition(p);
        if (gravity) body->AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f));
        return o.body = physics.AddRigidBody(body), o;
    }
    void Step(float dt = 1.0f / 60.0f) { physics.Update(dt), collision.Update(dt), physics.PostCollisionUpdate(dt); }
    // After both engines were loaded: owners and callbacks are never stored.
    void Relink() {
        for (Owner& o : owners) {
            if (RigidBody* b = physics.GetRigidBody(o.body)) {
                b->SetUserData(&o), b->SetTransformCallback(&OnMove<false>), b->SetOldTransformCallback(&OnMove<true>);
            }
            if (DynamicObject* object = collision.GetCollisionResults(o.collision)) {
                object->SetOwner(&o), o.position = object->GetPosition();
            }
        }
    }
    // For each body's owner: its records of other objects (anchored at both sides), then those of statics.
    void Bridge() {
        for (auto i = 1u; i <= physics.GetRigidBodyCount(); ++i) {
            const RigidBody* body = physics.GetRigidBody(i);
            const auto* a = body != nullptr ? static_cast<const Owner*>(body->GetUserData()) : nullptr;
            const DynamicObject* results = a != nullptr ? collision.GetCollisionResults(a->collision) : nullptr;
            if (results == nullptr) continue;
            for (auto r = 0u; r < results->GetShapeCollisions().Count(); ++r) {
                const DGEO_C& d = results->GetShapeCollisions()[r];
                const DynamicObject* other = collision.GetCollisionResults(d.handle);
                const auto* b = other != nullptr ? static_cast<const Owner*>(other->GetOwner()) : nullptr;
                if (b == nullptr) continue;
                Vector2D anchorB = b->position;  // unless B's records of A give a place, the last one winning
                const auto& s = other->GetShapeCollisions();
                for (auto j = 0u; j < s.Count(); ++j) if (s[j].handle == a->collision) anchorB = s[j].contactPosition;
                const auto add = [&](const COLLISION_C& hit) { Add(*a, b, hit, d.contactPosition, anchorB); };
                for (auto k = 0u; k < d.currentLineSegmentsNumber; ++k) add(d.lineSegments[k]);
                for (auto k = 0u; k < d.currentCirclesNumber; ++k) add(d.circles[k]);
            }
            const auto& segments = results->GetLineSegmentCollisions();
            const auto& circles = results->GetCircleCollisions();
            for (auto r = 0u; r < segments.Count(); ++r) Add(*a, nullptr, segments[r], segments[r].contactPosition, {});
            for (auto r = 0u; r < circles.Count(); ++r) Add(*a, nullptr, circles[r], circles[r].contactPosition, {});
        }
    }
    // A contact per intersected point the filter accepts; flag 1 between objects, 0 against statics.
    void Add(const Owner& a, const Owner* b, const COLLISION_C& hit, const Vector2D& anchorA, const Vector2D& anchorB) {
        for (auto k = 0u; k < hit.numberOfIntersectedPoints; ++k) {
            float restitution = 0.3f, friction = 0.5f;
            bool oneWay = false;
            if (filter != nullptr && !filter(a, b, restitution, friction, oneWay)) continue;
            physics.AddContact(a.body, b != nullptr && !oneWay ? b->body : 0,
                               Physics2D::Contact(hit.contactPoint[k], hit.normal[k], anchorA, anchorB,
                                                  hit.penetrationDistance, restitution, friction, b != nullptr));
        }
    }
};

}  // namespace bridge
