#include "tundra/Lua_TaggedValues.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "tundra/Lua_Values.h"

#include <cstdint>
#include <lua.hpp>
#include <string_view>

namespace Lua {
namespace {

void WriteTable(lua_State* state, int index, Core::File& file) {
    file.WriteString("ttable");
    const char* className = GetClassName(state, index);
    file.WriteString(className != nullptr ? className : "");
    if (const ValueClass* valueClass = FindValueClass(className)) {
        double values[4] = {};
        ReadValueFields(state, index, *valueClass, values);
        for (int i = 0; i < valueClass->fieldCount; ++i) {
            file.WriteF64(values[i]);
        }
    }
}

void WriteValue(lua_State* state, int index, Core::File& file) {
    switch (lua_type(state, index)) {
    case LUA_TBOOLEAN:
        file.WriteString("tbool");
        file.WriteU8(lua_toboolean(state, index) ? 1 : 0);
        break;
    case LUA_TLIGHTUSERDATA:
        file.WriteString("tldata");
        break;
    case LUA_TNUMBER:
        file.WriteString("tnum");
        file.WriteF64(lua_tonumber(state, index));
        break;
    case LUA_TSTRING: {
        size_t length = 0;
        const char* text = lua_tolstring(state, index, &length);
        file.WriteString("string");
        file.WriteString(std::string_view(text, length));
        break;
    }
    case LUA_TTABLE:
        WriteTable(state, index, file);
        break;
    case LUA_TFUNCTION:
        file.WriteString("tfun");
        break;
    case LUA_TUSERDATA:
        file.WriteString("tuser");
        break;
    default:
        // Nil, and threads, which no script value of the format holds.
        file.WriteString("nil");
        break;
    }
}

void ReadTable(lua_State* state, Core::File& file) {
    Core::String className;
    file.ReadString(className);
    if (file.HasFailed()) {
        return;
    }
    if (const ValueClass* valueClass = FindValueClass(className.c_str())) {
        double values[4] = {};
        for (int i = 0; i < valueClass->fieldCount; ++i) {
            file.ReadF64(values[i]);
        }
        if (!file.HasFailed()) {
            PushValueTable(state, *valueClass, values);
        }
        return;
    }
    lua_newtable(state);
    if (!className.empty()) {
        lua_pushlstring(state, className.data(), className.size());
        lua_setfield(state, -2, "className");
    }
}

// Pushes one value; false (nothing pushed) when the stream fails or the tag is unknown.
bool ReadValue(lua_State* state, Core::File& file) {
    Core::String tag;
    file.ReadString(tag);
    if (file.HasFailed()) {
        return false;
    }
    if (tag == "nil" || tag == "tldata" || tag == "tfun" || tag == "tuser") {
        lua_pushnil(state);
    } else if (tag == "tbool") {
        const bool value = file.ReadFlag();
        if (!file.HasFailed()) {
            lua_pushboolean(state, value ? 1 : 0);
        }
    } else if (tag == "tnum") {
        double value = 0.0;
        file.ReadF64(value);
        if (!file.HasFailed()) {
            lua_pushnumber(state, value);
        }
    } else if (tag == "string") {
        Core::String text;
        file.ReadString(text);
        if (!file.HasFailed()) {
            lua_pushlstring(state, text.data(), text.size());
        }
    } else if (tag == "ttable") {
        ReadTable(state, file);
    } else {
        file.SetFailed();
    }
    return !file.HasFailed();
}

}  // namespace

void WriteTaggedValues(lua_State* state, int first, int last, Core::File& file) {
    const int count = last >= first ? last - first + 1 : 0;
    file.WriteU32(static_cast<std::uint32_t>(count));
    for (int index = first; index <= last; ++index) {
        WriteValue(state, index, file);
    }
}

int ReadTaggedValues(lua_State* state, Core::File& file) {
    const int base = lua_gettop(state);
    std::uint32_t count = 0;
    file.ReadU32(count);
    // Every value takes at least its tag's length word, so a count larger
    // than the stream fails on the way; the stack's own limit stops the rest.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        if (!lua_checkstack(state, 4)) {
            file.SetFailed();
            break;
        }
        ReadValue(state, file);
    }
    if (file.HasFailed()) {
        lua_settop(state, base);
        return 0;
    }
    return static_cast<int>(count);
}

}  // namespace Lua
