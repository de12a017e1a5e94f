#pragma once

#include <cstdint>

namespace Lua::testhooks {

// How many script files were compiled since the process started.
std::uint32_t CompileCount();

}  // namespace Lua::testhooks
