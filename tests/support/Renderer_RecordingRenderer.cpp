#include "support/Renderer_RecordingRenderer.h"

#include <algorithm>

namespace testsupport {

RecordingRenderer::RecordingRenderer(std::int32_t textureUnits, const Renderer::DisplaySettings& settings)
    : CachingRenderer(settings) {
    m_textureUnitCount = std::max(textureUnits, 1);
    m_multitexture = textureUnits > 1;
    Install();
}

Renderer::DisplaySettings RecordingRenderer::DefaultSettings() {
    Renderer::DisplaySettings settings;
    settings.width = 1024;
    settings.height = 768;
    settings.refreshRate = 60;
    settings.colorBits = 32;
    settings.depthBits = 24;
    settings.stencilBits = 8;
    return settings;
}

int RecordingRenderer::Count(const std::string& call) const {
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), call));
}

void RecordingRenderer::Record(const char* name, std::initializer_list<long long> arguments) {
    std::string text = name;
    for (const long long argument : arguments) {
        text += ' ' + std::to_string(argument);
    }
    m_calls.push_back(std::move(text));
}

}  // namespace testsupport
