#include "renderer/Renderer_ErrorLog.h"

#include "renderer/Renderer_Diagnostics.h"

namespace Renderer {

ErrorLog::ErrorLog() : m_file(OpenDiagnosticFile("\\OpenGLErrors.txt")) {}

ErrorLog::~ErrorLog() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

}  // namespace Renderer
