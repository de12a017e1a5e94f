#pragma once

#include "os/OS_VirtualKeys.h"

#include <cstdint>

// The polled keyboard, mouse buttons included, by virtual key. The real
// backend reads SDL's state, which the message pump keeps current; its
// mouse buttons are held from a press that began over a window of the game
// until its release, wherever the pointer goes meanwhile. The headless
// backend answers from keys and toggles that tests set
// (OS_HeadlessInput.h). A key tapped within one pump reads as held until the
// pump after a poll saw it (OS_KeyLatch.h).
namespace os {

// Bit 15 (the value is negative) while the key is held, bit 0 while it is
// toggled on (Caps, Num and Scroll Lock). 0 for codes outside 0-255.
std::int16_t GetKeyState(int virtualKey);
// The same, read at the moment of the call.
std::int16_t GetAsyncKeyState(int virtualKey);
// All 256 keys: bit 7 held, bit 0 toggled. False for a null buffer.
bool GetKeyboardState(std::uint8_t state[256]);

}  // namespace os
