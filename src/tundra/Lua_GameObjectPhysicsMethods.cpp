#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"
#include "tundra/Lua_GameObjectBindings.h"

#include <lua.hpp>

namespace Lua::GameObjectScript {
namespace {

// Mass properties are plain values: a script reads them as a table and
// builds one the same way, {Mass = m, Inertia = i, CenterOfMass = vector}.
bool GetMassTable(lua_State* state, int index, Physics2D::MassProperties& mass) {
    if (!lua_istable(state, index)) {
        return false;
    }
    lua_getfield(state, index, "Mass");
    lua_getfield(state, index, "Inertia");
    lua_getfield(state, index, "CenterOfMass");
    mass = Physics2D::MassProperties(GetFloat(state, -3), GetFloat(state, -2), GetVector2D(state, -1));
    lua_pop(state, 3);
    return true;
}

void PushMassTable(lua_State* state, const Physics2D::MassProperties& mass) {
    lua_createtable(state, 0, 3);
    PushFloat(state, mass.GetMass());
    lua_setfield(state, -2, "Mass");
    PushFloat(state, mass.GetInertia());
    lua_setfield(state, -2, "Inertia");
    PushVector2D(state, mass.GetCenterOfMass());
    lua_setfield(state, -2, "CenterOfMass");
}

// Pushes the body's velocity transformed, or nothing without a body.
template <class Transform>
int PushFromVelocity(const Tundra::GameObject& self, lua_State* state, Transform transform) {
    Vector2D velocity;
    if (!self.GetVelocity(velocity)) {
        return 0;
    }
    transform(velocity);
    return 1;
}

}  // namespace

// (mass properties, solver kind): true when a body was made.
int AddPhysicalProperties(Tundra::GameObject& self, lua_State* state) {
    Physics2D::MassProperties mass;
    if (ArgumentCount(state) < 2 || !GetMassTable(state, 1, mass)) {
        return 0;
    }
    PushBool(state, self.AddPhysicalProperties(&mass, GetInt(state, 2)));
    return 1;
}

int RemovePhysicalProperties(Tundra::GameObject& self, lua_State* state) {
    PushBool(state, self.RemovePhysicalProperties());
    return 1;
}

int SetMassProperties(Tundra::GameObject& self, lua_State* state) {
    Physics2D::MassProperties mass;
    if (GetMassTable(state, 1, mass)) {
        self.SetMassProperties(mass);
    }
    return 0;
}

int GetMassProperties(Tundra::GameObject& self, lua_State* state) {
    Physics2D::MassProperties mass;
    if (!self.GetMassProperties(mass)) {
        return 0;
    }
    PushMassTable(state, mass);
    return 1;
}

int GetCenterOfMass(Tundra::GameObject& self, lua_State* state) {
    Vector2D center;
    if (!self.GetCenterOfMass(center)) {
        return 0;
    }
    PushVector2D(state, center);
    return 1;
}

int GetVelocity(Tundra::GameObject& self, lua_State* state) {
    return PushFromVelocity(self, state, [state](const Vector2D& v) { PushVector2D(state, v); });
}

int GetAngularVelocity(Tundra::GameObject& self, lua_State* state) {
    float degreesPerSecond = 0.0f;
    if (!self.GetAngularVelocity(degreesPerSecond)) {
        return 0;
    }
    PushFloat(state, degreesPerSecond);
    return 1;
}

int SetSpeed(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushBool(state, self.SetSpeed(GetFloat(state, 1)));
    return 1;
}

int GetSpeed(Tundra::GameObject& self, lua_State* state) {
    return PushFromVelocity(self, state, [state](const Vector2D& v) { PushFloat(state, v.Length()); });
}

// (x, y) or one vector table.
int SetVelocityDirection(Tundra::GameObject& self, lua_State* state) {
    const int count = ArgumentCount(state);
    if (count < 1) {
        return 0;
    }
    const Vector2D direction = count == 1 ? GetVector2D(state, 1) : Vector2D{GetFloat(state, 1), GetFloat(state, 2)};
    PushBool(state, self.SetVelocityDirection(direction.x, direction.y));
    return 1;
}

int GetVelocityDirection(Tundra::GameObject& self, lua_State* state) {
    return PushFromVelocity(self, state,
                            [state](const Vector2D& v) { PushVector2D(state, Vector2D::Normalized(v)); });
}

int AddForce(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        self.AddForce(GetObject<Physics2D::Force>(state, 1));
    }
    return 0;
}

// (index): whether a force was removed.
int RemoveForce(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    const std::int32_t index = GetInt(state, 1);
    PushBool(state, index >= 0 && self.RemoveForce(static_cast<std::uint32_t>(index)));
    return 1;
}

}  // namespace Lua::GameObjectScript
