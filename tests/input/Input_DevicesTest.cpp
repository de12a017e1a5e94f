#include "core/Core_ClassRegistry.h"
#include "input/Input_KeyState.h"
#include "input/Input_KeyTable.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_Message.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using Bytes5 = std::array<std::uint8_t, 5>;

Bytes5 BytesOf(const Input::KeyState& state) {
    Bytes5 bytes{};
    Input::StoreKeyState(state, bytes.data());
    return bytes;
}

// Every key and mouse button takes one step of this machine per poll.
TEST(KeyState, EachPollStepsThePressReleaseMachine) {
    const struct {
        bool held;
        Bytes5 after;  // pressed, triggered, held, down, up
        bool listed;
    } steps[] = {
        {false, {0, 0, 0, 0, 0}, false}, {true, {1, 1, 1, 1, 0}, true},  {true, {1, 0, 1, 0, 0}, true},
        {true, {1, 0, 1, 0, 0}, true},   {false, {0, 0, 0, 0, 1}, true}, {true, {1, 1, 1, 1, 0}, true},
        {false, {0, 0, 0, 0, 1}, true},  {false, {0, 0, 0, 0, 0}, false},
    };
    Input::KeyState state;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Input::AdvanceKeyState(state, steps[i].held), steps[i].listed) << i;
        EXPECT_EQ(BytesOf(state), steps[i].after) << i;
        EXPECT_EQ(BytesOf(Input::LoadKeyState(steps[i].after.data())), steps[i].after) << i;
    }
    // A peer may send any byte value: only 0 is clear.
    const Bytes5 peer = {0, 0, 0, 0, 7};
    state = Input::LoadKeyState(peer.data());
    EXPECT_TRUE(Input::IsSet(&state, &Input::KeyState::up));
    EXPECT_FALSE(Input::IsClear(state));
}

TEST(InputDevices, CreationGivesOneReferenceAndNoClassOfTheirOwn) {
    Core::RefPtr<Input::KeyboardImp> keyboard = Input::KeyboardImp::CreateInstance();
    Core::RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateInstance();
    const Core::RefPtr<Input::KeyboardImp> remoteKeyboard = Input::KeyboardImp::CreateRemote();
    const Core::RefPtr<Input::MouseImp> remoteMouse = Input::MouseImp::CreateRemote();
    const Core::Object* devices[] = {keyboard.Get(), remoteKeyboard.Get(), mouse.Get(), remoteMouse.Get()};
    for (const Core::Object* device : devices) {
        EXPECT_EQ(device->GetReferenceCount(), 1u);
        EXPECT_STREQ(device->GetType(), "Object");
        const Core::RefPtr<Core::Object> clone(device->Clone());
        EXPECT_EQ(clone->GetSize(), sizeof(Core::Object));
    }
    EXPECT_EQ(keyboard->GetSize(), sizeof(Input::KeyboardImp));
    EXPECT_EQ(Input::KeyboardImp::GetInstance(), keyboard.Get());
    EXPECT_EQ(Input::MouseImp::GetInstance(), mouse.Get());
    EXPECT_EQ(keyboard->GetUserValue(), 22);
    for (const auto& entry : Core::ClassRegistry::GetInstance().GetEntries()) {
        EXPECT_EQ(std::string(entry.first).find("Input::"), std::string::npos) << entry.first;
    }
    keyboard = nullptr;
    mouse = nullptr;
    EXPECT_EQ(Input::KeyboardImp::GetInstance(), nullptr);
    EXPECT_EQ(Input::MouseImp::GetInstance(), nullptr);
}

class Taps : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetWindowSystem();
        os::headless::ResetKeys();
        m_mouse->SetWindow(m_window.GetHandle());
        m_keyboard->EndWaitForRelease();
        Frame();
        Frame();  // the mouse's wait ends once the cursor stood still
    }
    void TearDown() override { os::headless::ResetKeys(); }

    static void Tap(os::VirtualKey key) {
        os::headless::InjectKeyEvent(key, true);
        os::headless::InjectKeyEvent(key, false);
    }
    static void Pump() {
        os::Message message;
        while (os::PeekMessage(&message)) {
            os::DispatchMessage(message);
        }
    }
    void Frame() {
        Pump();
        m_keyboard->Update();
        m_mouse->Update();
    }
    // Key A and the left button, as the keyboard and the mouse see them.
    Bytes5 Seen() const {
        const int a = Input::kKeyLetterA;
        return {std::uint8_t(m_keyboard->IsPressed(a)), std::uint8_t(m_keyboard->IsTriggered(a)),
                std::uint8_t(m_keyboard->IsUp(a)), std::uint8_t(m_mouse->IsTriggered(0)),
                std::uint8_t(m_mouse->IsUp(0))};
    }

    PAL::Window m_window{320, 200};
    Core::RefPtr<Input::KeyboardImp> m_keyboard = Input::KeyboardImp::CreateInstance();
    Core::RefPtr<Input::MouseImp> m_mouse = Input::MouseImp::CreateInstance();
};

// A key or click pressed and released within one pump is down at the next
// poll and up at the one after; pumps that come before a poll keep it.
TEST_F(Taps, PressAndReleaseWithinOnePumpIsSeenOnce) {
    Tap(os::VK_A);
    Tap(os::VK_LBUTTON);
    Pump();
    Frame();
    EXPECT_EQ(Seen(), (Bytes5{1, 1, 0, 1, 0}));
    Frame();
    EXPECT_EQ(Seen(), (Bytes5{0, 0, 1, 0, 1}));
    Frame();
    EXPECT_EQ(Seen(), (Bytes5{0, 0, 0, 0, 0}));

    // A press a poll has seen is not latched: its release counts at once.
    os::headless::InjectKeyEvent(os::VK_A, true);
    Frame();
    os::headless::InjectKeyEvent(os::VK_A, false);
    Frame();
    EXPECT_EQ(Seen(), (Bytes5{0, 0, 1, 0, 0}));
}

}  // namespace
