#include "support/VideoDriver.h"

#include "os/OS_Backend.h"
#include "support/GraphicsDrivers.h"

#include <cstdlib>

namespace testsupport {

ScopedVideoDriver::ScopedVideoDriver(const char* driver) {
    KeepGraphicsDriversLoaded();
    setenv("SDL_VIDEODRIVER", driver, 1);
    os::SelectBackend(os::Backend::Real);
}

ScopedVideoDriver::~ScopedVideoDriver() {
    unsetenv("SDL_VIDEODRIVER");
    os::SelectBackend(os::Backend::Headless);
}

}  // namespace testsupport
