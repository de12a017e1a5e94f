#pragma once

#include "core/Core_RefPtr.h"
#include "support/MyGame_Journey.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class GameLevel;
class LabeledButton;

// The journey's script: small actions, each given the frames it needs.
namespace mygametest {

// The profile's upgrade levels as a stage found them.
struct KeptUpgradeLevels {
    std::array<std::uint8_t, 16> weapons{};
    std::uint8_t armour = 0;
};

// What the actions share from frame to frame.
struct JourneyContext {
    MyGame* game = nullptr;
    JourneyPlan plan;
    JourneyRecord record;
    // Frames run since the journey's start.
    std::int64_t frame = 0;
    // Frames the current action has been given before this one.
    std::int64_t actionFrame = 0;
    // The bot's own count, going on from stage to stage.
    std::int64_t botFrame = 0;
    // The button being pressed, held so that it is never read freed.
    Core::RefPtr<LabeledButton> button;
    // The levels before a stage raised its armour or weapons, to be put back.
    std::optional<KeptUpgradeLevels> levelsToRestore;
    std::string failure;
};

enum class ActionProgress : std::uint8_t {
    // The input for this frame is set; the action goes on after it.
    kAgain,
    // The input for this frame is set; the next action follows it.
    kLastFrame,
    // Finished without this frame: the next action decides it.
    kDone,
    // The context's failure says why.
    kFailed,
};

struct JourneyAction {
    JourneyStep step;
    // What the action waits for, for a failure's message.
    std::string what;
    std::int64_t frameLimit;
    std::function<ActionProgress(JourneyContext&)> tick;
};

// The plan's actions in the order they run.
std::vector<JourneyAction> PlanJourneyActions(const JourneyPlan& plan);

// The stage that runs now, built and not leaving (no level change asked
// for); null otherwise.
GameLevel* RunningStage(const MyGame& game);

// What the frame that has run showed of the stage being played: its
// moments into the last stage record, the raised levels put back once the stage
// is cleared. False when the player has lost all its health (the context's
// failure says where).
bool ObserveStage(JourneyContext& context);

// The step to show for an action's step: a stage's by what it shows.
JourneyStep ShownStep(JourneyStep actionStep, const MyGame& game);

}  // namespace mygametest
