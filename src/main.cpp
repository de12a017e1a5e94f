#include "core/Core_Startup.h"

#include <cstdio>

// The program so far: the engine core starts and stops; the game comes later.
int main() {
    std::uint8_t coreGuard = 0;
    CoreStartup(coreGuard);
    std::puts("Emberline: engine core started and stopped cleanly.");
    CoreShutdown(coreGuard);
    return 0;
}
