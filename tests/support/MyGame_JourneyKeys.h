#pragma once

#include "os/OS_VirtualKeys.h"

namespace mygametest {

// A letter key ('A' to 'Z') held for the next frame's poll, or let go: on
// the headless backend it stays so until changed; on a real display a press
// and a release among the frame's events read as held in that poll only,
// so a key held there is held again before each frame.
void HoldJourneyKey(os::VirtualKey letter, bool down);

}  // namespace mygametest
