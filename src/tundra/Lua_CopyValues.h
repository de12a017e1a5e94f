#pragma once

struct lua_State;

namespace Lua {

// Copies a run of stack values from one thread to another (or onto the top
// of the same one) and returns how many it pushed. The run: with offset
// above 0, indices offset + 2 to the top (nothing when the source holds at
// most one value); with offset 0 and a count below the number of values,
// the last count values; otherwise indices 1 to count. Nil, booleans, light
// userdata, numbers and strings are copied as they are; a "Point2D",
// "Vector2D" or "Color" table is rebuilt through the target's constructor;
// a live engine object is pushed again. Anything else (other tables,
// functions, destroyed objects, shapes) is skipped and not counted.
int CopyValues(lua_State* from, lua_State* to, int offset, int count);

}  // namespace Lua
