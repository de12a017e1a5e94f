#pragma once

#include "collision/Collision_Allocated.h"

#include <cstdint>

namespace Core {
class Object;
}

namespace Collision2D {

enum class ObjectKind : std::uint8_t { Dynamic = 0, StaticCircle = 1, StaticLineSegment = 2 };

// What the engine keeps in a layer. The owner is the game object that the
// entry belongs to; the engine never dereferences or frees it.
class CollisionObject : public Allocated {
public:
    explicit CollisionObject(ObjectKind kind) : m_kind(kind) {}
    CollisionObject(const CollisionObject&) = default;
    CollisionObject& operator=(const CollisionObject&) = default;
    virtual ~CollisionObject() = default;

    ObjectKind GetKind() const { return m_kind; }
    // The id the engine gave when it took the object; 0 before.
    std::uint32_t GetId() const { return m_id; }
    Core::Object* GetOwner() const { return m_owner; }
    void SetOwner(Core::Object* owner) { m_owner = owner; }

private:
    friend class CollisionLayer;
    ObjectKind m_kind;
    std::uint32_t m_id = 0;
    Core::Object* m_owner = nullptr;
};

}  // namespace Collision2D
