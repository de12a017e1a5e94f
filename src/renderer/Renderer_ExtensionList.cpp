#include "renderer/Renderer_ExtensionList.h"

#include "os/OS_GLContext.h"
#include "pal/PAL_ErrorReporter.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"

#include <algorithm>
#include <cstring>

namespace Renderer {

void AppendExtensionNames(const char* text, Core::StringVector& names) {
    if (text == nullptr) {
        return;
    }
    const char* cursor = text;
    while (*cursor != '\0') {
        const char* end = std::strchr(cursor, ' ');
        const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - cursor) : std::strlen(cursor);
        if (length > 0) {
            names.emplace_back(std::string_view(cursor, length));
        }
        cursor += length;
        if (*cursor == ' ') {
            ++cursor;
        }
    }
}

bool HasExtension(const Core::StringVector& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void AppendWGLExtensionNames(Core::StringVector& names, const char* enclosingFunction) {
    const ExtensionEntryPoints& entryPoints = GetExtensionEntryPoints();
    const char* text = nullptr;
    if (entryPoints.wglGetExtensionsStringARB != nullptr) {
        SetErrorContext("wglGetExtensionsStringARB", enclosingFunction, __LINE__, "Renderer_AdapterInformation");
        text = entryPoints.wglGetExtensionsStringARB(os::GetCurrentGLWindow());
        ReportLastErrorAndExit(text == nullptr);
    } else if (entryPoints.wglGetExtensionsStringEXT != nullptr) {
        SetErrorContext("wglGetExtensionsStringEXT", enclosingFunction, __LINE__, "Renderer_AdapterInformation");
        text = entryPoints.wglGetExtensionsStringEXT();
        ReportLastErrorAndExit(text == nullptr);
    }
    AppendExtensionNames(text, names);
}

}  // namespace Renderer
