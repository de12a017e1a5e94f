#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

struct lua_State;

// Bindings made from an engine operation alone: a getter pushes what the
// operation returns, a setter reads its one argument and calls it. Lists go
// to scripts as tables indexed from 1.
namespace Lua {

// The one argument type of a setter.
template <class M>
struct SetterArgument;
template <class C, class A>
struct SetterArgument<void (C::*)(A)> {
    using Type = std::remove_cvref_t<A>;
};

bool IsTable(lua_State* state, int index);
// Whole 32-bit values, beyond what an f32 holds exactly.
void PushUnsigned(lua_State* state, std::uint32_t value);
// A part of the engine without a script table (a collision layer, the
// physics engine): a userdata without methods, nil for null.
void PushHandle(lua_State* state, const void* part);
// One table; returns 1, the number of results.
int PushStrings(lua_State* state, const std::vector<Core::String>& strings);
// An empty table with room for size elements, and the value on top of the
// stack stored at position (from 1) of the table below it.
void NewList(lua_State* state, int size);
void AppendToList(lua_State* state, int position);

template <class T>
int PushObjects(lua_State* state, const std::vector<T*>& objects) {
    NewList(state, static_cast<int>(objects.size()));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        PushObject(state, objects[i]);
        AppendToList(state, static_cast<int>(i + 1));
    }
    return 1;
}

inline void PushResult(lua_State* state, float value) { PushFloat(state, value); }
inline void PushResult(lua_State* state, double value) { PushFloat(state, static_cast<float>(value)); }
inline void PushResult(lua_State* state, bool value) { PushBool(state, value); }
inline void PushResult(lua_State* state, std::int32_t value) { PushInt(state, value); }
inline void PushResult(lua_State* state, std::uint32_t value) { PushUnsigned(state, value); }
inline void PushResult(lua_State* state, const Core::String& value) { PushString(state, value.c_str()); }
inline void PushResult(lua_State* state, const Vector2D& value) { PushVector2D(state, value); }
inline void PushResult(lua_State* state, const Point2D& value) { PushPoint2D(state, value); }
inline void PushResult(lua_State* state, const Color& value) { PushColor(state, value); }
inline void PushResult(lua_State* state, const Core::Object* value) { PushObject(state, value); }

// The argument at index as the operation takes it; nothing when it cannot
// stand for one (a string or colour that is not given as such).
template <class A>
std::optional<A> ReadArgument(lua_State* state, int index) {
    if constexpr (std::is_same_v<A, bool>) {
        return GetBool(state, index);
    } else if constexpr (std::is_same_v<A, float>) {
        return GetFloat(state, index);
    } else if constexpr (std::is_same_v<A, std::int32_t>) {
        return GetInt(state, index);
    } else if constexpr (std::is_same_v<A, Core::String>) {
        const char* text = GetString(state, index);
        return text != nullptr ? std::optional<A>(text) : std::nullopt;
    } else if constexpr (std::is_same_v<A, Color>) {
        return IsTable(state, index) ? std::optional<A>(GetColor(state, index)) : std::nullopt;
    } else if constexpr (std::is_same_v<A, Vector2D>) {
        return IsTable(state, index) ? std::optional<A>(GetVector2D(state, index)) : std::nullopt;
    } else if constexpr (std::is_same_v<A, std::uint32_t>) {
        // A negative number stands for no frame or code.
        const std::int32_t value = GetInt(state, index);
        return value >= 0 ? std::optional<A>(static_cast<A>(value)) : std::nullopt;
    } else {
        static_assert(std::is_pointer_v<A>, "no reader for this argument type");
        return GetObject<std::remove_pointer_t<A>>(state, index);
    }
}

template <class T, auto Get>
int Getter(T& self, lua_State* state) {
    PushResult(state, (self.*Get)());
    return 1;
}

// With no argument it does nothing.
template <class T, auto Set>
int Setter(T& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    if (const auto value = ReadArgument<typename SetterArgument<decltype(Set)>::Type>(state, 1)) {
        (self.*Set)(*value);
    }
    return 0;
}

// An operation without arguments or results.
template <class T, auto Operation>
int Perform(T& self, lua_State*) {
    (self.*Operation)();
    return 0;
}

// "AddManagedObject"(object, name): the manager holds the object beside
// whatever else holds it, and lets go of it when its own life ends.
template <class Manager>
int AddManagedObject(Manager& manager, lua_State* state) {
    Core::Object* object = GetAnyObject(state, 1);
    const char* name = GetString(state, 2);
    if (object != nullptr && name != nullptr) {
        manager.AddManagedObject(object, name);
    }
    return 0;
}

template <class T, auto Get>
constexpr Method BindGetter(const char* name) {
    return Bind<T, &Getter<T, Get>>(name);
}

template <class T, auto Set>
constexpr Method BindSetter(const char* name) {
    return Bind<T, &Setter<T, Set>>(name);
}

template <class T, auto Operation>
constexpr Method BindOperation(const char* name) {
    return Bind<T, &Perform<T, Operation>>(name);
}

}  // namespace Lua
