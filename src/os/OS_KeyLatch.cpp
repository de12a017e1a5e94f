#include "os/OS_KeyLatch.h"

#include "os/OS_KeyMap.h"

#include <bitset>

namespace os::detail {
namespace {

// Input belongs to the main thread, like the windows.
struct KeyLatches {
    std::bitset<256> pressedUnseen;  // went down since the last poll
    std::bitset<256> latched;        // went down and up again unseen
    bool seen = false;               // a poll has read the latches
};

KeyLatches g_latches;

}  // namespace

void BeginInputPump() {
    if (g_latches.seen) {
        g_latches.latched.reset();
        g_latches.seen = false;
    }
}

void NoteKeyEvent(VirtualKey key, bool down) {
    if (down) {
        g_latches.pressedUnseen.set(key);
    } else if (g_latches.pressedUnseen.test(key)) {
        g_latches.pressedUnseen.reset(key);
        g_latches.latched.set(key);
    }
}

void ApplyKeyLatches(std::uint8_t state[256]) {
    // Every press now reaches the poll, as held or as latched.
    g_latches.pressedUnseen.reset();
    if (g_latches.latched.none()) {
        return;
    }
    for (int key = 0; key < 256; ++key) {
        if (g_latches.latched.test(key)) {
            state[key] |= kKeyDownBit;
        }
    }
    HoldSharedModifiers(state);
    g_latches.seen = true;
}

void ResetKeyLatches() { g_latches = KeyLatches{}; }

}  // namespace os::detail
