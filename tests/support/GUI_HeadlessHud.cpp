#include "support/GUI_HeadlessHud.h"

#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"

namespace testsupport {

HeadlessHud::HeadlessHud() {
    os::headless::ResetWindowSystem();
    os::headless::ResetKeys();
    os::headless::ResetCursor();
    m_keyboard = Input::KeyboardImp::CreateInstance();
    m_mouse = Input::MouseImp::CreateInstance();
    m_mouse->SetWindow(m_window.GetHandle());
    MoveMouse(kWidth / 2, kHeight / 2);
    m_hud = std::make_unique<GUI::HUD>();
    // The devices' waits end once nothing is held and the cursor is still.
    Frames(2);
}

HeadlessHud::~HeadlessHud() {
    m_hud.reset();
    os::headless::ResetKeys();
    os::headless::ResetCursor();
}

void HeadlessHud::Frame(float dt) {
    Poll();
    UpdateHud(dt);
}

void HeadlessHud::Poll() {
    os::Message message;
    while (os::PeekMessage(&message)) {
        os::DispatchMessage(message);
    }
    m_keyboard->Update();
    m_mouse->Update();
}

void HeadlessHud::Frames(int count, float dt) {
    for (int frame = 0; frame < count; ++frame) {
        Frame(dt);
    }
}

void HeadlessHud::MoveMouse(int x, int y) {
    os::Point point{x, kHeight - 1 - y};
    os::ClientToScreen(m_window.GetHandle(), &point);
    os::SetCursorPos(point.x, point.y);
}

void HeadlessHud::SetButton(int button, bool down) {
    static constexpr os::VirtualKey kButtons[] = {os::VK_LBUTTON, os::VK_MBUTTON, os::VK_RBUTTON};
    os::headless::SetKey(kButtons[button], down);
}

void HeadlessHud::TapKey(os::VirtualKey key) {
    os::headless::InjectKeyEvent(key, true);
    os::headless::InjectKeyEvent(key, false);
    Frame();
    Frame();
}

void HeadlessHud::Click(int x, int y) {
    MoveMouse(x, y);
    Frame();
    SetButton(0, true);
    Frame();
    SetButton(0, false);
    Frame();
}

}  // namespace testsupport
