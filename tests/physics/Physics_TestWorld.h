#pragma once

#include "core/Core_MemoryFile.h"
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

// An object as the game-state stream stores it.
inline std::vector<std::uint8_t> BytesOf(const Core::Object* object) {
    Core::MemoryFile file;
    file.WriteObject(object);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

// The engine stored in bytes; null when the stream fails.
inline Core::RefPtr<Physics2D::PhysicsEngine> Read(const std::vector<std::uint8_t>& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Core::RefPtr<Physics2D::PhysicsEngine> engine(
        file.ReadObjectAs<Physics2D::PhysicsEngine>(Core::File::Reference::Owning));
    return file.HasFailed() ? nullptr : engine;
}
