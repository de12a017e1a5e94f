#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <cstdint>
#include <type_traits>

// Bindings made from a class's own accessors, so that a table entry that only
// gets, sets or runs one member needs no function of its own:
//   BindGetter<Sprite, &Sprite::GetLoop>("GetLoop")
// A setter given too few arguments, or a value it cannot use (a string that
// is not a string, a colour or vector that is not a table), changes nothing.
namespace Lua {

// Reads the argument at index into value; false when it is missing or unusable.
bool ReadArgument(lua_State* state, int index, bool& value);
bool ReadArgument(lua_State* state, int index, float& value);
bool ReadArgument(lua_State* state, int index, std::int32_t& value);
// A negative number is unusable.
bool ReadArgument(lua_State* state, int index, std::uint32_t& value);
bool ReadArgument(lua_State* state, int index, Core::String& value);
bool ReadArgument(lua_State* state, int index, Color& value);
bool ReadArgument(lua_State* state, int index, Vector2D& value);

inline void PushResult(lua_State* state, bool value) { PushBool(state, value); }
inline void PushResult(lua_State* state, float value) { PushFloat(state, value); }
inline void PushResult(lua_State* state, std::int32_t value) { PushInt(state, value); }
void PushResult(lua_State* state, std::uint32_t value);
inline void PushResult(lua_State* state, const Core::String& value) { PushString(state, value.c_str()); }
inline void PushResult(lua_State* state, const Color& value) { PushColor(state, value); }
inline void PushResult(lua_State* state, const Vector2D& value) { PushVector2D(state, value); }
template <class O>
    requires std::is_base_of_v<Core::Object, O>
void PushResult(lua_State* state, const O* object) {
    PushObject(state, object);
}

namespace detail {

template <class M>
struct MemberArgument;
template <class C, class A>
struct MemberArgument<void (C::*)(A)> {
    using type = std::remove_cvref_t<A>;
};
template <class C, class A>
struct MemberArgument<void (C::*)(A, A)> {
    using type = std::remove_cvref_t<A>;
};
template <class C, class A>
struct MemberArgument<void (C::*)(A&, A&) const> {
    using type = A;
};

}  // namespace detail

template <class T, auto Get>
int Getter(T& self, lua_State* state) {
    PushResult(state, (self.*Get)());
    return 1;
}

template <class T, auto Set>
int Setter(T& self, lua_State* state) {
    typename detail::MemberArgument<decltype(Set)>::type value{};
    if (ReadArgument(state, 1, value)) {
        (self.*Set)(value);
    }
    return 0;
}

// A setter of a low and a high limit.
template <class T, auto Set>
int RangeSetter(T& self, lua_State* state) {
    typename detail::MemberArgument<decltype(Set)>::type low{}, high{};
    if (ReadArgument(state, 1, low) && ReadArgument(state, 2, high)) {
        (self.*Set)(low, high);
    }
    return 0;
}

// A getter filling a low and a high limit: two results.
template <class T, auto Get>
int RangeGetter(T& self, lua_State* state) {
    typename detail::MemberArgument<decltype(Get)>::type low{}, high{};
    (self.*Get)(low, high);
    PushResult(state, low);
    PushResult(state, high);
    return 2;
}

template <class T, auto Act>
int Action(T& self, lua_State*) {
    (self.*Act)();
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

template <class T, auto Set>
constexpr Method BindRangeSetter(const char* name) {
    return Bind<T, &RangeSetter<T, Set>>(name);
}

template <class T, auto Get>
constexpr Method BindRangeGetter(const char* name) {
    return Bind<T, &RangeGetter<T, Get>>(name);
}

template <class T, auto Act>
constexpr Method BindAction(const char* name) {
    return Bind<T, &Action<T, Act>>(name);
}

}  // namespace Lua
