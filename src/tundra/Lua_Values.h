#pragma once

#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

struct lua_State;
namespace Core {
class Object;
}

// Reading a binding's arguments and pushing its results. Readers never fail
// on a value of the wrong type: they give the documented default, so a
// binding called with nonsense does nothing harmful. Object readers are the
// exception: an object of the wrong class, a destroyed object or a value
// that is no object raises a script error.
namespace Lua {

// The metatable field that marks the metatables of engine objects.
inline constexpr const char* kObjectMarker = "__tundraObject";

int ArgumentCount(lua_State* state);

// A number as f32; anything else 0.
float GetFloat(lua_State* state, int index);
// A number converted saturating to i32, NaN and anything else 0.
std::int32_t GetInt(lua_State* state, int index);
// Lua's truth: everything but nil and false.
bool GetBool(lua_State* state, int index);
// The string at index, or null when the value is not a string (a number
// included): the binding treats it as missing.
const char* GetString(lua_State* state, int index);

// A table's "X" and "Y"; anything else gives the zero vector.
Vector2D GetVector2D(lua_State* state, int index);
Point2D GetPoint2D(lua_State* state, int index);
// A table's "R", "G", "B", "A";
// anything else gives opaque black.
Color GetColor(lua_State* state, int index);

// New tables made by the script constructors "CreateVector", "CreatePoint"
// and "CreateColor" with the fields set; each returns its stack index.
int PushVector2D(lua_State* state, float x, float y);
int PushPoint2D(lua_State* state, float x, float y);
int PushColor(lua_State* state, float r, float g, float b, float a);
inline int PushVector2D(lua_State* state, const Vector2D& v) { return PushVector2D(state, v.x, v.y); }
inline int PushPoint2D(lua_State* state, const Point2D& p) { return PushPoint2D(state, p.x, p.y); }
inline int PushColor(lua_State* state, const Color& c) { return PushColor(state, c.r, c.g, c.b, c.a); }

// The value classes scripts build with "CreatePoint", "CreateVector" and
// "CreateColor": tables whose "className" names the class.
struct ValueClass {
    const char* className;
    const char* constructor;
    int fieldCount;
    const char* fields[4];
};
// The value class of that name, or null.
const ValueClass* FindValueClass(const char* className);
// The table's class name ("className" field), or null when it has none.
// This and ReadValueFields read fields raw: no script code runs, so they
// may read a script's results outside a protected call.
const char* GetClassName(lua_State* state, int index);
// Reads the class's fields of the table at index as numbers (0 for others).
void ReadValueFields(lua_State* state, int index, const ValueClass& valueClass, double* values);
// A new table of the class made by its constructor, fields set; returns its index.
int PushValueTable(lua_State* state, const ValueClass& valueClass, const double* values);

void PushFloat(lua_State* state, float value);
void PushInt(lua_State* state, std::int32_t value);
void PushBool(lua_State* state, bool value);
void PushString(lua_State* state, const char* text);
// The object through its own push (its script class); nil for null.
void PushObject(lua_State* state, const Core::Object* object);

// The slot of the engine-object userdata at index (holding null once the
// object was destroyed), or null when the value is no such userdata.
Core::Object** ToObjectSlot(lua_State* state, int index);

// The engine object at index; null for nil or no value. A destroyed object,
// or a value that is no engine object, raises a script error.
Core::Object* GetAnyObject(lua_State* state, int index);

// The object at index as T; null for nil or no value. An object of another
// class raises a script error.
template <class T>
T* GetObject(lua_State* state, int index);

// Raises a script error: the message, prefixed with the calling script's
// name and line. Lua unwinds as a C++ exception, so destructors run.
[[noreturn]] void RaiseError(lua_State* state, const char* message);
[[noreturn]] void RaiseWrongClass(lua_State* state, int index, const Core::Object& given);

// Value userdata: a copy of a plain value (a shape) with the metatable the
// registry holds under scriptName.
void* NewValue(lua_State* state, std::size_t size, const char* scriptName);
// The value held at index when its metatable is scriptName's, else null.
void* ToValue(lua_State* state, int index, const char* scriptName);

template <class V>
void PushValue(lua_State* state, const V& value, const char* scriptName) {
    // Lua frees the block without running a destructor.
    static_assert(std::is_trivially_destructible_v<V>);
    new (NewValue(state, sizeof(V), scriptName)) V(value);
}

template <class V>
V* GetValue(lua_State* state, int index, const char* scriptName) {
    return static_cast<V*>(ToValue(state, index, scriptName));
}

template <class T>
T* GetObject(lua_State* state, int index) {
    Core::Object* object = GetAnyObject(state, index);
    if (object == nullptr) {
        return nullptr;
    }
    T* typed = dynamic_cast<T*>(object);
    if (typed == nullptr) {
        RaiseWrongClass(state, index, *object);
    }
    return typed;
}

}  // namespace Lua
