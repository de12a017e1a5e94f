#include "tundra/Lua_ErrorPosition.h"

#include <lua.hpp>
#include <string_view>

namespace Lua {
namespace {

// error(text, level) names a function at most a few levels up. Looking
// further would only cost time on a stack as deep as an overflow leaves it.
constexpr int kPositionsCompared = 4;

// The position of the function at the level when it is a script function,
// else empty; false when the stack holds no such level.
bool PositionAt(lua_State* thread, int level, std::string& position) {
    lua_Debug frame;
    if (lua_getstack(thread, level, &frame) == 0) {
        return false;
    }
    lua_getinfo(thread, "Sl", &frame);
    position.clear();
    if (frame.currentline > 0) {
        position = std::string(frame.short_src) + ":" + std::to_string(frame.currentline) + ": ";
    }
    return true;
}

bool NamesARunningPosition(lua_State* thread, std::string_view message) {
    std::string position;
    for (int level = 0, compared = 0; compared < kPositionsCompared && PositionAt(thread, level, position); ++level) {
        if (position.empty()) {
            continue;
        }
        if (message.starts_with(position)) {
            return true;
        }
        ++compared;
    }
    return false;
}

}  // namespace

std::string WhereRunning(lua_State* thread) {
    std::string position;
    for (int level = 0; PositionAt(thread, level, position); ++level) {
        if (!position.empty()) {
            return position;
        }
    }
    return {};
}

int PositionErrorMessage(lua_State* thread) {
    if (lua_type(thread, 1) != LUA_TSTRING && lua_type(thread, 1) != LUA_TNUMBER) {
        lua_pushstring(thread, (WhereRunning(thread) + "script error (the error value is not a text)").c_str());
        return 1;
    }
    size_t length = 0;
    const char* text = lua_tolstring(thread, 1, &length);
    const std::string_view message(text, length);
    if (NamesARunningPosition(thread, message)) {
        lua_settop(thread, 1);
        return 1;
    }
    const std::string positioned = WhereRunning(thread) + std::string(message);
    lua_pushlstring(thread, positioned.data(), positioned.size());
    return 1;
}

}  // namespace Lua
