#pragma once

#include "support/MyGame_Journey.h"

#include <cstdint>
#include <span>
#include <string_view>

// The moments the pictures show, in the order the README shows them. Each
// is taken on one of two runs of the journey: the menus (the title level's
// shop, no stage played) or a boss stage played to its results.
namespace screenshots {

enum class Route : std::uint8_t { kMenus, kBossStage };

struct Moment {
    // The picture's file name without ".png", and its word for --only.
    std::string_view name;
    Route route;
    // Reached after the first frame at least that many frames into the step
    // that shows the scene ready (any, without a test).
    mygametest::JourneyStep step;
    std::int64_t stepFrame;
    bool (*ready)(const MyGame& game) = nullptr;
    // Frames the journey then waits, pressing nothing, before the picture
    // is taken: its script moves on faster than a panel opens.
    std::int64_t settleFrames = 0;

    bool IsReachedAt(const mygametest::JourneyMoment& now) const;
};

std::span<const Moment> Moments();

// The moment of that name; null for none.
const Moment* FindMoment(std::string_view name);

// What the journey of the route plays.
mygametest::JourneyPlan PlanFor(Route route);

}  // namespace screenshots
