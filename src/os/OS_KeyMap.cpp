#include "os/OS_KeyMap.h"

#include <SDL_mouse.h>

#include <algorithm>

namespace os {
namespace {

bool IsLetter(SDL_Keycode keycode) { return keycode >= SDLK_a && keycode <= SDLK_z; }
bool IsDigit(SDL_Keycode keycode) { return keycode >= SDLK_0 && keycode <= SDLK_9; }

// The punctuation key that gives the character on a US layout, 0 for none.
VirtualKey PunctuationKey(SDL_Keycode keycode) {
    switch (keycode) {
        case ';': return VK_OEM_1;
        case '=': return VK_OEM_PLUS;
        case ',': return VK_OEM_COMMA;
        case '-': return VK_OEM_MINUS;
        case '.': return VK_OEM_PERIOD;
        case '/': return VK_OEM_2;
        case '`': return VK_OEM_3;
        case '[': return VK_OEM_4;
        case '\\': return VK_OEM_5;
        case ']': return VK_OEM_6;
        case '\'': return VK_OEM_7;
        default: return 0;
    }
}

// Keypad digits 1-9, 0 and the decimal point with Num Lock off.
constexpr VirtualKey kKeypadNavigation[] = {VK_END,  VK_DOWN,  VK_NEXT, VK_LEFT,   VK_CLEAR, VK_RIGHT,
                                            VK_HOME, VK_UP,    VK_PRIOR, VK_INSERT, VK_DELETE};

VirtualKey KeypadKey(SDL_Scancode scancode, bool numLock) {
    const int index = scancode - SDL_SCANCODE_KP_1;
    if (!numLock) {
        return kKeypadNavigation[index];
    }
    if (scancode == SDL_SCANCODE_KP_PERIOD) {
        return VK_DECIMAL;
    }
    return static_cast<VirtualKey>(scancode == SDL_SCANCODE_KP_0 ? VK_NUMPAD0 : VK_NUMPAD0 + index + 1);
}

// Keys that are neither letters, digits nor on the keypad's digit block.
VirtualKey PositionalKey(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return static_cast<VirtualKey>(VK_F1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return static_cast<VirtualKey>(VK_F13 + (scancode - SDL_SCANCODE_F13));
    }
    switch (scancode) {
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
        case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
        case SDL_SCANCODE_BACKSPACE: return VK_BACK;
        case SDL_SCANCODE_TAB: return VK_TAB;
        case SDL_SCANCODE_SPACE: return VK_SPACE;
        case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
        case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
        case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
        case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
        case SDL_SCANCODE_BACKSLASH:
        case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
        case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
        case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
        case SDL_SCANCODE_GRAVE: return VK_OEM_3;
        case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
        case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
        case SDL_SCANCODE_SLASH: return VK_OEM_2;
        case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
        case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
        case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
        case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
        case SDL_SCANCODE_PAUSE: return VK_PAUSE;
        case SDL_SCANCODE_INSERT: return VK_INSERT;
        case SDL_SCANCODE_HOME: return VK_HOME;
        case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
        case SDL_SCANCODE_DELETE: return VK_DELETE;
        case SDL_SCANCODE_END: return VK_END;
        case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
        case SDL_SCANCODE_RIGHT: return VK_RIGHT;
        case SDL_SCANCODE_LEFT: return VK_LEFT;
        case SDL_SCANCODE_DOWN: return VK_DOWN;
        case SDL_SCANCODE_UP: return VK_UP;
        case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
        case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
        case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
        case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
        case SDL_SCANCODE_KP_PLUS: return VK_ADD;
        case SDL_SCANCODE_SEPARATOR: return VK_SEPARATOR;
        case SDL_SCANCODE_APPLICATION: return VK_APPS;
        case SDL_SCANCODE_EXECUTE: return VK_EXECUTE;
        case SDL_SCANCODE_HELP: return VK_HELP;
        case SDL_SCANCODE_SELECT: return VK_SELECT;
        case SDL_SCANCODE_CANCEL: return VK_CANCEL;
        case SDL_SCANCODE_CLEAR: return VK_CLEAR;
        case SDL_SCANCODE_SLEEP: return VK_SLEEP;
        case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
        case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
        case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
        case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
        case SDL_SCANCODE_LALT: return VK_LMENU;
        case SDL_SCANCODE_RALT: return VK_RMENU;
        case SDL_SCANCODE_LGUI: return VK_LWIN;
        case SDL_SCANCODE_RGUI: return VK_RWIN;
        default: return 0;
    }
}

constexpr struct {
    std::uint8_t button;
    VirtualKey key;
} kButtonKeys[] = {{SDL_BUTTON_LEFT, VK_LBUTTON},
                   {SDL_BUTTON_RIGHT, VK_RBUTTON},
                   {SDL_BUTTON_MIDDLE, VK_MBUTTON},
                   {SDL_BUTTON_X1, VK_XBUTTON1},
                   {SDL_BUTTON_X2, VK_XBUTTON2}};

void SetDownIfEither(std::uint8_t state[256], VirtualKey generic, VirtualKey left, VirtualKey right) {
    if (((state[left] | state[right]) & kKeyDownBit) != 0) {
        state[generic] |= kKeyDownBit;
    }
}

}  // namespace

VirtualKey VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock) {
    // The keypad first: some layouts report its keys with digit key codes.
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) {
        return KeypadKey(scancode, numLock);
    }
    if (IsLetter(keycode)) {
        return static_cast<VirtualKey>(VK_A + (keycode - SDLK_a));
    }
    if (IsDigit(keycode)) {
        return static_cast<VirtualKey>(VK_0 + (keycode - SDLK_0));
    }
    // A letter key whose layout gives no Latin letter (punctuation on some
    // European layouts, another script) keeps the US meaning of its character
    // or, failing that, of its position.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        const VirtualKey punctuation = PunctuationKey(keycode);
        return punctuation != 0 ? punctuation : static_cast<VirtualKey>(VK_A + (scancode - SDL_SCANCODE_A));
    }
    // The digit row gives digits on every layout, shifted or not.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        return static_cast<VirtualKey>(scancode == SDL_SCANCODE_0 ? VK_0 : VK_0 + 1 + (scancode - SDL_SCANCODE_1));
    }
    return PositionalKey(scancode);
}

VirtualKey VirtualKeyOfSdlButton(std::uint8_t button) {
    for (const auto& entry : kButtonKeys) {
        if (entry.button == button) {
            return entry.key;
        }
    }
    return 0;
}

void HoldSharedModifiers(std::uint8_t state[256]) {
    SetDownIfEither(state, VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    SetDownIfEither(state, VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    SetDownIfEither(state, VK_MENU, VK_LMENU, VK_RMENU);
}

void BuildKeyboardState(const SdlInputState& input, std::uint8_t state[256]) {
    std::fill(state, state + 256, std::uint8_t{0});
    const bool numLock = (input.modifiers & KMOD_NUM) != 0;
    for (int scancode = 0; input.keys != nullptr && scancode < input.keyCount; ++scancode) {
        if (input.keys[scancode] == 0) {
            continue;
        }
        const auto code = static_cast<SDL_Scancode>(scancode);
        const SDL_Keycode keycode = input.keycodeOf != nullptr ? input.keycodeOf(code) : SDLK_UNKNOWN;
        const VirtualKey key = VirtualKeyFromSdl(code, keycode, numLock);
        if (key != 0) {
            state[key] |= kKeyDownBit;
        }
    }
    HoldSharedModifiers(state);

    for (const auto& button : kButtonKeys) {
        if ((input.mouseButtons & SDL_BUTTON(button.button)) != 0) {
            state[button.key] |= kKeyDownBit;
        }
    }

    if ((input.modifiers & KMOD_CAPS) != 0) {
        state[VK_CAPITAL] |= kKeyToggledBit;
    }
    if ((input.modifiers & KMOD_NUM) != 0) {
        state[VK_NUMLOCK] |= kKeyToggledBit;
    }
    if ((input.modifiers & KMOD_SCROLL) != 0) {
        state[VK_SCROLL] |= kKeyToggledBit;
    }
}

}  // namespace os
