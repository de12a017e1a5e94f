#pragma once

#include <cstddef>
#include <cstdint>

namespace Lua::testhooks {

// The instruction budget and the memory cap of an outermost script call,
// so that tests reach them quickly; RestoreCallLimits gives the game's.
void SetCallLimits(std::uint64_t instructions, std::size_t bytes);
void RestoreCallLimits();

}  // namespace Lua::testhooks
