#include "core/Core_ClassRegistry.h"
#include "input/Input_Bytes.h"
#include "input/Input_KeyTable.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Message.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

namespace {

using Input::KeyboardImp;
using Input::MouseImp;
using Bytes = std::vector<std::uint8_t>;
using Bytes5 = std::array<std::uint8_t, 5>;
constexpr int kA = Input::kKeyLetterA;

// Every key and mouse button takes one step of this machine per poll.
TEST(KeyState, EachPollStepsThePressReleaseMachine) {
    // Held at the poll; pressed, triggered, held, down, up after it; listed.
    const std::tuple<bool, Bytes5, bool> steps[] = {
        {false, {0, 0, 0, 0, 0}, false}, {true, {1, 1, 1, 1, 0}, true}, {true, {1, 0, 1, 0, 0}, true},
        {true, {1, 0, 1, 0, 0}, true},   {false, {0, 0, 0, 0, 1}, true}, {true, {1, 1, 1, 1, 0}, true},
        {false, {0, 0, 0, 0, 1}, true},  {false, {0, 0, 0, 0, 0}, false}};
    const auto bytesOf = [](const Input::KeyState& state) {
        Bytes5 bytes{};
        Input::StoreKeyState(state, bytes.data());
        return bytes;
    };
    Input::KeyState state;
    int poll = 0;
    for (const auto& [held, after, listed] : steps) {
        EXPECT_EQ(Input::AdvanceKeyState(state, held), listed) << poll;
        EXPECT_EQ(bytesOf(state), after) << poll++;
    }
    state = Input::LoadKeyState(Bytes5{0, 0, 0, 0, 7}.data());  // a peer may send any value: only 0 is clear
    EXPECT_TRUE(Input::IsSet(&state, &Input::KeyState::up) && !Input::IsClear(state));
}

class Devices : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetWindowSystem();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        m_mouse->SetWindow(m_window.GetHandle());
        Frame();
        Frame();  // the waits of new devices end: nothing held, the cursor still
    }
    void Frame() {
        os::Message message;
        while (os::PeekMessage(&message)) {
            os::DispatchMessage(message);
        }
        m_keyboard->Update();
        m_mouse->Update();
    }
    void Hold(const Bytes& keys, bool down = true) {
        std::for_each(keys.begin(), keys.end(), [down](os::VirtualKey key) { os::headless::SetKey(key, down); });
        Frame();
    }
    void MoveToClient(os::Point point) {
        os::ClientToScreen(m_window.GetHandle(), &point);
        os::SetCursorPos(point.x, point.y);
    }
    std::pair<Bytes, Bytes> KeyEvents() const {
        std::pair<Bytes, Bytes> events;
        const bool any = m_keyboard->GetEvents(events.first, events.second);
        EXPECT_EQ(any, !events.first.empty());
        return events;
    }

    PAL::Window m_window{800, 600};
    Core::RefPtr<KeyboardImp> m_keyboard = KeyboardImp::CreateInstance();
    Core::RefPtr<MouseImp> m_mouse = MouseImp::CreateInstance();
};

TEST_F(Devices, CreationGivesOneReferenceAndNoClassOfTheirOwn) {
    const Core::RefPtr<KeyboardImp> remoteKeyboard = KeyboardImp::CreateRemote();
    const Core::RefPtr<MouseImp> remoteMouse = MouseImp::CreateRemote();
    const Core::Object* devices[] = {m_keyboard.Get(), remoteKeyboard.Get(), m_mouse.Get(), remoteMouse.Get()};
    for (const Core::Object* device : devices) {
        EXPECT_EQ(device->GetReferenceCount(), 1u);
        EXPECT_STREQ(device->GetType(), "Object");
        EXPECT_EQ(Core::RefPtr<Core::Object>(device->Clone())->GetSize(), sizeof(Core::Object));
    }
    const Core::ClassRegistry& registry = Core::ClassRegistry::GetInstance();
    EXPECT_TRUE(registry.Find("Input::KeyboardImp") == nullptr && registry.Find("Input::MouseImp") == nullptr);
    EXPECT_TRUE(KeyboardImp::GetInstance() == m_keyboard.Get() && MouseImp::GetInstance() == m_mouse.Get());
    m_keyboard = nullptr, m_mouse = nullptr;
    EXPECT_TRUE(KeyboardImp::GetInstance() == nullptr && MouseImp::GetInstance() == nullptr);
}

// A key or click pressed and released within one pump is down at the next
// poll and up at the one after; a pump before the poll keeps it.
TEST_F(Devices, TapWithinOnePumpIsSeenOnce) {
    const auto seen = [&] {
        return Bytes5{m_keyboard->IsPressed(kA), m_keyboard->IsTriggered(kA), m_keyboard->IsUp(kA),
                      m_mouse->IsTriggered(0), m_mouse->IsUp(0)};
    };
    for (const bool down : {true, false}) {
        os::headless::InjectKeyEvent(os::VK_A, down);
        os::headless::InjectKeyEvent(os::VK_LBUTTON, down);
    }
    const Bytes5 expected[] = {{1, 1, 0, 1, 0}, {0, 0, 1, 0, 1}, {0, 0, 0, 0, 0}};
    for (const Bytes5& frame : expected) {
        Frame();
        EXPECT_EQ(seen(), frame);
    }
    for (const bool down : {true, false}) {  // a press a poll has seen: its release counts at once
        os::headless::InjectKeyEvent(os::VK_A, down);
        Frame();
    }
    EXPECT_EQ(seen(), (Bytes5{0, 0, 1, 0, 0}));
}

// Held keys are listed at every poll, a released one at its release only.
TEST_F(Devices, KeyboardListsKeysSearchesFromId6AndWaitsAfterReset) {
    Hold({os::VK_LSHIFT, os::VK_A});
    EXPECT_EQ(KeyEvents(), std::pair(Bytes{0x10, 0x41, 0xA0}, Bytes{1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
    EXPECT_TRUE(m_keyboard->IsTriggered(kA) && m_keyboard->IsDown(kA) && !m_keyboard->IsUp(kA));
    Hold({os::VK_LSHIFT}, false);
    EXPECT_EQ(KeyEvents(), std::pair(Bytes{0x10, 0x41, 0xA0}, Bytes{0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_TRUE(m_keyboard->IsPressed(kA) && !m_keyboard->IsDown(kA) && m_keyboard->IsUp(Input::kKeyLeftShift));
    // Codes 0-5 (mouse buttons) are keys, but the searches skip them; the
    // lowest key id wins; ids outside the table answer false.
    os::headless::ResetKeys();
    Hold({1, 2, 3, 4, 5});
    int id = -1;
    EXPECT_TRUE(m_keyboard->IsPressed(0) && m_keyboard->IsPressed(3));
    EXPECT_FALSE(m_keyboard->GetPressed(&id) || m_keyboard->GetTriggered(&id) || m_keyboard->AnyKey() || id != -1);
    Hold({os::VK_XBUTTON2});
    EXPECT_TRUE(m_keyboard->AnyKey());
    Hold({os::VK_A, os::VK_SPACE});
    ASSERT_TRUE(m_keyboard->GetTriggered(&id));
    EXPECT_EQ(id, Input::kKeySpace);
    Hold({});
    EXPECT_FALSE(m_keyboard->GetTriggered(&id));
    EXPECT_TRUE(m_keyboard->GetPressed(nullptr));
    EXPECT_FALSE(m_keyboard->IsPressed(-1) || m_keyboard->IsPressed(196) || m_keyboard->IsUp(INT32_MIN) ||
                 m_keyboard->GetKeyAsChar(INT32_MAX) != 0);

    // After Reset, keys count once nothing (mouse buttons included) is held,
    // after 120 ignored polls, or on EndWaitForRelease.
    os::headless::ResetKeys();
    Hold({});
    Hold({os::VK_A});
    m_keyboard->Reset();
    os::headless::SetKey(os::VK_A, false);
    Hold({os::VK_LBUTTON});  // the left button is key id 0
    for (std::uint32_t poll = 1; poll < KeyboardImp::kMaxWaitPolls; ++poll) {
        m_keyboard->Update();
    }
    EXPECT_FALSE(m_keyboard->IsPressed(0));
    EXPECT_EQ(KeyEvents().first, Bytes{});  // not those of the poll before the reset: no state holds them
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(0));
    m_keyboard->Reset();
    m_keyboard->EndWaitForRelease();
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(0));
}

TEST_F(Devices, KeyboardCharactersFollowShiftCapsLockAndNumLock) {
    // Ids: letters a c z, digits 0 2 9, ; ' ` and the keypad 7 . * /, tab, return, space, escape.
    const int ids[] = {kA, kA + 2, kA + 25, 43, 45, 52, 155, 165, 161, 90, 97, 93, 98, 7, 9, 27, 22};
    // Shift key, Caps Lock, Num Lock, the characters of the ids.
    const std::tuple<os::VirtualKey, bool, bool, const char*> cases[] = {{0, false, false, "acz029;'`\0\0*/\t\n \0"},
                 {os::VK_LSHIFT, true, false, "acz)@(:\"~\0\0*/\t\n \0"},
                 {os::VK_RSHIFT, false, true, "ACZ)@(:\"~7.*/\t\n \0"}};
    for (const auto& [shift, capsLock, numLock, typed] : cases) {
        os::headless::SetToggle(os::VK_CAPITAL, capsLock);
        os::headless::SetToggle(os::VK_NUMLOCK, numLock);
        os::headless::SetKey(os::VK_LSHIFT, shift == os::VK_LSHIFT);
        Hold({os::VK_RSHIFT}, shift == os::VK_RSHIFT);
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            EXPECT_EQ(m_keyboard->GetKeyAsChar(ids[i]), typed[i]) << typed << " id " << ids[i];
        }
    }
}

// Once a button is listed every later button of the poll is listed too;
// numbers other than 0-2 answer false.
TEST_F(Devices, MouseListsButtonsFromTheFirstListedOneAndCountsFromTheBottomLeft) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{os::VK_LBUTTON, os::VK_RBUTTON}, {0, 1, 2}}, {{}, {0, 1, 2}}, {{}, {}},
        {{os::VK_MBUTTON}, {1, 2}}, {{}, {1, 2}}, {{os::VK_RBUTTON}, {2}}};
    for (const auto& [held, listed] : cases) {
        os::headless::ResetKeys();
        Hold(held);
        Input::MouseMovementRecord movement;
        Bytes buttons, states;
        EXPECT_EQ(m_mouse->GetEvents(movement, buttons, states), !listed.empty());
        EXPECT_EQ(buttons, listed);
        EXPECT_EQ(states.size(), listed.size() * Input::kKeyStateBytes);
    }
    EXPECT_TRUE(m_mouse->IsPressed(2) && m_mouse->IsTriggered(2) && m_mouse->IsDown(2) && !m_mouse->IsUp(2));
    Hold({os::VK_RBUTTON}, false);
    EXPECT_TRUE(m_mouse->IsUp(2) && !m_mouse->IsPressed(2) && !m_mouse->IsUp(3) && !m_mouse->IsPressed(-1));
    m_mouse->Reset();  // held buttons are then ignored until released
    Hold({os::VK_LBUTTON});
    Input::MouseMovementRecord movement;
    Bytes buttons, states;
    EXPECT_FALSE(m_mouse->GetEvents(movement, buttons, states) || m_mouse->IsPressed(0) || m_mouse->IsUp(2));
    Hold({os::VK_LBUTTON}, false);

    // Positions count from the bottom-left client pixel and stay in the window.
    const std::tuple<os::Point, Vector2D, bool> places[] = {
        {{10, 0}, {10, 599}, true},    {{-5, 700}, {0, 0}, false},  {{900, -20}, {799, 599}, false},
        {{799, 599}, {799, 0}, true}, {{800, 600}, {799, 0}, false}};
    for (const auto& [client, position, inside] : places) {
        MoveToClient(client);
        Frame();
        EXPECT_EQ(m_mouse->GetPosition(), position) << client.x << "," << client.y;
        EXPECT_EQ(m_mouse->IsInWindow(), inside);
    }
    m_mouse->SetPosition(0, 0);
    os::Point client;
    ASSERT_TRUE(os::GetCursorPos(&client) && os::ScreenToClient(m_window.GetHandle(), &client));
    EXPECT_EQ(client, (os::Point{0, 599}));
    // A minimised window has a 0 x 0 client area: the position is the origin.
    os::headless::InjectWindowEvent(m_window.GetHandle(), os::WindowEvent::Minimized);
    EXPECT_TRUE(m_mouse->GetPosition() == Vector2D() && !m_mouse->IsInWindow());
}

TEST_F(Devices, SnapshotsAndEventsCarryStatesToRemoteDevices) {
    MoveToClient({123, 500});
    Hold({os::VK_RBUTTON, os::VK_A});
    m_mouse->ShowCursor(false);
    const auto copy = [](std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); };
    Bytes mouse = copy(m_mouse->WriteSnapshot());
    Bytes keys = copy(m_keyboard->WriteSnapshot());
    EXPECT_EQ(mouse, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 123, 0, 0, 0, 99, 0, 0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(keys, (Bytes{1, 1, 1, 1, 0, 0, 0, 0, 0x02, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0x41, 0, 0, 0}));

    const Core::RefPtr<MouseImp> remoteMouse = MouseImp::CreateRemote();
    const Core::RefPtr<KeyboardImp> remoteKeyboard = KeyboardImp::CreateRemote();
    remoteMouse->ReadSnapshot(std::span(mouse).first(27));
    remoteKeyboard->ReadSnapshot(std::span(keys).first(11));
    EXPECT_FALSE(remoteMouse->IsPressed(2) || remoteKeyboard->IsPressed(kA));
    Input::StoreU32(&keys[8], 300);  // a record naming a code past 255 is dropped
    remoteMouse->ReadSnapshot(mouse);
    remoteKeyboard->ReadSnapshot(keys);
    EXPECT_TRUE(remoteMouse->IsTriggered(2) && remoteMouse->IsInWindow() && remoteMouse->IsMoved());
    EXPECT_FALSE(remoteMouse->IsCursorVisible() || remoteKeyboard->IsPressed(1));
    EXPECT_TRUE(remoteMouse->GetPositionX() == 123 && remoteMouse->GetPositionY() == 99);
    EXPECT_TRUE(remoteKeyboard->IsTriggered(kA));
    EXPECT_TRUE(remoteMouse->WriteSnapshot().empty() && remoteKeyboard->WriteSnapshot().empty());
    Hold({os::VK_RBUTTON, os::VK_A}, false);
    m_mouse->ReadSnapshot(mouse);  // local devices ignore snapshots
    m_keyboard->ReadSnapshot(keys);
    EXPECT_FALSE(m_mouse->IsPressed(2) || m_keyboard->IsPressed(kA));

    os::SetCursorPos(-2, 0x01020304);
    Hold({});
    Input::MouseMovementRecord movement;
    EXPECT_TRUE(m_mouse->GetEvents(movement, mouse, keys) && mouse.empty());  // moved, nothing listed
    EXPECT_EQ(movement,
              (Input::MouseMovementRecord{254, 255, 255, 255, 4, 3, 2, 1, 1, 0, 0, 0, 254, 255, 255, 255, 4, 3, 2, 1}));
    Input::StoreI32(&movement[12], 40);
    const std::uint8_t listed[] = {5, 2};  // button 5 is skipped but counted
    const std::uint8_t listedStates[] = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(remoteMouse->ApplyEvents(movement, listed, listedStates), 2u);
    EXPECT_TRUE(remoteMouse->IsMoved() && remoteMouse->IsPressed(2) && !remoteMouse->IsTriggered(2));
    EXPECT_EQ(remoteMouse->ApplyEvents(movement, {}, {}), 0u);
    EXPECT_FALSE(remoteMouse->IsMoved() || remoteMouse->IsPressed(2));
    ASSERT_TRUE(remoteKeyboard->ApplyEvents(listed, listedStates));
    EXPECT_TRUE(remoteKeyboard->IsTriggered(4) && remoteKeyboard->IsPressed(1) && !remoteKeyboard->IsPressed(kA));
    // Lists whose lengths disagree are refused whole.
    EXPECT_EQ(remoteMouse->ApplyEvents(movement, listed, std::span(listedStates).first(9)), 0u);
    EXPECT_FALSE(remoteKeyboard->ApplyEvents(std::span(listed).first(1), listedStates));
    EXPECT_TRUE(remoteKeyboard->IsPressed(1));
}

}  // namespace
