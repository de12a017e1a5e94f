#include "Physics_TestWorld.h"

void CallbackLog::Log(Physics2D::RigidBody* body, Core::Object* owner, bool old) {
    static_cast<CallbackLog*>(owner)->calls.push_back({old, body->GetPosition()});
}

Physics2D::RigidBody* MakeBody(float mass, int kind, const Vector2D& position, CallbackLog* log) {
    auto* body = TUN_NEW(Physics2D::RigidBody, Physics2D::MassProperties(mass), kind,
                         log != nullptr ? &CallbackLog::New : nullptr, log != nullptr ? &CallbackLog::Old : nullptr,
                         log);
    body->SetPosition(position);
    return body;
}

Physics2D::GravityForce* MakeGravity() { return TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f); }
