#include "renderer/Renderer_Diagnostics.h"

#include "pal/PAL_ExecutablePath.h"

namespace Renderer {
namespace {
bool g_diagnostics = false;
}  // namespace

void SetDiagnosticsEnabled(bool enabled) { g_diagnostics = enabled; }

os::FilePointer OpenDiagnosticFile(const char* name) {
    if (!g_diagnostics) {
        return nullptr;
    }
    Core::String path = GetExecutableDirectory();
    path += name;
    return os::OpenFile(path, "w");
}

}  // namespace Renderer
