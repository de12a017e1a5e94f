#pragma once

#include "pal/PAL_Window.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_IRenderer.h"

#include <cstdlib>

namespace bench {

// An OpenGL renderer over a 64 x 64 window on SDL's offscreen driver (Mesa,
// no display), installed as the process-wide renderer while it lives.
class OffscreenRenderer {
public:
    OffscreenRenderer() : m_window(64, 64) {
        Renderer::DisplaySettings settings(64, 64);
        settings.window = &m_window;
        m_renderer = Renderer::CreateRenderer(settings);
    }

private:
    // First: SDL reads the driver when video starts.
    struct OffscreenDriver {
        OffscreenDriver() { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
    } m_driver;
    Renderer::AdapterInformation m_adapter;
    PAL::Window m_window;
    Core::RefPtr<Renderer::IRenderer> m_renderer;
};

}  // namespace bench
