#pragma once

#include <string_view>

// The engine's error log: failures that the engine survives (a refused save,
// a script error) are reported here, one line each, and the run goes on.
namespace Core {

void LogError(std::string_view text);

}  // namespace Core
