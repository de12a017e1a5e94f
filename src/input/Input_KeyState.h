#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Input {

// The five edge bytes of one key or mouse button, in their stored order.
// Bytes that came from a peer may hold any value: each is tested against 0.
struct KeyState {
    std::uint8_t pressed = 0;    // held at the last poll
    std::uint8_t triggered = 0;  // went down at the last poll
    std::uint8_t held = 0;       // down since its press was seen
    std::uint8_t down = 0;       // the same as triggered
    std::uint8_t up = 0;         // went up at the last poll
};

constexpr std::uint32_t kKeyStateBytes = 5;

// Takes one poll's reading. True when the key is held or went up at this
// poll: the keys an event list carries.
bool AdvanceKeyState(KeyState& state, bool held);

bool IsClear(const KeyState& state);

// Whether the state exists and the chosen byte is set: IsSet(state, &KeyState::up).
inline bool IsSet(const KeyState* state, std::uint8_t KeyState::*field) {
    return state != nullptr && state->*field != 0;
}

void StoreKeyState(const KeyState& state, std::uint8_t* bytes);
KeyState LoadKeyState(const std::uint8_t* bytes);
// Replaces bytes with the five bytes of each state, in order: the state list
// of an event record.
void StoreKeyStates(std::span<const KeyState> states, std::vector<std::uint8_t>& bytes);

}  // namespace Input
