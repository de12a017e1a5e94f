#include "input/Input_KeyboardImp.h"

#include "input/Input_Bytes.h"
#include "input/Input_KeyTable.h"
#include "os/OS_Keyboard.h"

#include <gtest/gtest.h>

namespace {

using Input::KeyboardImp;

class LocalKeyboard : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetKeys();
        m_keyboard = KeyboardImp::CreateInstance();
        // Nothing held: the first poll ends the wait of a new keyboard.
        m_keyboard->Update();
    }

    void TearDown() override { os::headless::ResetKeys(); }

    static void Hold(os::VirtualKey key, bool down) { os::headless::SetKey(key, down); }

    // Holds the key and polls once, so the keyboard sees it.
    void HoldAndPoll(os::VirtualKey key) {
        Hold(key, true);
        m_keyboard->Update();
    }

    struct Events {
        bool any = false;
        std::vector<std::uint8_t> codes;
        std::vector<std::uint8_t> states;
    };

    Events GetEvents() const {
        Events events;
        events.any = m_keyboard->GetEvents(events.codes, events.states);
        return events;
    }

    Core::RefPtr<KeyboardImp> m_keyboard;
};

constexpr int kA = Input::kKeyLetterA;

TEST_F(LocalKeyboard, CreationHandsOutOneReferenceAndTheProcessWideKeyboard) {
    EXPECT_EQ(m_keyboard->GetReferenceCount(), 1u);
    EXPECT_EQ(KeyboardImp::GetInstance(), m_keyboard.Get());
    Core::RefPtr<KeyboardImp> remote = KeyboardImp::CreateRemote();
    EXPECT_EQ(remote->GetReferenceCount(), 1u);
    EXPECT_TRUE(remote->IsRemote());
    EXPECT_EQ(KeyboardImp::GetInstance(), m_keyboard.Get());
    EXPECT_EQ(m_keyboard->GetUserValue(), 22);
    m_keyboard = nullptr;
    EXPECT_EQ(KeyboardImp::GetInstance(), nullptr);
}

TEST_F(LocalKeyboard, HeldKeyTriggersOnceIsListedWhileHeldAndGoesUpOnce) {
    Hold(os::VK_A, true);
    for (int poll = 0; poll < 3; ++poll) {
        SCOPED_TRACE(poll);
        m_keyboard->Update();
        EXPECT_TRUE(m_keyboard->IsPressed(kA));
        EXPECT_EQ(m_keyboard->IsTriggered(kA), poll == 0);
        EXPECT_EQ(m_keyboard->IsDown(kA), poll == 0);
        const Events events = GetEvents();
        ASSERT_EQ(events.codes, std::vector<std::uint8_t>{os::VK_A});
        const std::vector<std::uint8_t> state = {1, poll == 0, 1, poll == 0, 0};
        EXPECT_EQ(events.states, state);
    }
    Hold(os::VK_A, false);
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsUp(kA));
    EXPECT_FALSE(m_keyboard->IsPressed(kA));
    Events events = GetEvents();
    EXPECT_EQ(events.codes, std::vector<std::uint8_t>{os::VK_A});
    EXPECT_EQ(events.states, (std::vector<std::uint8_t>{0, 0, 0, 0, 1}));


    // Pressed again right after its release: down, not up.
    HoldAndPoll(os::VK_A);
    EXPECT_TRUE(m_keyboard->IsTriggered(kA));
    EXPECT_FALSE(m_keyboard->IsUp(kA));
    Hold(os::VK_A, false);
    m_keyboard->Update();
    m_keyboard->Update();
    EXPECT_FALSE(m_keyboard->IsUp(kA));
    events = GetEvents();
    EXPECT_FALSE(events.any);
    EXPECT_TRUE(events.codes.empty());
}

TEST_F(LocalKeyboard, KeyHeldSinceCreationCountsAfterAtMost120Polls) {
    m_keyboard = nullptr;
    Hold(os::VK_A, true);
    m_keyboard = KeyboardImp::CreateInstance();
    for (std::uint32_t poll = 0; poll < KeyboardImp::kMaxWaitPolls; ++poll) {
        m_keyboard->Update();
        ASSERT_FALSE(m_keyboard->IsPressed(kA)) << poll;
        ASSERT_FALSE(GetEvents().any);
    }
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(kA));
}

// After Reset, keys count again once nothing is held (a held mouse button
// counts as held), or at once on EndWaitForRelease.
TEST_F(LocalKeyboard, WaitForReleaseEndsWhenNothingIsHeldOrOnRequest) {
    m_keyboard->Reset();
    Hold(os::VK_LBUTTON, true);
    Hold(os::VK_A, true);
    for (int poll = 0; poll < 10; ++poll) {
        m_keyboard->Update();
    }
    EXPECT_FALSE(m_keyboard->IsPressed(kA));
    Hold(os::VK_LBUTTON, false);
    Hold(os::VK_A, false);
    m_keyboard->Update();
    HoldAndPoll(os::VK_A);
    EXPECT_TRUE(m_keyboard->IsTriggered(kA));

    m_keyboard->Reset();
    HoldAndPoll(os::VK_SPACE);
    EXPECT_FALSE(m_keyboard->IsPressed(Input::kKeySpace));
    m_keyboard->EndWaitForRelease();
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsTriggered(Input::kKeySpace));
}

// Mouse buttons are keys (ids 0, 1, 3), but GetPressed, GetTriggered and
// AnyKey skip codes 0-5; the second extra button (code 6) counts.
TEST_F(LocalKeyboard, GetPressedAndAnyKeySkipMouseButtons) {
    for (os::VirtualKey button = 1; button <= 5; ++button) {
        Hold(button, true);
    }
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsPressed(0) && m_keyboard->IsPressed(1) && m_keyboard->IsPressed(3));
    int id = -1;
    EXPECT_FALSE(m_keyboard->GetPressed(&id));
    EXPECT_FALSE(m_keyboard->GetTriggered(&id));
    EXPECT_EQ(id, -1);
    EXPECT_FALSE(m_keyboard->AnyKey());
    HoldAndPoll(os::VK_XBUTTON2);
    EXPECT_TRUE(m_keyboard->AnyKey());

    // The lowest key id wins.
    Hold(os::VK_XBUTTON2, false);
    Hold(os::VK_SPACE, true);
    HoldAndPoll(os::VK_A);
    ASSERT_TRUE(m_keyboard->GetPressed(&id));
    EXPECT_EQ(id, Input::kKeySpace);
    ASSERT_TRUE(m_keyboard->GetTriggered(&id));
    EXPECT_EQ(id, Input::kKeySpace);
    m_keyboard->Update();
    EXPECT_FALSE(m_keyboard->GetTriggered(&id));
    EXPECT_TRUE(m_keyboard->GetPressed(nullptr));
}

TEST_F(LocalKeyboard, KeyIdsOutsideTheTableAnswerFalse) {
    for (int code = 0; code < 255; ++code) {
        Hold(static_cast<os::VirtualKey>(code), true);
    }
    m_keyboard->EndWaitForRelease();
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->IsPressed(195));
    for (int id : {-1, 196, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(m_keyboard->IsPressed(id));
        EXPECT_FALSE(m_keyboard->IsTriggered(id));
        EXPECT_FALSE(m_keyboard->IsDown(id));
        EXPECT_FALSE(m_keyboard->IsUp(id));
        EXPECT_EQ(m_keyboard->GetKeyAsChar(id), 0);
    }
    // Keys of the table without a character.
    for (int id : {0, 6, 8, 22, 32, 99, 131, 166, 195}) {
        EXPECT_EQ(m_keyboard->GetKeyAsChar(id), 0) << id;
    }
}

TEST_F(LocalKeyboard, GetKeyAsCharFollowsShiftCapsLockAndNumLock) {
    const auto set = [&](os::VirtualKey shift, bool capsLock, bool numLock) {
        Hold(os::VK_LSHIFT, shift == os::VK_LSHIFT);
        Hold(os::VK_RSHIFT, shift == os::VK_RSHIFT);
        os::headless::SetToggle(os::VK_CAPITAL, capsLock);
        os::headless::SetToggle(os::VK_NUMLOCK, numLock);
        m_keyboard->Update();
    };
    // Letters follow Caps Lock, inverted by either Shift.
    const struct {
        os::VirtualKey shift;
        bool capsLock;
        const char* letters;
    } letters[] = {{0, false, "acz"}, {0, true, "ACZ"}, {os::VK_LSHIFT, true, "acz"}, {os::VK_RSHIFT, false, "ACZ"}};
    for (const auto& c : letters) {
        set(c.shift, c.capsLock, false);
        EXPECT_EQ(m_keyboard->GetKeyAsChar(kA), c.letters[0]);
        EXPECT_EQ(m_keyboard->GetKeyAsChar(kA + 2), c.letters[1]);
        EXPECT_EQ(m_keyboard->GetKeyAsChar(kA + 25), c.letters[2]);
    }
    // Digits and the US punctuation follow Shift alone (Caps Lock is on).
    const char* const rows[2][2] = {{"0123456789", ";=,-./`[\\]'"}, {")!@#$%^&*(", ":+<_>?~{|}\""}};
    for (int shift = 0; shift < 2; ++shift) {
        set(shift != 0 ? os::VK_LSHIFT : 0, true, false);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(m_keyboard->GetKeyAsChar(Input::kKeyDigit0 + i), rows[shift][0][i]) << shift;
        }
        for (int i = 0; i < 11; ++i) {
            EXPECT_EQ(m_keyboard->GetKeyAsChar(Input::kKeyFirstPunctuation + i), rows[shift][1][i]) << shift;
        }
        EXPECT_EQ(m_keyboard->GetKeyAsChar(Input::kKeyTab), '\t');
        EXPECT_EQ(m_keyboard->GetKeyAsChar(Input::kKeyReturn), '\n');
        EXPECT_EQ(m_keyboard->GetKeyAsChar(Input::kKeySpace), ' ');
    }
    // Keypad digits and the decimal point need Num Lock; the separator (95) types nothing.
    const struct {
        int id;
        char off;
        char on;
    } keypad[] = {{Input::kKeyNumpad0 + 7, 0, '7'}, {Input::kKeyDecimal, 0, '.'},    {Input::kKeyMultiply, '*', '*'},
                  {Input::kKeyAdd, '+', '+'},     {Input::kKeySubtract, '-', '-'}, {Input::kKeyDivide, '/', '/'},
                  {95, 0, 0}};
    for (const bool numLock : {false, true}) {
        set(0, false, numLock);
        for (const auto& key : keypad) {
            EXPECT_EQ(m_keyboard->GetKeyAsChar(key.id), numLock ? key.on : key.off) << key.id;
        }
    }
}

TEST_F(LocalKeyboard, SnapshotListsKeysInCodeOrderWithZeroPads) {
    Hold(os::VK_A, true);
    HoldAndPoll(os::VK_LSHIFT);
    const std::span<const std::uint8_t> snapshot = m_keyboard->WriteSnapshot();
    // Shift (0x10), A (0x41), left Shift (0xA0).
    ASSERT_EQ(snapshot.size(), 3 * Input::kKeySnapshotRecordBytes);
    const std::uint32_t codes[] = {0x10, 0x41, 0xA0};
    for (std::size_t record = 0; record < 3; ++record) {
        const std::uint8_t* bytes = &snapshot[record * Input::kKeySnapshotRecordBytes];
        const std::vector<std::uint8_t> states(bytes, bytes + 8);
        EXPECT_EQ(states, (std::vector<std::uint8_t>{1, 1, 1, 1, 0, 0, 0, 0}));
        EXPECT_EQ(Input::LoadU32(bytes + 8), codes[record]);
    }
    os::headless::ResetKeys();
    m_keyboard->Update();
    m_keyboard->Update();
    EXPECT_TRUE(m_keyboard->WriteSnapshot().empty());
}

TEST_F(LocalKeyboard, RemoteKeyboardTakesSnapshotsAndRefusesBadCodes) {
    HoldAndPoll(os::VK_A);
    const std::span<const std::uint8_t> written = m_keyboard->WriteSnapshot();
    std::vector<std::uint8_t> snapshot(written.begin(), written.end());

    Core::RefPtr<KeyboardImp> remote = KeyboardImp::CreateRemote();
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsTriggered(kA));
    EXPECT_TRUE(remote->WriteSnapshot().empty());

    // Too short for one record: the keyboard is reset, nothing set.
    remote->ReadSnapshot(std::span(snapshot).first(11));
    EXPECT_FALSE(remote->IsPressed(kA));

    // A record naming code 300 is dropped; the others count.
    snapshot.resize(2 * Input::kKeySnapshotRecordBytes);
    std::copy_n(snapshot.begin(), Input::kKeySnapshotRecordBytes, snapshot.begin() + Input::kKeySnapshotRecordBytes);
    Input::StoreU32(&snapshot[8], 300);
    remote->ReadSnapshot(snapshot);
    EXPECT_TRUE(remote->IsPressed(kA));

    // A remote keyboard is never polled; a local one ignores snapshots.
    Hold(os::VK_A, false);
    remote->Update();
    EXPECT_TRUE(remote->IsPressed(kA));
    m_keyboard->ReadSnapshot({});
    EXPECT_TRUE(m_keyboard->IsPressed(kA));
}

TEST_F(LocalKeyboard, AppliedEventsReplaceEveryKey) {
    HoldAndPoll(os::VK_SPACE);
    const std::uint8_t codes[] = {os::VK_A, 0xFF};
    const std::uint8_t states[] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    ASSERT_TRUE(m_keyboard->ApplyEvents(codes, states));
    EXPECT_FALSE(m_keyboard->IsPressed(Input::kKeySpace));
    EXPECT_TRUE(m_keyboard->IsPressed(kA));
    EXPECT_FALSE(m_keyboard->IsTriggered(kA));

    // Lists of different lengths are refused and change nothing.
    EXPECT_FALSE(m_keyboard->ApplyEvents(codes, std::span(states).first(5)));
    EXPECT_TRUE(m_keyboard->IsPressed(kA));
    EXPECT_TRUE(m_keyboard->ApplyEvents({}, {}));
    EXPECT_FALSE(m_keyboard->IsPressed(kA));
}

}  // namespace
