#include "engine/Engine_Application.h"

#include "pal/PAL_Window.h"

namespace Engine {
namespace {
// Written and read on the main thread only.
Application* g_current = nullptr;
}  // namespace

Application::Application() { g_current = this; }

Application::~Application() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

Application* Application::GetInstance() { return g_current; }

void Application::Exit() { PAL::RequestQuit(); }

}  // namespace Engine
