#include "input/Input_MouseImp.h"

#include "input/Input_Bytes.h"
#include "os/OS_Cursor.h"
#include "os/OS_Keyboard.h"
#include "os/OS_VirtualKeys.h"

#include <algorithm>

namespace Input {

namespace {

MouseImp* g_mouse = nullptr;

// The wait after a Reset ends only once the cursor stood still between two
// checks. The position seen at the last check is one record for all mice.
bool g_haveWaitCheck = false;
os::Point g_waitCheck;

constexpr os::VirtualKey kButtonKeys[kMouseButtonCount] = {os::VK_LBUTTON, os::VK_MBUTTON, os::VK_RBUTTON};

// Snapshot offsets.
constexpr std::size_t kSnapshotX = 16;
constexpr std::size_t kSnapshotY = 20;
constexpr std::size_t kSnapshotInWindow = 24;
constexpr std::size_t kSnapshotMoved = 25;
constexpr std::size_t kSnapshotVisible = 26;

bool IsHeld(os::VirtualKey button) { return os::GetAsyncKeyState(button) < 0; }

std::uint8_t AsByte(bool value) { return value ? 1 : 0; }

}  // namespace

MouseImp::MouseImp(bool remote) : m_remote(AsByte(remote)) {
    os::GetCursorPos(&m_current);
    m_previous = m_current;
}

MouseImp::~MouseImp() {
    if (g_mouse == this) {
        g_mouse = nullptr;
    }
}

Core::RefPtr<MouseImp> MouseImp::CreateInstance() {
    Core::RefPtr<MouseImp> mouse(TUN_NEW(MouseImp, false));
    g_mouse = mouse.Get();
    return mouse;
}

Core::RefPtr<MouseImp> MouseImp::CreateRemote() { return Core::RefPtr<MouseImp>(TUN_NEW(MouseImp, true)); }

MouseImp* MouseImp::GetInstance() { return g_mouse; }

bool MouseImp::WaitIsOver() {
    if (!g_haveWaitCheck) {
        g_waitCheck = m_current;
        g_haveWaitCheck = true;
    }
    const bool moved = m_current != g_waitCheck;
    g_waitCheck = m_current;
    return !moved && std::none_of(std::begin(kButtonKeys), std::end(kButtonKeys), IsHeld);
}

void MouseImp::Update() {
    if (m_remote != 0) {
        return;
    }
    // Ignored polls leave the states and event lists as the Reset cleared them.
    if (m_wait != 0) {
        if (!WaitIsOver()) {
            return;
        }
        m_wait = 0;
    }
    m_eventButtons.clear();
    m_eventStates.clear();

    os::GetCursorPos(&m_current);
    m_moved = AsByte(m_current != m_previous);
    m_previous = m_current;

    // Once a button is listed, every later button of the poll is listed too.
    bool listed = false;
    for (int button = 0; button < kMouseButtonCount; ++button) {
        KeyState& state = m_buttons[button];
        const bool changed = AdvanceKeyState(state, IsHeld(kButtonKeys[button]));
        if (changed || listed) {
            listed = true;
            m_eventButtons.push_back(static_cast<std::uint8_t>(button));
            m_eventStates.push_back(state);
        }
    }
}

void MouseImp::SetPosition(std::int32_t x, std::int32_t y) {
    os::Rect client;
    if (m_window == os::kNoWindow || !os::GetClientRect(m_window, &client)) {
        return;
    }
    os::Point screen{x, static_cast<std::int32_t>(std::clamp<std::int64_t>(
                            std::int64_t{client.bottom} - 1 - y, INT32_MIN, INT32_MAX))};
    if (!os::ClientToScreen(m_window, &screen)) {
        return;
    }
    os::SetCursorPos(screen.x, screen.y);
    m_current = screen;
}

Vector2D MouseImp::GetPosition() const {
    std::int32_t x = 0;
    std::int32_t y = 0;
    GetPositionXY(&x, &y);
    return {static_cast<float>(x), static_cast<float>(y)};
}

void MouseImp::GetPositionXY(std::int32_t* x, std::int32_t* y) const {
    std::int32_t positionX = 0;
    std::int32_t positionY = 0;
    os::Rect client;
    os::Point point = m_current;
    if (m_remote != 0) {
        positionX = LoadI32(&m_snapshot[kSnapshotX]);
        positionY = LoadI32(&m_snapshot[kSnapshotY]);
    } else if (m_window != os::kNoWindow && os::GetClientRect(m_window, &client) &&
               os::ScreenToClient(m_window, &point) && client.right > 0 && client.bottom > 0) {
        // A minimised window has no client area: the position is then (0, 0).
        positionX = std::clamp(point.x, 0, client.right - 1);
        const std::int64_t fromBottom = std::int64_t{client.bottom} - 1 - point.y;
        positionY = static_cast<std::int32_t>(std::clamp<std::int64_t>(fromBottom, 0, client.bottom - 1));
    }
    if (x != nullptr) {
        *x = positionX;
    }
    if (y != nullptr) {
        *y = positionY;
    }
}

std::int32_t MouseImp::GetPositionX() const {
    std::int32_t x = 0;
    GetPositionXY(&x, nullptr);
    return x;
}

std::int32_t MouseImp::GetPositionY() const {
    std::int32_t y = 0;
    GetPositionXY(nullptr, &y);
    return y;
}

bool MouseImp::IsInWindow() const {
    if (m_remote != 0) {
        return m_snapshot[kSnapshotInWindow] != 0;
    }
    os::Rect client;
    os::Point point = m_current;
    return m_window != os::kNoWindow && os::GetClientRect(m_window, &client) &&
           os::ScreenToClient(m_window, &point) && os::PtInRect(client, point);
}

const KeyState* MouseImp::Button(int button) const {
    return button >= 0 && button < kMouseButtonCount ? &m_buttons[button] : nullptr;
}

bool MouseImp::IsPressed(int button) const { return IsSet(Button(button), &KeyState::pressed); }

bool MouseImp::IsTriggered(int button) const { return IsSet(Button(button), &KeyState::triggered); }

bool MouseImp::IsDown(int button) const { return IsSet(Button(button), &KeyState::down); }

bool MouseImp::IsUp(int button) const { return IsSet(Button(button), &KeyState::up); }

void MouseImp::ShowCursor(bool show) {
    if (m_remote != 0) {
        return;
    }
    // The display count may have been moved far by other code; a bounded
    // number of steps keeps a broken count from hanging the frame.
    constexpr int kMaxSteps = 64;
    for (int step = 0; step < kMaxSteps; ++step) {
        const int count = os::ShowCursor(show);
        if (show ? count >= 0 : count < 0) {
            return;
        }
    }
}

bool MouseImp::IsCursorVisible() const {
    if (m_remote != 0) {
        return m_snapshot[kSnapshotVisible] != 0;
    }
    os::CursorInfo info;
    return os::GetCursorInfo(&info) && info.flags == os::CURSOR_SHOWING;
}

void MouseImp::SetWindow(os::WindowHandle window) {
    if (m_remote == 0) {
        m_window = window;
    }
}

void MouseImp::Reset() {
    if (m_remote != 0) {
        return;
    }
    m_moved = 0;
    os::GetCursorPos(&m_current);
    m_previous = m_current;
    // As the keyboard's: no stale button events while the wait ignores polls.
    m_buttons = {};
    m_eventButtons.clear();
    m_eventStates.clear();
    m_wait = 1;
}

void MouseImp::ReadSnapshot(std::span<const std::uint8_t> record) {
    if (m_remote == 0 || record.size() != kMouseSnapshotBytes) {
        return;
    }
    std::copy(record.begin(), record.end(), m_snapshot.begin());
    m_moved = AsByte(m_snapshot[kSnapshotMoved] != 0);
    for (int button = 0; button < kMouseButtonCount; ++button) {
        m_buttons[button] = LoadKeyState(&m_snapshot[button * kKeyStateBytes]);
    }
}

std::span<const std::uint8_t> MouseImp::WriteSnapshot() {
    if (m_remote != 0) {
        return {};
    }
    m_snapshot = {};
    for (int button = 0; button < kMouseButtonCount; ++button) {
        StoreKeyState(m_buttons[button], &m_snapshot[button * kKeyStateBytes]);
    }
    std::int32_t x = 0;
    std::int32_t y = 0;
    GetPositionXY(&x, &y);
    StoreI32(&m_snapshot[kSnapshotX], x);
    StoreI32(&m_snapshot[kSnapshotY], y);
    m_snapshot[kSnapshotInWindow] = AsByte(IsInWindow());
    m_snapshot[kSnapshotMoved] = m_moved;
    m_snapshot[kSnapshotVisible] = AsByte(IsCursorVisible());
    return m_snapshot;
}

bool MouseImp::GetEvents(MouseMovementRecord& movement, std::vector<std::uint8_t>& buttons,
                         std::vector<std::uint8_t>& states) const {
    movement = {};
    StoreI32(&movement[kMovementPreviousX], m_previous.x);
    StoreI32(&movement[kMovementPreviousY], m_previous.y);
    movement[kMovementMoved] = m_moved;
    StoreI32(&movement[kMovementCurrentX], m_current.x);
    StoreI32(&movement[kMovementCurrentY], m_current.y);

    buttons = m_eventButtons;
    StoreKeyStates(m_eventStates, states);
    return !m_eventButtons.empty() || m_moved != 0;
}

std::uint32_t MouseImp::ApplyEvents(const MouseMovementRecord& movement, std::span<const std::uint8_t> buttons,
                                    std::span<const std::uint8_t> states) {
    if (states.size() != buttons.size() * kKeyStateBytes) {
        return 0;
    }
    m_current = {LoadI32(&movement[kMovementCurrentX]), LoadI32(&movement[kMovementCurrentY])};
    m_moved = AsByte(m_current != m_previous);
    m_previous = m_current;
    m_buttons = {};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] < kMouseButtonCount) {
            m_buttons[buttons[i]] = LoadKeyState(&states[i * kKeyStateBytes]);
        }
    }
    return static_cast<std::uint32_t>(buttons.size());
}

}  // namespace Input
