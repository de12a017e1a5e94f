#pragma once

namespace Tundra {

// How often any jukebox was updated and stopped, for tests of the frame order.
struct JukeBoxCalls {
    int updates = 0;
    int stops = 0;
};
JukeBoxCalls& GetJukeBoxCallsForTesting();

}  // namespace Tundra
