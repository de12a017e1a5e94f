#include "renderer/Renderer_Diagnostics.h"

#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"

namespace Renderer {
namespace {
bool g_diagnostics = false;
}  // namespace

void SetDiagnosticsEnabled(bool enabled) { g_diagnostics = enabled; }

std::FILE* OpenDiagnosticFile(const char* name) {
    if (!g_diagnostics) {
        return nullptr;
    }
    Core::String path = GetExecutableDirectory();
    path += name;
    return std::fopen(os::ResolvePath(path).c_str(), "w");
}

}  // namespace Renderer
