#pragma once

#include "os/OS_File.h"

namespace Renderer {

// "\OpenGLErrors.txt" beside the executable, open while the renderer lives
// and diagnostics are on. OpenGL errors are not checked, so nothing is
// written into it.
class ErrorLog {
public:
    ErrorLog();

private:
    os::FilePointer m_file;
};

}  // namespace Renderer
