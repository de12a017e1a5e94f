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

    static void Old(Physics2D::RigidBody* body, Core::Object* owner) { Log(body, owner, true); }
    static void New(Physics2D::RigidBody* body, Core::Object* owner) { Log(body, owner, false); }

private:
    static void Log(Physics2D::RigidBody* body, Core::Object* owner, bool old);
};

// A body at a position; with a log, the log owns it and hears its callbacks.
Physics2D::RigidBody* MakeBody(float mass, int kind, const Vector2D& position, CallbackLog* log = nullptr);

// Gravity along -y at the game's strength.
Physics2D::GravityForce* MakeGravity();
