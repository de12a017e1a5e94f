#include "engine/Engine_Application.h"

#include "pal/PAL_Window.h"

namespace Engine {
namespace {
// Written and read on the main thread only.
Application* g_application = nullptr;
}  // namespace

Application::Application() { g_application = this; }

Application::~Application() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

Application* Application::GetInstance() { return g_application; }

void Application::Exit() { PAL::RequestQuit(); }

}  // namespace Engine
