#include "support/MyGame_Journey.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_LabeledButton.h"
#include "support/MyGame_JourneyActions.h"

#include <array>
#include <utility>

namespace mygametest {

const char* JourneyStepName(JourneyStep step) {
    static constexpr std::array<const char*, 13> kNames{
        "intro",      "title screen", "title level", "level select",  "stage", "boss warning", "boss fight",
        "story",      "results",      "back to title", "shop",        "done",  "failed",
    };
    const auto index = static_cast<std::size_t>(step);
    return index < kNames.size() ? kNames[index] : "?";
}

struct Journey::State {
    JourneyContext context;
    std::vector<JourneyAction> actions;
    std::size_t current = 0;
    // The current action gave its last frame: the next one follows it.
    bool advanceAfterFrame = false;
    Observer observer;
    JourneyStep shown = JourneyStep::kIntro;
    std::int64_t shownSince = 0;
    bool over = false;

    void Fail(const std::string& why) {
        const JourneyAction* action = current < actions.size() ? &actions[current] : nullptr;
        std::string message = action != nullptr ? std::string(JourneyStepName(action->step)) + ": " : "";
        message += why;
        context.failure = message;
        shown = JourneyStep::kFailed;
        over = true;
    }
};

Journey::Journey(JourneyPlan plan, Observer observer) : m_state(std::make_unique<State>()) {
    m_state->context.plan = plan;
    m_state->actions = PlanJourneyActions(plan);
    m_state->observer = std::move(observer);
}

Journey::~Journey() = default;

void Journey::BeforeFrame(MyGame& game) {
    State& state = *m_state;
    state.context.game = &game;
    while (!state.over) {
        if (state.current >= state.actions.size()) {
            state.shown = JourneyStep::kDone;
            state.over = true;
            return;
        }
        const JourneyAction& action = state.actions[state.current];
        if (state.context.actionFrame >= action.frameLimit) {
            const std::string detail = state.context.failure.empty() ? "" : " (" + state.context.failure + ")";
            state.Fail("no " + action.what + " within " + std::to_string(action.frameLimit) + " frames" + detail);
            return;
        }
        switch (action.tick(state.context)) {
        case ActionProgress::kAgain:
            return;
        case ActionProgress::kLastFrame:
            state.advanceAfterFrame = true;
            return;
        case ActionProgress::kDone:
            ++state.current;
            state.context.actionFrame = 0;
            state.context.failure.clear();
            break;
        case ActionProgress::kFailed:
            state.Fail(state.context.failure);
            return;
        }
    }
}

void Journey::AfterFrame(MyGame& game) {
    State& state = *m_state;
    if (state.over) {
        return;
    }
    JourneyContext& context = state.context;
    context.game = &game;
    ++context.frame;
    context.record.frames = context.frame;
    ++context.actionFrame;
    const JourneyStep actionStep = state.actions[state.current].step;
    if (!ObserveStage(context)) {
        state.Fail(context.failure);
    }
    if (state.advanceAfterFrame) {
        state.advanceAfterFrame = false;
        ++state.current;
        context.actionFrame = 0;
        context.failure.clear();
    }
    const JourneyStep shown = state.over ? JourneyStep::kFailed : ShownStep(actionStep, game);
    if (shown != state.shown) {
        state.shown = shown;
        state.shownSince = context.frame;
    }
    if (state.observer) {
        const std::int32_t stage = RunningStage(game) != nullptr && !context.record.stages.empty()
                                       ? static_cast<std::int32_t>(context.record.stages.back().stage)
                                       : -1;
        state.observer(JourneyMoment{shown, context.frame, context.frame - state.shownSince, stage, game});
    }
}

void Journey::Stop() { m_state->over = true; }

JourneyStep Journey::GetStep() const { return m_state->shown; }

bool Journey::IsOver() const { return m_state->over; }

const std::string& Journey::GetFailure() const {
    static const std::string kNone;
    return m_state->shown == JourneyStep::kFailed ? m_state->context.failure : kNone;
}

const JourneyRecord& Journey::GetRecord() const { return m_state->context.record; }

bool RunJourney(Journey& journey, const std::function<void()>& step, std::int64_t frameLimit) {
    for (std::int64_t frame = 0; frame < frameLimit; ++frame) {
        MyGame* game = GetGame();
        if (game == nullptr) {
            return false;
        }
        journey.BeforeFrame(*game);
        if (journey.IsOver()) {
            break;
        }
        step();
        game = GetGame();
        if (game == nullptr) {
            return false;
        }
        journey.AfterFrame(*game);
    }
    return journey.GetStep() == JourneyStep::kDone;
}

}  // namespace mygametest
