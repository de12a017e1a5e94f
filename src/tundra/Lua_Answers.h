#pragma once

#include "tundra/Lua_Values.h"

#include <cstdint>

// Bindings that only ask a question of the receiver and push the answer.
namespace Lua {

inline void PushAnswer(lua_State* state, bool value) { PushBool(state, value); }
inline void PushAnswer(lua_State* state, std::int32_t value) { PushInt(state, value); }
inline void PushAnswer(lua_State* state, float value) { PushFloat(state, value); }
inline void PushAnswer(lua_State* state, const Vector2D& value) { PushVector2D(state, value); }
inline void PushAnswer(lua_State* state, const Point2D& value) { PushPoint2D(state, value); }

// The answer of a query without arguments.
template <class T, auto Query>
int Answer(T& self, lua_State* state) {
    PushAnswer(state, (self.*Query)());
    return 1;
}

// The answer of a query about one numbered item (a button, a key id).
template <class T, auto Query>
int AnswerFor(T& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushAnswer(state, (self.*Query)(GetInt(state, 1)));
    return 1;
}

}  // namespace Lua
