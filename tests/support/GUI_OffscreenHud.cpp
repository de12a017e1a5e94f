#include "support/GUI_OffscreenHud.h"

#include "os/OS_Cursor.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"

#include <SDL.h>

namespace testsupport {

OffscreenHud::OffscreenHud(std::int32_t width, std::int32_t height) : m_window(width, height) {
    // Without a global pointer the driver reports it relative to the window
    // it is in: at the origin both agree.
    m_window.SetPosition(0, 0);
    Renderer::DisplaySettings settings(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    settings.window = &m_window;
    m_renderer = TUN_NEW(Renderer::OGLRenderer, settings);
    m_renderer->Install();
    m_queue.SetRenderer(m_renderer.Get());
    Engine::BitmapFontCache::SetInstance(&m_fonts);
    m_keyboard = Input::KeyboardImp::CreateInstance();
    m_mouse = Input::MouseImp::CreateInstance();
    m_mouse->SetWindow(m_window.GetHandle());
}

OffscreenHud::~OffscreenHud() {
    m_hud.reset();
    m_mouse = nullptr;
    m_keyboard = nullptr;
    Engine::BitmapFontCache::SetInstance(nullptr);
    m_queue.SetRenderer(nullptr);
    m_renderer = nullptr;
}

GUI::HUD& OffscreenHud::MakeHud() {
    m_hud = std::make_unique<GUI::HUD>();
    // The devices' waits end once nothing is held and the pointer is still.
    Update();
    Update();
    return *m_hud;
}

void OffscreenHud::Update(float dt) {
    Poll();
    UpdateHud(dt);
}

void OffscreenHud::Poll() {
    os::Message message;
    for (int guard = 0; guard < 1000 && os::PeekMessage(&message); ++guard) {
        os::DispatchMessage(message);
    }
    m_keyboard->Update();
    m_mouse->Update();
}

void OffscreenHud::PushLeftButton(bool down) {
    SDL_Event click{};
    click.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    click.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&click);
}

void OffscreenHud::Draw() {
    m_renderer->ClearBuffers({0.0f, 0.0f, 0.0f, 0.0f}, 1.0f, 0);
    if (m_hud != nullptr) {
        m_hud->Render();
    }
    os::gl::Finish();
}

void OffscreenHud::Frame(float dt) {
    Update(dt);
    Draw();
}

void OffscreenHud::MoveMouse(int x, int y) { m_mouse->SetPosition(x, y); }

void OffscreenHud::Click(int x, int y) {
    MoveMouse(x, y);
    Frame();
    PushLeftButton(true);
    PushLeftButton(false);
    Frame();
    Frame();
}

std::array<std::uint8_t, 4> OffscreenHud::PixelAt(int x, int y) const {
    std::array<std::uint8_t, 4> pixel{};
    os::gl::ReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

}  // namespace testsupport
