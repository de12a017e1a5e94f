#include "support/GraphicsDrivers.h"

#include <dlfcn.h>

#include <initializer_list>

namespace testsupport {

void KeepGraphicsDriversLoaded() {
    // A driver that is not installed is simply not loaded.
    // The software rasteriser is loaded by path; it keeps multisample buffers to the end.
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                                "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"}) {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    }
}

}  // namespace testsupport
