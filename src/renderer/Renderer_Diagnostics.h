#pragma once

#include "os/OS_File.h"

// The diagnostic text files ("\OpenGL Information.txt", "\OpenGLErrors.txt",
// "\DisplayModes.txt") are written beside the executable only while the
// process-wide diagnostics flag is set. Nothing in the game sets it.
namespace Renderer {

void SetDiagnosticsEnabled(bool enabled);

// Opens the file (its name begins with a backslash) in the executable's
// directory for writing, emptied. Null while diagnostics are off or when the
// file cannot be opened.
os::FilePointer OpenDiagnosticFile(const char* name);

}  // namespace Renderer
