#pragma once

// The OS layer stands in for the platform calls the engine was written
// against. Each service has two implementations: the real one (POSIX and
// SDL2) and a headless one that tests drive by hand. The choice is made
// once, at start-up, before any service is used.
namespace os {

enum class Backend { Real, Headless };

void SelectBackend(Backend backend);
Backend CurrentBackend();
bool IsHeadless();

}  // namespace os
