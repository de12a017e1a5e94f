#include "pal/PAL_ErrorReporter.h"

#include "os/OS_Error.h"
#include "os/OS_Process.h"

#include <climits>
#include <cstdio>
#include <string>

namespace {

// One process-wide record, set and reported from the main thread.
struct ErrorContext {
    const char* failingFunction = "";
    const char* enclosingFunction = "";
    const char* file = "";
    int line = 0;
};
ErrorContext g_context;

const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

void SetErrorContext(const char* failingFunction, const char* enclosingFunction, int line, const char* file) {
    g_context.failingFunction = OrEmpty(failingFunction);
    g_context.enclosingFunction = OrEmpty(enclosingFunction);
    g_context.file = OrEmpty(file);
    // The report names the call that follows the context.
    g_context.line = line < INT_MAX ? line + 1 : line;
    os::SetLastError(0);
}

void ReportLastErrorAndExit(bool failed) {
    if (!failed) {
        return;
    }
    const std::uint32_t code = os::GetLastError();
    if (code == 0) {
        return;
    }
    const std::string reason = os::ErrorText(code);
    // Long names are cut off rather than written past the buffer.
    char text[2048];
    std::snprintf(text, sizeof text,
                  "The \"%s\" function failed with error %d: %s\nEnclosing Function: %s\nFile: %s\nLine: %d",
                  g_context.failingFunction, static_cast<int>(code), reason.c_str(), g_context.enclosingFunction,
                  g_context.file, g_context.line);
    os::FatalExit(text, "Error", code);
}
