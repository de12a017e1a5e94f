#include "input/Input_KeyState.h"

namespace Input {

bool AdvanceKeyState(KeyState& state, bool held) {
    state.pressed = held ? 1 : 0;
    if (!held) {
        state.up = state.held != 0 ? 1 : 0;
        state.triggered = 0;
        state.held = 0;
        state.down = 0;
        return state.up != 0;
    }
    // A key pressed again right after its release must not still read as
    // released while it is held.
    state.up = 0;
    if (state.held != 0) {
        state.triggered = 0;
        state.down = 0;
    } else {
        state.triggered = 1;
        state.held = 1;
        state.down = 1;
    }
    return true;
}

bool IsClear(const KeyState& state) {
    return state.pressed == 0 && state.triggered == 0 && state.held == 0 && state.down == 0 && state.up == 0;
}

void StoreKeyState(const KeyState& state, std::uint8_t* bytes) {
    bytes[0] = state.pressed;
    bytes[1] = state.triggered;
    bytes[2] = state.held;
    bytes[3] = state.down;
    bytes[4] = state.up;
}

KeyState LoadKeyState(const std::uint8_t* bytes) { return {bytes[0], bytes[1], bytes[2], bytes[3], bytes[4]}; }

void StoreKeyStates(std::span<const KeyState> states, std::vector<std::uint8_t>& bytes) {
    bytes.assign(states.size() * kKeyStateBytes, 0);
    for (std::size_t i = 0; i < states.size(); ++i) {
        StoreKeyState(states[i], &bytes[i * kKeyStateBytes]);
    }
}

}  // namespace Input
