#include "input/Input_KeyboardImp.h"

#include "input/Input_Bytes.h"
#include "input/Input_KeyTable.h"
#include "os/OS_KeyMap.h"
#include "os/OS_Keyboard.h"
#include "os/OS_VirtualKeys.h"

#include <algorithm>

namespace Input {

namespace {

KeyboardImp* g_keyboard = nullptr;

// One buffer for every keyboard's snapshot: a record per possible code.
std::array<std::uint8_t, 256 * kKeySnapshotRecordBytes> g_snapshot{};

constexpr std::size_t kRecordCode = 8;

// Codes 0-5 are the mouse buttons (and the cancel key): AnyKey skips them,
// and GetPressed and GetTriggered skip the ids that name them.
constexpr int kFirstKeyCode = 6;
constexpr int kFirstKeyId = 6;
// Code 255 is never polled.
constexpr int kPolledCodes = 255;

constexpr char kShiftedDigits[] = ")!@#$%^&*(";
constexpr char kPunctuation[] = ";=,-./`[\\]'";
constexpr char kShiftedPunctuation[] = ":+<_>?~{|}\"";

bool IsToggled(os::VirtualKey key) { return (os::GetKeyState(key) & 1) != 0; }

}  // namespace

KeyboardImp::KeyboardImp(bool remote) : m_remote(remote ? 1 : 0) {}

KeyboardImp::~KeyboardImp() {
    if (g_keyboard == this) {
        g_keyboard = nullptr;
    }
}

Core::RefPtr<KeyboardImp> KeyboardImp::CreateInstance() {
    Core::RefPtr<KeyboardImp> keyboard(TUN_NEW(KeyboardImp, false));
    g_keyboard = keyboard.Get();
    return keyboard;
}

Core::RefPtr<KeyboardImp> KeyboardImp::CreateRemote() {
    return Core::RefPtr<KeyboardImp>(TUN_NEW(KeyboardImp, true));
}

KeyboardImp* KeyboardImp::GetInstance() { return g_keyboard; }

// The system state is already current: the message pump has read SDL's events.
void KeyboardImp::Update() {
    if (m_remote != 0) {
        return;
    }
    std::uint8_t state[256] = {};
    os::GetKeyboardState(state);
    const auto held = [&state](int code) { return (state[code] & os::kKeyDownBit) != 0; };

    // After a Reset, polls are ignored while any key (mouse buttons included)
    // is held, for at most kMaxWaitPolls polls. Ignored polls leave the
    // states and event lists as the Reset cleared them.
    if (m_wait != 0) {
        ++m_waitCounter;
        bool anyHeld = false;
        for (int code = 0; code < kPolledCodes && !anyHeld; ++code) {
            anyHeld = held(code);
        }
        if (m_waitCounter <= kMaxWaitPolls && anyHeld) {
            return;
        }
        m_waitCounter = 0;
        m_wait = 0;
    }

    m_eventCodes.clear();
    m_eventStates.clear();
    for (int code = 0; code < kPolledCodes; ++code) {
        KeyState& key = m_keys[code];
        if (AdvanceKeyState(key, held(code))) {
            m_eventCodes.push_back(static_cast<std::uint8_t>(code));
            m_eventStates.push_back(key);
        }
    }
}

const KeyState* KeyboardImp::KeyOfId(int keyId) const {
    std::uint8_t code = 0;
    return KeyCodeOfId(keyId, &code) ? &m_keys[code] : nullptr;
}

bool KeyboardImp::IsPressed(int keyId) const { return IsSet(KeyOfId(keyId), &KeyState::pressed); }

bool KeyboardImp::IsTriggered(int keyId) const { return IsSet(KeyOfId(keyId), &KeyState::triggered); }

bool KeyboardImp::IsDown(int keyId) const { return IsSet(KeyOfId(keyId), &KeyState::down); }

bool KeyboardImp::IsUp(int keyId) const { return IsSet(KeyOfId(keyId), &KeyState::up); }

bool KeyboardImp::AnyKey() const {
    return std::any_of(m_keys.begin() + kFirstKeyCode, m_keys.end(),
                       [](const KeyState& key) { return key.pressed != 0; });
}

bool KeyboardImp::FindKeyId(int* keyId, std::uint8_t KeyState::*field) const {
    for (int id = kFirstKeyId; id < kKeyIdCount; ++id) {
        if (IsSet(KeyOfId(id), field)) {
            if (keyId != nullptr) {
                *keyId = id;
            }
            return true;
        }
    }
    return false;
}

bool KeyboardImp::GetPressed(int* keyId) const { return FindKeyId(keyId, &KeyState::pressed); }

bool KeyboardImp::GetTriggered(int* keyId) const { return FindKeyId(keyId, &KeyState::triggered); }

char KeyboardImp::GetKeyAsChar(int keyId) const {
    if (keyId < kKeyTab || keyId > kKeyFirstPunctuation + 10) {
        return 0;
    }
    const bool shift = IsPressed(kKeyLeftShift) || IsPressed(kKeyRightShift);
    // Letters follow Caps Lock, which Shift inverts; every other key follows Shift alone.
    const bool capitals = IsToggled(os::VK_CAPITAL) != shift;
    const bool numLock = IsToggled(os::VK_NUMLOCK);

    if (keyId >= kKeyDigit0 && keyId <= kKeyDigit0 + 9) {
        const int digit = keyId - kKeyDigit0;
        return shift ? kShiftedDigits[digit] : static_cast<char>('0' + digit);
    }
    if (keyId >= kKeyLetterA && keyId <= kKeyLetterA + 25) {
        return static_cast<char>((capitals ? 'A' : 'a') + (keyId - kKeyLetterA));
    }
    if (keyId >= kKeyNumpad0 && keyId <= kKeyNumpad0 + 9) {
        return numLock ? static_cast<char>('0' + (keyId - kKeyNumpad0)) : 0;
    }
    if (keyId >= kKeyFirstPunctuation) {
        const int index = keyId - kKeyFirstPunctuation;
        return shift ? kShiftedPunctuation[index] : kPunctuation[index];
    }
    switch (keyId) {
        case kKeyTab: return '\t';
        case kKeyReturn: return '\n';
        case kKeySpace: return ' ';
        case kKeyMultiply: return '*';
        case kKeyAdd: return '+';
        case kKeySubtract: return '-';
        case kKeyDivide: return '/';
        case kKeyDecimal: return numLock ? '.' : 0;
        default: return 0;
    }
}

void KeyboardImp::Reset() {
    // The event lists go too: polls ignored during the wait would otherwise
    // report the keys of the last poll before it, which no key state holds.
    m_keys = {};
    m_eventCodes.clear();
    m_eventStates.clear();
    m_wait = 1;
}

void KeyboardImp::EndWaitForRelease() {
    m_waitCounter = 0;
    m_wait = 0;
}

void KeyboardImp::ReadSnapshot(std::span<const std::uint8_t> records) {
    if (m_remote == 0) {
        return;
    }
    Reset();
    const std::size_t count = records.size() / kKeySnapshotRecordBytes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* record = &records[i * kKeySnapshotRecordBytes];
        const std::uint32_t code = LoadU32(record + kRecordCode);
        // The code comes from a peer: one outside the table is dropped.
        if (code < m_keys.size()) {
            m_keys[code] = LoadKeyState(record);
        }
    }
}

std::span<const std::uint8_t> KeyboardImp::WriteSnapshot() {
    if (m_remote != 0) {
        return {};
    }
    g_snapshot = {};
    std::size_t count = 0;
    for (std::uint32_t code = 0; code < m_keys.size(); ++code) {
        if (IsClear(m_keys[code])) {
            continue;
        }
        std::uint8_t* record = &g_snapshot[count * kKeySnapshotRecordBytes];
        StoreKeyState(m_keys[code], record);
        StoreU32(record + kRecordCode, code);
        ++count;
    }
    return std::span<const std::uint8_t>(g_snapshot.data(), count * kKeySnapshotRecordBytes);
}

bool KeyboardImp::GetEvents(std::vector<std::uint8_t>& codes, std::vector<std::uint8_t>& states) const {
    codes = m_eventCodes;
    StoreKeyStates(m_eventStates, states);
    return !m_eventCodes.empty();
}

bool KeyboardImp::ApplyEvents(std::span<const std::uint8_t> codes, std::span<const std::uint8_t> states) {
    if (states.size() != codes.size() * kKeyStateBytes) {
        return false;
    }
    m_keys = {};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        m_keys[codes[i]] = LoadKeyState(&states[i * kKeyStateBytes]);
    }
    return true;
}

}  // namespace Input
