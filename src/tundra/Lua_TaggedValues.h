#pragma once

struct lua_State;
namespace Core {
class File;
}

// Script values in a byte stream: the number of values (u32), then per value
// a type tag (string) and its payload: "nil" (none), "tbool" (1 byte),
// "tldata" (none), "tnum" (8-byte double), "string" (a string), "ttable"
// with the table's "className" (string) and, for "Point2D" and "Vector2D",
// "X" and "Y" as two doubles, for "Color" "R", "G", "B", "A" as four
// doubles; "tfun" (none) and "tuser" (none).
namespace Lua {

// Writes the values at indices first to last.
void WriteTaggedValues(lua_State* state, int first, int last, Core::File& file);
// Pushes the values read and returns their count. Light userdata,
// functions and userdata come back as nil; a table of another class as a
// new table with its "className". A count the stack cannot take, an
// unknown tag or a short stream fails the stream and pushes nothing.
int ReadTaggedValues(lua_State* state, Core::File& file);

}  // namespace Lua
