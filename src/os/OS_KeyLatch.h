#pragma once

#include "os/OS_VirtualKeys.h"

#include <cstdint>

// Internal to the OS layer. Keys and buttons are polled once per frame, so a
// tap (pressed and released between two polls, as a touchpad click or a
// quick key stroke is) would never be seen. The window systems report every
// key and button event as the pump takes it; a press released before any
// poll saw it is latched and reads as held until the first pump after a poll
// has seen it.
namespace os::detail {

// The pump is about to take events: latches a poll has seen are dropped.
void BeginInputPump();
void NoteKeyEvent(VirtualKey key, bool down);
// Marks the latched keys held in a 256-byte keyboard state (bit 7); this
// read is a poll.
void ApplyKeyLatches(std::uint8_t state[256]);
void ResetKeyLatches();

}  // namespace os::detail
