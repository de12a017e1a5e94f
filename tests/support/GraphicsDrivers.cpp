#include "support/GraphicsDrivers.h"

#include <dlfcn.h>

#include <initializer_list>

namespace testsupport {

void KeepGraphicsDriversLoaded() {
    // A driver that is not installed is simply not loaded.
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0"}) {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    }
}

}  // namespace testsupport
