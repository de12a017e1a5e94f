#include "renderer/Renderer_ErrorLog.h"

#include "renderer/Renderer_Diagnostics.h"

namespace Renderer {

ErrorLog::ErrorLog() : m_file(OpenDiagnosticFile("\\OpenGLErrors.txt")) {}

}  // namespace Renderer
