#pragma once

#include "Screenshots_Moments.h"

#include <string>
#include <vector>

// One run of the game for the pictures of one route.
namespace screenshots {

struct RouteResult {
    // The files written, in the order they were taken.
    std::vector<std::string> written;
    // Why a chosen moment was not taken; empty when all were.
    std::string failure;
};

// Plays the route's journey in the program's own loop, over the game's own
// content on the video driver the process has chosen, the clock advanced
// 1/60 s a frame and the random generators seeded as the tests seed them,
// so that every run shows the same frames. After each chosen moment's
// frame is drawn, its picture goes to "<folder>/<name>.png"; the run ends
// once the last is written, or when the journey ends or fails first. The
// intro is skipped at once when no chosen moment shows it.
RouteResult PlayRoute(Route route, const std::vector<const Moment*>& moments, const std::string& folder);

}  // namespace screenshots
