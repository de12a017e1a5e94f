#include "input/Input_Bytes.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_Message.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

namespace {

using Input::MouseImp;
using Bytes = std::vector<std::uint8_t>;
using XY = std::pair<std::int32_t, std::int32_t>;

class LocalMouse : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetWindowSystem();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        m_mouse->SetWindow(m_window.GetHandle());
        Settle();
    }
    void TearDown() override {
        os::headless::ResetKeys();
        os::headless::ResetCursor();
    }

    // With no button held, the wait after creation or Reset ends at the
    // second poll: the cursor must be seen to stand still.
    void Settle() {
        m_mouse->Update();
        m_mouse->Update();
    }
    void HoldAndPoll(bool left, bool middle, bool right) {
        os::headless::SetKey(os::VK_LBUTTON, left);
        os::headless::SetKey(os::VK_MBUTTON, middle);
        os::headless::SetKey(os::VK_RBUTTON, right);
        m_mouse->Update();
    }
    void MoveToClient(std::int32_t x, std::int32_t y) {
        os::Point point{x, y};
        os::ClientToScreen(m_window.GetHandle(), &point);
        os::SetCursorPos(point.x, point.y);
    }
    static XY PositionOf(const MouseImp& mouse) { return {mouse.GetPositionX(), mouse.GetPositionY()}; }

    PAL::Window m_window{800, 600};
    Core::RefPtr<MouseImp> m_mouse = MouseImp::CreateInstance();
};

// Once a button is listed every later button of the poll is listed too;
// numbers other than 0-2 answer false.
TEST_F(LocalMouse, PollsListButtonsFromTheFirstListedOne) {
    const struct {
        bool left, middle, right;
        Bytes listed;
    } cases[] = {{true, false, true, {0, 1, 2}}, {false, false, false, {0, 1, 2}}, {false, false, false, {}},
                 {false, true, false, {1, 2}},   {false, false, false, {1, 2}},    {false, false, true, {2}}};
    for (const auto& c : cases) {
        HoldAndPoll(c.left, c.middle, c.right);
        Input::MouseMovementRecord movement;
        Bytes buttons, states;
        EXPECT_EQ(m_mouse->GetEvents(movement, buttons, states), !c.listed.empty());
        EXPECT_EQ(buttons, c.listed);
        EXPECT_EQ(states.size(), c.listed.size() * Input::kKeyStateBytes);
    }
    EXPECT_TRUE(m_mouse->IsPressed(2) && m_mouse->IsTriggered(2) && m_mouse->IsDown(2) && !m_mouse->IsUp(2));
    HoldAndPoll(false, false, false);
    EXPECT_TRUE(m_mouse->IsUp(2) && !m_mouse->IsPressed(2));
    for (int bad : {3, -1, INT32_MIN}) {
        EXPECT_FALSE(m_mouse->IsUp(bad) || m_mouse->IsPressed(bad) || m_mouse->IsTriggered(bad));
    }
}

TEST_F(LocalMouse, PositionCountsFromTheBottomLeftAndStaysInTheWindow) {
    const struct {
        os::Point client;
        XY position;
        bool inside;
    } cases[] = {{{10, 0}, {10, 599}, true},      {{-5, 700}, {0, 0}, false}, {{900, -20}, {799, 599}, false},
                 {{799, 599}, {799, 0}, true},    {{800, 600}, {799, 0}, false}};
    for (const auto& c : cases) {
        MoveToClient(c.client.x, c.client.y);
        m_mouse->Update();
        XY xy{-1, -1};
        m_mouse->GetPositionXY(&xy.first, &xy.second);
        EXPECT_EQ(xy, c.position) << c.client.x << "," << c.client.y;
        EXPECT_EQ(PositionOf(*m_mouse), xy);
        EXPECT_EQ(m_mouse->GetPosition().y, static_cast<float>(c.position.second));
        EXPECT_EQ(m_mouse->IsInWindow(), c.inside);
    }
    m_mouse->SetPosition(0, 0);
    os::Point cursor;
    ASSERT_TRUE(os::GetCursorPos(&cursor) && os::ScreenToClient(m_window.GetHandle(), &cursor));
    EXPECT_EQ(cursor, (os::Point{0, 599}));
    EXPECT_EQ(PositionOf(*m_mouse), XY(0, 0));

    // A minimised (0 x 0) or missing window gives the origin, and the cursor stays.
    os::headless::InjectWindowEvent(m_window.GetHandle(), os::WindowEvent::Minimized);
    EXPECT_EQ(PositionOf(*m_mouse), XY(0, 0));
    EXPECT_FALSE(m_mouse->IsInWindow());
    os::Point before, after;
    os::GetCursorPos(&before);
    m_mouse->SetWindow(os::kNoWindow);
    m_mouse->SetPosition(5, 5);
    os::GetCursorPos(&after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(PositionOf(*m_mouse), XY(0, 0));
}

TEST_F(LocalMouse, AfterResetHeldButtonsAreIgnoredUntilReleased) {
    HoldAndPoll(true, false, false);
    m_mouse->Reset();
    for (int poll = 0; poll < 5; ++poll) {
        m_mouse->Update();
        EXPECT_FALSE(m_mouse->IsPressed(0));
    }
    HoldAndPoll(false, false, false);
    EXPECT_FALSE(m_mouse->IsUp(0));  // the press before the Reset is forgotten
    HoldAndPoll(true, false, false);
    EXPECT_TRUE(m_mouse->IsTriggered(0));
}

// 15 button bytes, pad, x, y, in window, moved, visible, pad.
TEST_F(LocalMouse, SnapshotAndMovementRecordHaveFixedLittleEndianFields) {
    MoveToClient(123, 500);
    HoldAndPoll(false, false, true);
    m_mouse->ShowCursor(false);
    const std::span<const std::uint8_t> written = m_mouse->WriteSnapshot();
    const Bytes snapshot(written.begin(), written.end());
    EXPECT_EQ(snapshot, (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 123, 0, 0, 0, 99, 0, 0, 0, 1, 1, 0, 0}));

    Core::RefPtr<MouseImp> remote = MouseImp::CreateRemote();
    remote->ReadSnapshot(std::span(snapshot).first(27));
    EXPECT_FALSE(remote->IsPressed(2));
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsTriggered(2) && remote->IsInWindow() && remote->IsMoved() && !remote->IsCursorVisible());
    EXPECT_EQ(PositionOf(*remote), XY(123, 99));
    EXPECT_TRUE(remote->WriteSnapshot().empty());
    remote->SetWindow(m_window.GetHandle());
    EXPECT_EQ(remote->GetWindow(), os::kNoWindow);
    m_mouse->ReadSnapshot(Input::MouseSnapshot{});  // ignored by a local mouse
    EXPECT_TRUE(m_mouse->IsPressed(2));

    os::SetCursorPos(-2, 0x01020304);
    HoldAndPoll(false, false, false);
    HoldAndPoll(false, false, false);
    Input::MouseMovementRecord movement;
    Bytes buttons, states;
    EXPECT_FALSE(m_mouse->GetEvents(movement, buttons, states));  // neither moved nor listed
    EXPECT_EQ(movement, (Input::MouseMovementRecord{0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0, 0, 0, 0, 0xFE, 0xFF,
                                                    0xFF, 0xFF, 4, 3, 2, 1}));
}

TEST_F(LocalMouse, AppliedEventsMoveAgainstThePreviousPositionAndSkipUnknownButtons) {
    Core::RefPtr<MouseImp> remote = MouseImp::CreateRemote();
    Input::MouseMovementRecord movement{};
    Input::StoreI32(&movement[12], 40);
    Input::StoreI32(&movement[16], 50);
    const std::uint8_t buttons[] = {5, 2};
    const std::uint8_t states[] = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(remote->ApplyEvents(movement, buttons, states), 2u);
    EXPECT_TRUE(remote->IsMoved() && remote->IsPressed(2) && !remote->IsTriggered(2) && !remote->IsPressed(0));
    EXPECT_EQ(remote->ApplyEvents(movement, {}, {}), 0u);
    EXPECT_FALSE(remote->IsMoved() || remote->IsPressed(2));
    remote->ApplyEvents(movement, std::span(buttons).last(1), std::span(states).last(5));
    EXPECT_EQ(remote->ApplyEvents(movement, buttons, std::span(states).first(9)), 0u);  // refused whole
    EXPECT_TRUE(remote->IsPressed(2));
}

TEST_F(LocalMouse, ShowingTheCursorTakesBoundedSteps) {
    m_mouse->ShowCursor(false);
    EXPECT_FALSE(m_mouse->IsCursorVisible());
    m_mouse->ShowCursor(true);
    EXPECT_TRUE(m_mouse->IsCursorVisible());
    for (int i = 0; i < 100; ++i) {
        os::ShowCursor(false);  // hidden 100 times by other code
    }
    m_mouse->ShowCursor(true);
    EXPECT_EQ(os::ShowCursor(false), -100 + 64 - 1);
}

}  // namespace
