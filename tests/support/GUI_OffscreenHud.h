#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderQueue.h"
#include "gui/GUI_HUD.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "support/VideoDriver.h"

#include <array>
#include <cstdint>
#include <memory>

namespace testsupport {

// A HUD drawn by OpenGL on SDL's offscreen driver: a window, the renderer
// installed with its texture cache, the render queue on it, the process-wide
// mouse and keyboard and the font cache. Frames poll the devices, run
// UpdateHud and draw the HUD over a black frame. Positions are GUI units
// (y from the bottom). The resources the GUI loads must be in place before
// the HUD is made (MakeHud).
class OffscreenHud {
public:
    OffscreenHud(std::int32_t width, std::int32_t height);
    ~OffscreenHud();
    OffscreenHud(const OffscreenHud&) = delete;
    OffscreenHud& operator=(const OffscreenHud&) = delete;

    GUI::HUD& MakeHud();
    GUI::HUD& Hud() { return *m_hud; }
    Renderer::OGLRenderer& Renderer() { return *m_renderer; }

    // Pumps, polls, updates the HUD; then clears the frame and draws the HUD.
    void Frame(float dt = 1.0f / 60.0f);
    void Update(float dt = 1.0f / 60.0f);
    // The frame's input part alone: pump and polls.
    void Poll();
    // Pushes a left-button press (down) or release (up) to the window's events.
    static void PushLeftButton(bool down);
    void Draw();
    // The pointer at a GUI point of the window.
    void MoveMouse(int x, int y);
    // A press and release between two polls (down in one frame, up in the next).
    void Click(int x, int y);
    // The colour of the window pixel at a GUI point.
    std::array<std::uint8_t, 4> PixelAt(int x, int y) const;

private:
    ScopedVideoDriver m_driver{"offscreen"};
    PAL::Window m_window;
    Core::RefPtr<Renderer::OGLRenderer> m_renderer;
    RenderQueue m_queue;
    Engine::BitmapFontCache m_fonts;
    Core::RefPtr<Input::KeyboardImp> m_keyboard;
    Core::RefPtr<Input::MouseImp> m_mouse;
    std::unique_ptr<GUI::HUD> m_hud;
};

}  // namespace testsupport
