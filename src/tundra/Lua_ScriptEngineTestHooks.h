#pragma once

#include <cstddef>
#include <cstdint>

namespace Lua::testhooks {

// How many script files were compiled since the process started.
std::uint32_t CompileCount();
// How many script instances exist (destroyed ones still running included).
std::size_t ScriptCount();

}  // namespace Lua::testhooks
