#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_HUD.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_VirtualKeys.h"
#include "pal/PAL_Window.h"
#include "support/Renderer_FakeTextureCache.h"

#include <memory>

namespace testsupport {

// A HUD over the real devices of the headless backend: a window, the
// process-wide mouse and keyboard, FakeTextures for every image, and frames
// that poll the devices and run UpdateHud once. Positions are GUI units:
// client pixels with y from the bottom.
class HeadlessHud {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr float kFrame = 1.0f / 60.0f;

    HeadlessHud();
    ~HeadlessHud();
    HeadlessHud(const HeadlessHud&) = delete;
    HeadlessHud& operator=(const HeadlessHud&) = delete;

    GUI::HUD& Hud() { return *m_hud; }
    Input::MouseImp& Mouse() { return *m_mouse; }

    // Pumps the window's messages, polls keyboard and mouse, runs UpdateHud.
    void Frame(float dt = kFrame);
    // The frame's input part alone: pump and polls.
    void Poll();
    void Frames(int count, float dt = kFrame);
    // The pointer at a GUI point (it may lie outside the window).
    void MoveMouse(int x, int y);
    // Held from the next poll on.
    void SetButton(int button, bool down);
    // Pressed and released within one pump: triggered in the first of two
    // frames, seen released in the second.
    void TapKey(os::VirtualKey key);
    // Moves (a frame, so that the control under it is hovered), presses for
    // one frame and releases for one frame.
    void Click(int x, int y);

private:
    FakeTextureCache m_textures;
    PAL::Window m_window{kWidth, kHeight};
    Core::RefPtr<Input::KeyboardImp> m_keyboard;
    Core::RefPtr<Input::MouseImp> m_mouse;
    std::unique_ptr<GUI::HUD> m_hud;
};

}  // namespace testsupport
