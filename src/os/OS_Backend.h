#pragma once

// The OS layer gives the engine every platform service through one set of
// calls. Each service has two implementations: the real one (POSIX and
// SDL2) and a headless one that tests drive by hand, so that everything
// above the layer runs unchanged in tests. The choice is made once, at
// start-up, before any service is used.
namespace os {

enum class Backend { Real, Headless };

void SelectBackend(Backend backend);
bool IsHeadless();

}  // namespace os
