#include "input/Input_Bytes.h"
#include "input/Input_KeyTable.h"
#include "input/Input_KeyboardImp.h"
#include "os/OS_HeadlessInput.h"

#include <gtest/gtest.h>

namespace {

using Input::KeyboardImp;
using Codes = std::vector<std::uint8_t>;
constexpr int kA = Input::kKeyLetterA;

class LocalKeyboard : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetKeys();
        m_keyboard->Update();  // nothing held: the wait of a new keyboard ends
    }
    void TearDown() override { os::headless::ResetKeys(); }

    void HoldAndPoll(std::initializer_list<os::VirtualKey> keys, bool down = true) {
        for (os::VirtualKey key : keys) {
            os::headless::SetKey(key, down);
        }
        m_keyboard->Update();
    }
    std::pair<Codes, Codes> Events() const {
        std::pair<Codes, Codes> events;
        const bool any = m_keyboard->GetEvents(events.first, events.second);
        EXPECT_EQ(any, !events.first.empty());
        return events;
    }

    Core::RefPtr<KeyboardImp> m_keyboard = KeyboardImp::CreateInstance();
};

// Held keys are listed at every poll, a released one at its release only.
TEST_F(LocalKeyboard, PollsListHeldAndReleasedKeysInCodeOrder) {
    HoldAndPoll({os::VK_LSHIFT, os::VK_A});
    EXPECT_EQ(Events(), std::pair(Codes{0x10, 0x41, 0xA0}, Codes{1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
    EXPECT_TRUE(m_keyboard->IsTriggered(kA) && m_keyboard->IsDown(kA) && !m_keyboard->IsUp(kA));
    HoldAndPoll({os::VK_LSHIFT, os::VK_RSHIFT}, false);
    EXPECT_EQ(Events(), std::pair(Codes{0x10, 0x41, 0xA0}, Codes{0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_TRUE(m_keyboard->IsPressed(kA) && !m_keyboard->IsDown(kA));
    EXPECT_TRUE(m_keyboard->IsUp(Input::kKeyLeftShift));
    HoldAndPoll({os::VK_A}, false);
    HoldAndPoll({});
    EXPECT_EQ(Events(), std::pair(Codes{}, Codes{}));
}

// After creation or Reset, polls count once nothing (mouse buttons
// included) is held, after 120 ignored polls, or on EndWaitForRelease.
TEST_F(LocalKeyboard, WaitForReleaseEndsWhenNothingIsHeldAfter120PollsOrOnRequest) {
    HoldAndPoll({os::VK_A});
    m_keyboard->Reset();
    HoldAndPoll({os::VK_LBUTTON});
    for (std::uint32_t poll = 1; poll < KeyboardImp::kMaxWaitPolls; ++poll) {
        m_keyboard->Update();
    }
    EXPECT_FALSE(m_keyboard->IsPressed(kA));
    EXPECT_EQ(Events().first, Codes{0x41});  // the events of the last poll that counted
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(kA));

    m_keyboard->Reset();
    HoldAndPoll({os::VK_A, os::VK_LBUTTON}, false);
    HoldAndPoll({os::VK_SPACE});
    EXPECT_TRUE(m_keyboard->IsTriggered(Input::kKeySpace));
    m_keyboard->Reset();
    m_keyboard->Update();
    EXPECT_FALSE(m_keyboard->IsPressed(Input::kKeySpace));
    m_keyboard->EndWaitForRelease();
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(Input::kKeySpace));
}

// Codes 0-5 (mouse buttons) are keys, but the searches skip them; the
// lowest key id wins; ids outside the table answer false.
TEST_F(LocalKeyboard, SearchesSkipMouseButtonsAndBadIdsAnswerFalse) {
    HoldAndPoll({1, 2, 3, 4, 5});
    int id = -1;
    EXPECT_TRUE(m_keyboard->IsPressed(0) && m_keyboard->IsPressed(3));
    EXPECT_FALSE(m_keyboard->GetPressed(&id) || m_keyboard->GetTriggered(&id) || m_keyboard->AnyKey());
    EXPECT_EQ(id, -1);
    HoldAndPoll({os::VK_XBUTTON2});
    EXPECT_TRUE(m_keyboard->AnyKey());
    HoldAndPoll({os::VK_A, os::VK_SPACE});
    ASSERT_TRUE(m_keyboard->GetTriggered(&id));
    EXPECT_EQ(id, Input::kKeySpace);
    m_keyboard->Update();
    EXPECT_FALSE(m_keyboard->GetTriggered(&id));
    EXPECT_TRUE(m_keyboard->GetPressed(nullptr));
    for (int bad : {-1, 196, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(m_keyboard->IsPressed(bad) || m_keyboard->IsTriggered(bad) || m_keyboard->IsDown(bad));
        EXPECT_EQ(m_keyboard->GetKeyAsChar(bad), 0);
    }
}

TEST_F(LocalKeyboard, GetKeyAsCharFollowsShiftCapsLockAndNumLock) {
    // Ids: letters a c z, digits 0 2 9, ; ' ` and the keypad 7 . * /, tab, return, space, escape.
    const int ids[] = {kA, kA + 2, kA + 25, 43, 45, 52, 155, 165, 161, 90, 97, 93, 98, 7, 9, 27, 22};
    const struct {
        os::VirtualKey shift;
        bool capsLock, numLock;
        const char* typed;
    } cases[] = {{0, false, false, "acz029;'`\0\0*/\t\n \0"},
                 {0, true, true, "ACZ029;'`7.*/\t\n \0"},
                 {os::VK_LSHIFT, true, false, "acz)@(:\"~\0\0*/\t\n \0"},
                 {os::VK_RSHIFT, false, true, "ACZ)@(:\"~7.*/\t\n \0"}};
    for (const auto& c : cases) {
        os::headless::SetToggle(os::VK_CAPITAL, c.capsLock);
        os::headless::SetToggle(os::VK_NUMLOCK, c.numLock);
        os::headless::SetKey(os::VK_LSHIFT, c.shift == os::VK_LSHIFT);
        os::headless::SetKey(os::VK_RSHIFT, c.shift == os::VK_RSHIFT);
        m_keyboard->Update();
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            EXPECT_EQ(m_keyboard->GetKeyAsChar(ids[i]), c.typed[i]) << c.typed << " id " << ids[i];
        }
    }
}

TEST_F(LocalKeyboard, SnapshotsAndEventsCarryKeysToARemoteKeyboard) {
    HoldAndPoll({os::VK_A});
    const std::span<const std::uint8_t> written = m_keyboard->WriteSnapshot();
    std::vector<std::uint8_t> snapshot(written.begin(), written.end());
    EXPECT_EQ(snapshot, (Codes{1, 1, 1, 1, 0, 0, 0, 0, 0x41, 0, 0, 0}));

    Core::RefPtr<KeyboardImp> remote = KeyboardImp::CreateRemote();
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsTriggered(kA));
    EXPECT_TRUE(remote->WriteSnapshot().empty());
    remote->ReadSnapshot(std::span(snapshot).first(11));  // resets, sets nothing
    EXPECT_FALSE(remote->IsPressed(kA));
    // A record naming a code past 255 is dropped; the others count.
    snapshot.insert(snapshot.end(), written.begin(), written.end());
    Input::StoreU32(&snapshot[8], 300);
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsPressed(kA));
    HoldAndPoll({os::VK_A}, false);
    remote->Update();  // never polled
    EXPECT_TRUE(remote->IsPressed(kA));
    m_keyboard->ReadSnapshot(snapshot);  // a local keyboard ignores snapshots
    EXPECT_FALSE(m_keyboard->IsPressed(kA));

    const std::uint8_t codes[] = {os::VK_SPACE, 0xFF};
    const std::uint8_t states[] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    ASSERT_TRUE(remote->ApplyEvents(codes, states));
    EXPECT_TRUE(remote->IsPressed(Input::kKeySpace) && !remote->IsPressed(kA));
    EXPECT_FALSE(remote->ApplyEvents(codes, std::span(states).first(5)));  // lengths disagree
    EXPECT_TRUE(remote->IsPressed(Input::kKeySpace));
    m_keyboard->ApplyEvents({}, {});
    EXPECT_TRUE(m_keyboard->WriteSnapshot().empty());
}

}  // namespace
