#pragma once

#include <cstdio>

namespace Renderer {

// "\OpenGLErrors.txt" beside the executable, open while the renderer lives
// and diagnostics are on. OpenGL errors are not checked, so nothing is
// written into it.
class ErrorLog {
public:
    ErrorLog();
    ~ErrorLog();
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

private:
    std::FILE* m_file;
};

}  // namespace Renderer
