#pragma once

#include <cstdint>
#include <optional>

struct lua_State;

namespace Lua {

// A player or group named by id (a number from 0 up) or by name (a string);
// neither for any other value.
struct IdOrName {
    std::optional<std::uint32_t> id;
    const char* name = nullptr;
};
IdOrName ReadIdOrName(lua_State* state, int index);

}  // namespace Lua
