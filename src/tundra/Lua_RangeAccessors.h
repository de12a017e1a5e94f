#pragma once

#include "tundra/Lua_Accessors.h"

#include <type_traits>

// Bindings of operations that set or get a low and a high limit together.
namespace Lua {

template <class M>
struct RangeArgument;
template <class C, class A>
struct RangeArgument<void (C::*)(A, A)> {
    using Type = std::remove_cvref_t<A>;
};
template <class C, class A>
struct RangeArgument<void (C::*)(A&, A&) const> {
    using Type = A;
};

// (low, high); fewer arguments, or limits that cannot stand for the type,
// change nothing.
template <class T, auto Set>
int RangeSetter(T& self, lua_State* state) {
    using A = typename RangeArgument<decltype(Set)>::Type;
    if (ArgumentCount(state) < 2) {
        return 0;
    }
    const std::optional<A> low = ReadArgument<A>(state, 1);
    const std::optional<A> high = ReadArgument<A>(state, 2);
    if (low && high) {
        (self.*Set)(*low, *high);
    }
    return 0;
}

// Two results: low, high.
template <class T, auto Get>
int RangeGetter(T& self, lua_State* state) {
    typename RangeArgument<decltype(Get)>::Type low{}, high{};
    (self.*Get)(low, high);
    PushResult(state, low);
    PushResult(state, high);
    return 2;
}

template <class T, auto Set>
constexpr Method BindRangeSetter(const char* name) {
    return Bind<T, &RangeSetter<T, Set>>(name);
}

template <class T, auto Get>
constexpr Method BindRangeGetter(const char* name) {
    return Bind<T, &RangeGetter<T, Get>>(name);
}

}  // namespace Lua
