#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MyGame;

// The whole game played as a player would, a frame at a time: from the
// intro through the title level's level select, stages with the bot at the
// controls (their bosses, stories and results), back to the title and into
// the shop. It only decides the input of the next frame and looks at what
// the last one showed, so it runs under any loop that advances the game
// 1/60 s a frame: a test's scripted steps, or a program's run with an
// observer before and after each frame. No test framework is needed.
namespace mygametest {

// Where the journey is, in the order it passes; a stage's steps come again
// for each stage played.
enum class JourneyStep : std::uint8_t {
    // The intro's logos, until the title level runs.
    kIntro,
    // The title drops in; the game's right key is held until it has risen
    // out of view.
    kTitleScreen,
    // The player walks among the title level's machines to the level
    // select and opens it.
    kTitleLevel,
    // The level select open: the first stage's button, then "Play".
    kLevelSelect,
    // A stage in play, the bot at the controls.
    kStage,
    // The distance bar's boss warning shows.
    kBossWarning,
    // The boss is in, until the stage is cleared.
    kBossFight,
    // The closing story, clicked through.
    kStory,
    // The results panel, left through "next level" or, after the last
    // stage, "exit to menu".
    kResults,
    // The title level again: the level select opened, its buttons counted,
    // closed.
    kBackToTitle,
    // The shop open on its upgrade page: one upgrade bought.
    kShop,
    kDone,
    kFailed,
};

// "intro", "title screen", ...: the step's name as the observer's captions
// and failure messages use it.
const char* JourneyStepName(JourneyStep step);

// What the journey does.
struct JourneyPlan {
    // Stage indices (0 is the first stage, its button "1"): the first one
    // played and how many are played, through "next level". With none the
    // title screen leads straight to the level select's count and the shop
    // (kBackToTitle, kShop). Stages past the ninth are not played. A first
    // stage beyond the profile's highest is unlocked in the running profile
    // before the title level starts.
    std::uint32_t firstStage = 0;
    std::uint32_t stageCount = 9;
    // Bit s set: in stage s hits cost the player nothing (the profile's
    // armour level raised while the stage plays and put back before the
    // results save it).
    std::uint32_t holdHealthStages = 0;
    // Bit s set: in stage s both hands' weapons hit as hard as the shop can
    // make them (their damage levels raised while the stage plays and put
    // back before the results save them), so that its waves and boss go down
    // sooner.
    std::uint32_t upgradeWeaponStages = 0;
    // After the last stage's results: to the title level and the shop
    // ("exit to menu"); otherwise the journey ends two seconds into the
    // results panel.
    bool returnToTitle = true;
    // Frames a stage may take from its start to its results, as a multiple
    // of its length; beyond it the journey fails.
    std::int32_t stageLengthsAllowed = 3;
};

// A stage as the journey saw it; frames count from the journey's start,
// -1 where the moment never came.
struct JourneyStageRecord {
    // The profile's current stage when the stage was built.
    std::uint32_t stage = 0;
    std::int64_t startFrame = -1;
    std::int64_t warningFrame = -1;
    // The boss first shown in the stage.
    std::int64_t bossFrame = -1;
    // The boss defeated: the stage cleared.
    std::int64_t clearedFrame = -1;
    std::int64_t storyFrame = -1;
    std::int64_t resultsFrame = -1;
    bool hasBoss = false;
    bool healthHeld = false;
    bool weaponsUpgraded = false;
    // The stage's health when its results showed.
    float healthAtResults = 0.0f;
    // The drops the results added.
    std::int32_t drops = 0;
};

struct JourneyRecord {
    std::int64_t frames = 0;
    // The title level first running: the intro's length.
    std::int64_t titleFrame = -1;
    std::vector<JourneyStageRecord> stages;
    // The level select's stage buttons when it was opened again at the end.
    std::size_t stageButtonsAtEnd = 0;
    // The shop: the currency before and after buying one level of the first
    // row of the page it opens on (the armour's).
    std::uint32_t currencyBeforeShop = 0;
    std::uint32_t currencyAfterShop = 0;
    bool upgradeBought = false;
};

// One frame as the observer sees it, after the frame has run.
struct JourneyMoment {
    JourneyStep step;
    // Frames since the journey's start, and since this step began (0 in
    // the step's first frame).
    std::int64_t frame;
    std::int64_t stepFrame;
    // The stage played (its index), or -1 outside a stage.
    std::int32_t stage;
    MyGame& game;
};

class Journey {
public:
    // Told after every frame; may end the journey (Stop).
    using Observer = std::function<void(const JourneyMoment&)>;

    explicit Journey(JourneyPlan plan = {}, Observer observer = {});
    ~Journey();
    Journey(const Journey&) = delete;
    Journey& operator=(const Journey&) = delete;

    // Before a frame: the keys, button and cursor the game reads at that
    // frame's poll.
    void BeforeFrame(MyGame& game);
    // After it: what the frame showed moves the journey on and is told to
    // the observer.
    void AfterFrame(MyGame& game);
    // Ends the journey where it is (kDone stays unreached).
    void Stop();

    JourneyStep GetStep() const;
    bool IsOver() const;
    // The journey's failure: what it waited for, in which step; empty when
    // it has not failed.
    const std::string& GetFailure() const;
    const JourneyRecord& GetRecord() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Runs the journey on the running game (GetGame()) to its end, `step`
// advancing the game a frame (its clock 1/60 s, its input polled); gives
// up after `frameLimit` frames. True when it reached kDone.
bool RunJourney(Journey& journey, const std::function<void()>& step, std::int64_t frameLimit);

}  // namespace mygametest
