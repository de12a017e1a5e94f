#include "os/OS_Keyboard.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_HeldButtons.h"
#include "os/OS_KeyLatch.h"
#include "os/OS_KeyMap.h"

#include <SDL.h>

#include <array>

namespace os {
namespace {

struct HeadlessKeys {
    std::array<bool, 256> down{};
    std::array<bool, 256> toggled{};
};

HeadlessKeys& Keys() {
    static HeadlessKeys keys;
    return keys;
}

void HeadlessKeyboardState(std::uint8_t state[256]) {
    const HeadlessKeys& keys = Keys();
    for (int code = 0; code < 256; ++code) {
        state[code] = static_cast<std::uint8_t>((keys.down[code] ? kKeyDownBit : 0) |
                                                (keys.toggled[code] ? kKeyToggledBit : 0));
    }
    HoldSharedModifiers(state);
}

void SdlKeyboardState(std::uint8_t state[256], std::uint32_t mouseButtons) {
    SdlInputState input;
    input.keys = SDL_GetKeyboardState(&input.keyCount);
    input.keycodeOf = &SDL_GetKeyFromScancode;
    input.modifiers = static_cast<std::uint16_t>(SDL_GetModState());
    input.mouseButtons = mouseButtons;
    BuildKeyboardState(input, state);
}

void ReadKeyboardState(std::uint8_t state[256]) {
    if (IsHeadless()) {
        HeadlessKeyboardState(state);
    } else {
        SdlKeyboardState(state, detail::HeldButtons());
    }
    detail::ApplyKeyLatches(state);
}

std::int16_t KeyStateOf(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::uint8_t state[256];
    ReadKeyboardState(state);
    const std::uint8_t key = state[virtualKey];
    return static_cast<std::int16_t>(((key & kKeyDownBit) != 0 ? 0x8000 : 0) | (key & kKeyToggledBit));
}

}  // namespace

std::int16_t GetKeyState(int virtualKey) { return KeyStateOf(virtualKey); }

std::int16_t GetAsyncKeyState(int virtualKey) { return KeyStateOf(virtualKey); }

bool GetKeyboardState(std::uint8_t state[256]) {
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    ReadKeyboardState(state);
    return true;
}

namespace headless {

void SetKey(VirtualKey key, bool down) { Keys().down[key] = down; }

void SetToggle(VirtualKey key, bool on) { Keys().toggled[key] = on; }

void ResetKeys() {
    Keys() = HeadlessKeys{};
    detail::ResetKeyLatches();
}

}  // namespace headless
}  // namespace os
