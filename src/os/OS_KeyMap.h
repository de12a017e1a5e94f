#pragma once

#include "os/OS_VirtualKeys.h"

#include <SDL_keyboard.h>

#include <cstdint>

// Turns SDL's view of the keyboard and mouse into virtual keys. Letters and
// digits follow the active layout (SDL key codes), every other key its
// position on a US keyboard (SDL scan codes); keys without a counterpart
// give 0.
namespace os {

// The key of one SDL key; numLock picks the keypad's digits or its
// navigation keys. 0 when the key has no virtual key.
VirtualKey VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock);

// The key of an SDL mouse button (SDL_BUTTON_LEFT ...); 0 for another button.
VirtualKey VirtualKeyOfSdlButton(std::uint8_t button);

// One reading of SDL's input state.
struct SdlInputState {
    const std::uint8_t* keys = nullptr;  // held flags indexed by scan code (SDL_GetKeyboardState)
    int keyCount = 0;
    SDL_Keycode (*keycodeOf)(SDL_Scancode) = nullptr;  // the layout (SDL_GetKeyFromScancode)
    std::uint16_t modifiers = 0;                        // SDL_GetModState
    std::uint32_t mouseButtons = 0;                     // SDL_GetMouseState
};

constexpr std::uint8_t kKeyDownBit = 0x80;
constexpr std::uint8_t kKeyToggledBit = 0x01;

// Holds Shift, Control and Alt in the state when either of their sides is held.
void HoldSharedModifiers(std::uint8_t state[256]);

// One byte per virtual key: bit 7 held, bit 0 toggled (Caps, Num and Scroll
// Lock). Shift, Control and Alt are held when either side is; the mouse
// buttons are keys 1, 2, 4, 5 and 6.
void BuildKeyboardState(const SdlInputState& input, std::uint8_t state[256]);

}  // namespace os
