#include "input/Input_MouseImp.h"

#include "input/Input_Bytes.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Keyboard.h"
#include "os/OS_Message.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Input::MouseImp;

class LocalMouse : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetWindowSystem();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        m_window = std::make_unique<PAL::Window>(800, 600);
        m_mouse = MouseImp::CreateInstance();
        m_mouse->SetWindow(m_window->GetHandle());
        Settle();
    }

    void TearDown() override {
        m_mouse = nullptr;
        m_window.reset();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
    }

    // Ends the wait after a creation or Reset: with no button held, at most
    // one poll is held back (while the cursor is seen to stand still).
    void Settle() {
        m_mouse->Update();
        m_mouse->Update();
    }

    void MoveToClient(std::int32_t x, std::int32_t y) {
        os::Point point{x, y};
        os::ClientToScreen(m_window->GetHandle(), &point);
        os::SetCursorPos(point.x, point.y);
    }

    static void Hold(os::VirtualKey button, bool down) { os::headless::SetKey(button, down); }

    struct Events {
        bool any = false;
        Input::MouseMovementRecord movement{};
        std::vector<std::uint8_t> buttons;
        std::vector<std::uint8_t> states;
    };

    static std::pair<std::int32_t, std::int32_t> PositionOf(const MouseImp& mouse) {
        return {mouse.GetPositionX(), mouse.GetPositionY()};
    }

    Events GetEvents() const {
        Events events;
        events.any = m_mouse->GetEvents(events.movement, events.buttons, events.states);
        return events;
    }

    std::unique_ptr<PAL::Window> m_window;
    Core::RefPtr<MouseImp> m_mouse;
};

TEST_F(LocalMouse, CreationHandsOutOneReferenceAndTheProcessWideMouse) {
    EXPECT_EQ(m_mouse->GetReferenceCount(), 1u);
    EXPECT_EQ(MouseImp::GetInstance(), m_mouse.Get());
    EXPECT_FALSE(m_mouse->IsRemote());
    Core::RefPtr<MouseImp> remote = MouseImp::CreateRemote();
    EXPECT_EQ(remote->GetReferenceCount(), 1u);
    EXPECT_TRUE(remote->IsRemote());
    EXPECT_EQ(MouseImp::GetInstance(), m_mouse.Get());
    m_mouse = nullptr;
    EXPECT_EQ(MouseImp::GetInstance(), nullptr);
}

TEST_F(LocalMouse, HeldButtonTriggersOnceAndGoesUpOnce) {
    Hold(os::VK_LBUTTON, true);
    for (int poll = 0; poll < 3; ++poll) {
        SCOPED_TRACE(poll);
        m_mouse->Update();
        EXPECT_TRUE(m_mouse->IsPressed(0));
        EXPECT_EQ(m_mouse->IsTriggered(0), poll == 0);
        EXPECT_EQ(m_mouse->IsDown(0), poll == 0);
        EXPECT_FALSE(m_mouse->IsUp(0));
        EXPECT_TRUE(GetEvents().any);
    }
    Hold(os::VK_LBUTTON, false);
    m_mouse->Update();
    EXPECT_FALSE(m_mouse->IsPressed(0));
    EXPECT_TRUE(m_mouse->IsUp(0));
    Events events = GetEvents();
    EXPECT_TRUE(events.any);
    ASSERT_FALSE(events.buttons.empty());
    EXPECT_EQ(events.buttons[0], 0);
    EXPECT_EQ(events.states[4], 1);  // up

    // Pressed again right after its release: down, not up.
    Hold(os::VK_LBUTTON, true);
    m_mouse->Update();
    EXPECT_TRUE(m_mouse->IsTriggered(0));
    EXPECT_FALSE(m_mouse->IsUp(0));
    Hold(os::VK_LBUTTON, false);
    m_mouse->Update();
    m_mouse->Update();
    EXPECT_FALSE(m_mouse->IsUp(0));
    events = GetEvents();
    EXPECT_FALSE(events.any);
    EXPECT_TRUE(events.buttons.empty());
    EXPECT_TRUE(events.states.empty());
}

TEST_F(LocalMouse, EveryButtonAfterAListedOneIsListed) {
    const struct {
        bool left, middle, right;
        std::vector<std::uint8_t> listed;
    } cases[] = {
        {true, false, true, {0, 1, 2}},
        {false, false, true, {2}},
        {false, true, false, {1, 2}},
    };
    for (const auto& c : cases) {
        Hold(os::VK_LBUTTON, c.left);
        Hold(os::VK_MBUTTON, c.middle);
        Hold(os::VK_RBUTTON, c.right);
        m_mouse->Update();
        const Events events = GetEvents();
        EXPECT_EQ(events.buttons, c.listed);
        EXPECT_EQ(events.states.size(), c.listed.size() * Input::kKeyStateBytes);
        // Release everything and let the releases pass before the next case.
        Hold(os::VK_LBUTTON, false);
        Hold(os::VK_MBUTTON, false);
        Hold(os::VK_RBUTTON, false);
        m_mouse->Update();
        m_mouse->Update();
        EXPECT_TRUE(GetEvents().buttons.empty());
    }
}

TEST_F(LocalMouse, ButtonsOutsideTheThreeAnswerFalse) {
    Hold(os::VK_LBUTTON, true);
    Hold(os::VK_MBUTTON, true);
    Hold(os::VK_RBUTTON, true);
    m_mouse->Update();
    EXPECT_TRUE(m_mouse->IsPressed(2));
    for (int button : {3, 7, -1, 1000, INT32_MIN}) {
        EXPECT_FALSE(m_mouse->IsPressed(button));
        EXPECT_FALSE(m_mouse->IsTriggered(button));
        EXPECT_FALSE(m_mouse->IsDown(button));
        EXPECT_FALSE(m_mouse->IsUp(button));
    }
}

TEST_F(LocalMouse, PositionCountsFromTheBottomLeftAndStaysInTheWindow) {
    const struct {
        os::Point client;
        std::int32_t x, y;
        bool inside;
    } cases[] = {
        {{10, 0}, 10, 599, true},   {{-5, 700}, 0, 0, false},  {{900, -20}, 799, 599, false},
        {{799, 599}, 799, 0, true}, {{800, 600}, 799, 0, false},
    };
    for (const auto& c : cases) {
        MoveToClient(c.client.x, c.client.y);
        m_mouse->Update();
        std::pair<std::int32_t, std::int32_t> xy{-1, -1};
        m_mouse->GetPositionXY(&xy.first, &xy.second);
        EXPECT_EQ(xy, std::pair(c.x, c.y)) << c.client.x << "," << c.client.y;
        EXPECT_EQ(PositionOf(*m_mouse), xy);
        EXPECT_EQ(m_mouse->GetPosition().x, static_cast<float>(c.x));
        EXPECT_EQ(m_mouse->IsInWindow(), c.inside);
    }
}

// Positions count from the bottom-left pixel, both ways; a minimised (0 x 0)
// or missing window gives the origin, and the cursor stays where it was.
TEST_F(LocalMouse, SetPositionPutsTheCursorOnTheBottomLeftPixel) {
    m_mouse->SetPosition(0, 0);
    os::Point cursor;
    ASSERT_TRUE(os::GetCursorPos(&cursor));
    ASSERT_TRUE(os::ScreenToClient(m_window->GetHandle(), &cursor));
    EXPECT_EQ(cursor, (os::Point{0, 599}));
    EXPECT_EQ(PositionOf(*m_mouse), std::pair(0, 0));
    m_mouse->SetPosition(5, INT32_MIN);
    EXPECT_EQ(m_mouse->GetPositionY(), 0);

    MoveToClient(10, 10);
    m_mouse->Update();
    os::headless::InjectWindowEvent(m_window->GetHandle(), os::WindowEvent::Minimized);
    EXPECT_EQ(PositionOf(*m_mouse), std::pair(0, 0));
    EXPECT_FALSE(m_mouse->IsInWindow());
    m_mouse->SetWindow(os::kNoWindow);
    EXPECT_EQ(PositionOf(*m_mouse), std::pair(0, 0));
    EXPECT_FALSE(m_mouse->IsInWindow());
    m_mouse->SetPosition(5, 5);
    os::GetCursorPos(&cursor);
    os::Point expected{10, 10};
    os::ClientToScreen(m_window->GetHandle(), &expected);
    EXPECT_EQ(cursor, expected);
}

TEST_F(LocalMouse, AfterResetHeldButtonsAreIgnoredUntilReleased) {
    Hold(os::VK_LBUTTON, true);
    m_mouse->Update();
    m_mouse->Reset();
    EXPECT_FALSE(m_mouse->IsPressed(0));
    for (int poll = 0; poll < 5; ++poll) {
        m_mouse->Update();
        EXPECT_FALSE(m_mouse->IsPressed(0));
        EXPECT_FALSE(m_mouse->IsTriggered(0));
    }
    Hold(os::VK_LBUTTON, false);
    Settle();
    EXPECT_FALSE(m_mouse->IsUp(0));
    Hold(os::VK_LBUTTON, true);
    m_mouse->Update();
    EXPECT_TRUE(m_mouse->IsTriggered(0));
}

// 15 button bytes (5 per button), pad, x, y, in window, moved, visible, pad.
TEST_F(LocalMouse, SnapshotHasItsFieldsAtFixedOffsetsAndARemoteMouseAnswersFromIt) {
    MoveToClient(123, 500);
    Hold(os::VK_RBUTTON, true);
    m_mouse->Update();
    m_mouse->ShowCursor(false);
    const std::span<const std::uint8_t> written = m_mouse->WriteSnapshot();
    const std::vector<std::uint8_t> snapshot(written.begin(), written.end());
    const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0,
                                                123, 0, 0, 0, 99, 0, 0, 0, 1, 1, 0, 0};
    EXPECT_EQ(snapshot, expected);

    Core::RefPtr<MouseImp> remote = MouseImp::CreateRemote();
    remote->ReadSnapshot(std::span(snapshot).first(27));
    EXPECT_FALSE(remote->IsPressed(2));
    EXPECT_EQ(remote->GetPositionX(), 0);
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsPressed(2));
    EXPECT_TRUE(remote->IsTriggered(2));
    EXPECT_EQ(PositionOf(*remote), std::pair(123, 99));
    EXPECT_TRUE(remote->IsInWindow());
    EXPECT_TRUE(remote->IsMoved());
    EXPECT_FALSE(remote->IsCursorVisible());
    EXPECT_TRUE(remote->WriteSnapshot().empty());

    // A remote mouse is never polled nor tied to a window.
    Hold(os::VK_RBUTTON, false);
    remote->Update();
    EXPECT_TRUE(remote->IsPressed(2));
    remote->SetWindow(m_window->GetHandle());
    EXPECT_EQ(remote->GetWindow(), os::kNoWindow);

    // A local mouse ignores snapshots.
    m_mouse->ReadSnapshot(Input::MouseSnapshot{});
    EXPECT_TRUE(m_mouse->IsPressed(2));
}

TEST_F(LocalMouse, MovementRecordIsLittleEndianWithZeroPad) {
    os::SetCursorPos(-2, 0x01020304);
    m_mouse->Update();
    const Events events = GetEvents();
    // Screen x and y, moved, 3 pad bytes, then the screen position again.
    const Input::MouseMovementRecord expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 1, 0,
                                                 0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(events.movement, expected);
    // Only the cursor moved: the events say so without buttons.
    EXPECT_TRUE(events.any);
    EXPECT_TRUE(events.buttons.empty());
}

TEST_F(LocalMouse, AppliedEventsMoveAgainstThePreviousPositionAndSkipUnknownButtons) {
    Core::RefPtr<MouseImp> remote = MouseImp::CreateRemote();
    Input::MouseMovementRecord movement{};
    Input::StoreI32(&movement[12], 40);
    Input::StoreI32(&movement[16], 50);
    const std::uint8_t buttons[] = {5, 2};
    const std::uint8_t states[] = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(remote->ApplyEvents(movement, buttons, states), 2u);
    EXPECT_TRUE(remote->IsMoved());
    EXPECT_TRUE(remote->IsPressed(2));
    EXPECT_FALSE(remote->IsTriggered(2));
    EXPECT_FALSE(remote->IsPressed(0));

    // Same position again: not moved; unlisted buttons are released.
    EXPECT_EQ(remote->ApplyEvents(movement, {}, {}), 0u);
    EXPECT_FALSE(remote->IsMoved());
    EXPECT_FALSE(remote->IsPressed(2));

    // Lists of different lengths are refused whole.
    remote->ApplyEvents(movement, std::span(buttons).last(1), std::span(states).last(5));
    EXPECT_EQ(remote->ApplyEvents(movement, buttons, std::span(states).first(9)), 0u);
    EXPECT_TRUE(remote->IsPressed(2));
}

TEST_F(LocalMouse, HiddenCursorIsNotVisibleAndShowingItTakesBoundedSteps) {
    EXPECT_TRUE(m_mouse->IsCursorVisible());
    m_mouse->ShowCursor(false);
    EXPECT_FALSE(m_mouse->IsCursorVisible());
    m_mouse->ShowCursor(true);
    EXPECT_TRUE(m_mouse->IsCursorVisible());

    // Hidden 100 times by other code: one show gives up after 64 steps.
    for (int i = 0; i < 100; ++i) {
        os::ShowCursor(false);
    }
    m_mouse->ShowCursor(true);
    EXPECT_FALSE(m_mouse->IsCursorVisible());
    EXPECT_EQ(os::ShowCursor(false), -100 + 64 - 1);
}

}  // namespace
