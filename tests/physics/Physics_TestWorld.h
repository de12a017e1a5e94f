#pragma once

#include "physics/Physics_PhysicsEngine.h"

#include <vector>

// An owner that logs its body's callbacks: every call with the position
// the body had then.
struct CallbackLog : Core::Object {
    struct Call {
        bool old;
        Vector2D position;
    };
    std::vector<Call> calls;

    template <bool Old>
    static void Log(Physics2D::RigidBody* body, Core::Object* owner) {
        static_cast<CallbackLog*>(owner)->calls.push_back({Old, body->GetPosition()});
    }
};

// A body at a position; with a log, the log owns it and hears its callbacks.
inline Physics2D::RigidBody* MakeBody(float mass, int kind, const Vector2D& position, CallbackLog* log = nullptr) {
    auto* body = TUN_NEW(Physics2D::RigidBody, Physics2D::MassProperties(mass), kind,
                         log != nullptr ? &CallbackLog::Log<false> : nullptr,
                         log != nullptr ? &CallbackLog::Log<true> : nullptr, log);
    body->SetPosition(position);
    return body;
}

// Gravity along -y at the game's strength.
inline Physics2D::GravityForce* MakeGravity() { return TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f); }
