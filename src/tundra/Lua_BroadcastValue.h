#pragma once

#include <cstdint>

struct lua_State;
namespace Tundra {
class TunBroadcast;
}

// A found session on the script side: a value userdata holding a copy of the
// record as its announcement bytes (every field but the age) behind the age,
// so the value needs no destructor and rebuilds the whole record, address
// included.
namespace Lua {

inline constexpr const char* kBroadcastName = "TunBroadcast";

struct BroadcastValue {
    float age;
    std::uint32_t announcementSize;
    // The announcement bytes follow in the same block.

    Tundra::TunBroadcast ToRecord() const;
};

void PushBroadcast(lua_State* state, const Tundra::TunBroadcast& session);
// The value at index, or null when it is no "TunBroadcast".
BroadcastValue* GetBroadcast(lua_State* state, int index);

}  // namespace Lua
