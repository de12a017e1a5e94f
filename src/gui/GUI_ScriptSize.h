#pragma once

#include "math/Math_Vector2D.h"

struct lua_State;

// A size as scripts see it: a table with the number fields "Width" and
// "Height", made by the script constructor "CreateSize".
namespace GUI {

// The table's "Width" and "Height" at that stack index (read raw; a field
// that is no number reads 0) as (width, height); (0, 0) for anything that
// is not a table.
Vector2D GetScriptSize(lua_State* state, int index);

// A new "CreateSize" table with the fields set, left on the stack; returns
// its index. A "CreateSize" that a script replaced with something that is
// no function, fails or returns no table raises a script error in the
// calling script.
int PushScriptSize(lua_State* state, float width, float height);

}  // namespace GUI
