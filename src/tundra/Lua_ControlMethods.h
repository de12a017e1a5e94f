#pragma once

#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <initializer_list>
#include <string_view>
#include <vector>

struct lua_State;

// The "Control" table; the tables of the form, the button and the radio
// button are composed from it, binding their own entries on their class.
namespace Lua {

const MethodTable& ControlMethods();

// The "Control" names from "SetPositionX" to "GetControlsCount" in table
// order, without those given: the run every derived GUI table repeats.
std::vector<const char*> SharedControlNames(std::initializer_list<std::string_view> leftOut);

// "SetPosition": one argument is a vector, two or more are x and y
// numbers; nothing without arguments.
template <class T>
int SetPositionFromArguments(T& control, lua_State* state) {
    const int count = ArgumentCount(state);
    if (count < 1) {
        return 0;
    }
    control.SetPosition(count == 1 ? GetVector2D(state, 1) : Vector2D(GetFloat(state, 1), GetFloat(state, 2)));
    return 0;
}

}  // namespace Lua
