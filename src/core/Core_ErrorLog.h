#pragma once

#include <string>
#include <string_view>

// The engine's error log: failures that the engine survives (a refused save,
// a script error) are reported here, one line each, and the run goes on.
namespace Core {

void LogError(std::string_view text);
// A name from outside (a file, a script) as a log line may show it: its
// first 64 bytes, every byte but printable ASCII as '?'.
std::string PrintableForLog(std::string_view name);

}  // namespace Core
