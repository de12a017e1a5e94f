#pragma once

namespace GUI {

// How often the frame reached the HUD, for tests of the frame order.
struct HudCalls {
    int updates = 0;
    int renders = 0;
    int clears = 0;
};
HudCalls& GetHudCallsForTesting();

}  // namespace GUI
