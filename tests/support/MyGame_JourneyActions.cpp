#include "support/MyGame_JourneyActions.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelUI.h"
#include "mygame/MyGame_MenuLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_ShopPrices.h"
#include "mygame/MyGame_ShopUI.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_JourneyKeys.h"
#include "support/MyGame_StageBot.h"
#include "tundra/Tundra_FindObject.h"

#include <algorithm>
#include <string>
#include <utility>

namespace mygametest {
namespace {

constexpr std::int64_t kFramesPerSecond = 60;
// Hits cost nothing: the armour takes the whole of each.
constexpr std::uint8_t kWholeHitArmour = 10;
constexpr std::uint32_t kDamageStat = 0;
// The intro's three logos take about 8.8 s.
constexpr std::int64_t kIntroLimit = 12 * kFramesPerSecond;
// The title drops in, and rests this long before the key that clears it.
constexpr std::int64_t kTitleDropLimit = 10 * kFramesPerSecond;
constexpr std::int64_t kTitleRest = kFramesPerSecond / 2;
constexpr std::int64_t kWalkLimit = 10 * kFramesPerSecond;
constexpr std::int64_t kMenuLimit = 3 * kFramesPerSecond;
constexpr std::int64_t kLevelChangeLimit = 5 * kFramesPerSecond;
constexpr std::int64_t kResultsShown = 2 * kFramesPerSecond;
// A button made this frame is entered at its second update.
constexpr std::int64_t kHoverFrames = 2;

constexpr os::VirtualKey kLeftKey = 'A';
constexpr os::VirtualKey kRightKey = 'D';
constexpr os::VirtualKey kUseKey = 'X';

MenuLevel* RunningTitle(const MyGame& game) {
    if (game.IsLevelChangePending() || game.GetCurrentLevelIndex() != MyLevelFactory::kMenuLevel) {
        return nullptr;
    }
    return dynamic_cast<MenuLevel*>(game.GetCurrentLevel());
}

bool InMenuState(const MyGame& game, std::int32_t state) {
    const MenuLevel* title = RunningTitle(game);
    return title != nullptr && title->GetMenuMachine().GetCurrent() == state;
}

template <class T>
T* Find(const char* name) {
    return Tundra::FindObject<T>(Core::String(name));
}

// Nothing held: the keys up and the button up.
void LetGo() {
    HoldJourneyKey(kLeftKey, false);
    HoldJourneyKey(kRightKey, false);
    HoldJourneyKey(kUseKey, false);
    HoldLeftButton(false);
}

// Waits with nothing held until the condition holds.
JourneyAction WaitFor(JourneyStep step, std::string what, std::int64_t limit, std::function<bool(MyGame&)> done) {
    return {step, std::move(what), limit, [done = std::move(done)](JourneyContext& context) {
                LetGo();
                return done(*context.game) ? ActionProgress::kDone : ActionProgress::kAgain;
            }};
}

// The frames pass with nothing held.
JourneyAction Idle(JourneyStep step, std::int64_t frames) {
    return {step, "idle frames", frames + 1, [frames](JourneyContext& context) {
                LetGo();
                return context.actionFrame + 1 >= frames ? ActionProgress::kLastFrame : ActionProgress::kAgain;
            }};
}

// The key held until the condition holds, then let go.
JourneyAction HoldUntil(JourneyStep step, std::string what, os::VirtualKey key, std::int64_t limit,
                        std::function<bool(MyGame&)> done) {
    return {step, std::move(what), limit, [key, done = std::move(done)](JourneyContext& context) {
                if (done(*context.game)) {
                    HoldJourneyKey(key, false);
                    return ActionProgress::kDone;
                }
                HoldJourneyKey(key, true);
                return ActionProgress::kAgain;
            }};
}

// Down for a frame, up for the next.
JourneyAction TapKey(JourneyStep step, os::VirtualKey key) {
    return {step, "a key's tap", 2, [key](JourneyContext& context) {
                const bool down = context.actionFrame == 0;
                HoldJourneyKey(key, down);
                return down ? ActionProgress::kAgain : ActionProgress::kLastFrame;
            }};
}

// A click on the HUD button of the label, as a player makes it: the cursor
// onto the button until it is hovered and shown, then for a still frame,
// the left button down for a frame and up in the next. The label is read
// when the press begins.
void ClickButton(JourneyStep step, std::function<Core::String(JourneyContext&)> label,
                 std::vector<JourneyAction>& actions) {
    actions.push_back({step, "a button to press", kMenuLimit, [label = std::move(label)](JourneyContext& context) {
                           LetGo();
                           const Core::String text = label(context);
                           context.button = FindButton(text);
                           if (!context.button) {
                               context.failure = std::string("no usable button \"") + text.c_str() + "\"";
                               return ActionProgress::kAgain;
                           }
                           context.failure.clear();
                           PointAt(context.button->GetPosition());
                           return ActionProgress::kLastFrame;
                       }});
    actions.push_back({step, "the button hovered and shown", kMenuLimit, [](JourneyContext& context) {
                           constexpr std::uint32_t kIdle = 0;
                           const bool entering =
                               context.button->GetState() == kIdle && context.actionFrame < kHoverFrames;
                           if (entering || !context.button->IsShown()) {
                               return ActionProgress::kAgain;
                           }
                           // The mouse of a game that has just changed level
                           // reads no button until the cursor stood still.
                           return ActionProgress::kLastFrame;
                       }});
    for (const bool down : {true, false}) {
        actions.push_back({step, "the button clicked", 1, [down](JourneyContext& context) {
                               HoldLeftButton(down);
                               if (!down) {
                                   context.button = nullptr;
                               }
                               return ActionProgress::kLastFrame;
                           }});
    }
}

void ClickButton(JourneyStep step, const char* label, std::vector<JourneyAction>& actions) {
    ClickButton(step, [text = Core::String(label)](JourneyContext&) { return text; }, actions);
}

// The title level from its start to the player free among the machines.
void ClearTitle(JourneyStep step, std::vector<JourneyAction>& actions) {
    actions.push_back(WaitFor(step, "the title level", kLevelChangeLimit,
                              [](MyGame& game) { return RunningTitle(game) != nullptr; }));
    actions.push_back(WaitFor(step, "the title at rest", kTitleDropLimit,
                              [](MyGame& game) { return InMenuState(game, MenuLevel::kTitle); }));
    actions.push_back(Idle(step, kTitleRest));
    actions.push_back(HoldUntil(step, "the title gone", kRightKey, kTitleDropLimit,
                                [](MyGame& game) { return InMenuState(game, MenuLevel::kInMenu); }));
}

// Walks to the machine, whichever side it is on, and opens it.
template <class Machine>
void OpenMachine(JourneyStep step, const char* name, std::vector<JourneyAction>& actions) {
    actions.push_back({step, std::string("the player in front of ") + name, kWalkLimit, [name](JourneyContext&) {
                           const Machine* machine = Find<Machine>(name);
                           const MenuPlayer* player = machine != nullptr ? machine->GetPlayer() : nullptr;
                           const bool there = player == nullptr || machine->IsPlayerInRange();
                           const bool toTheLeft = player != nullptr && machine->GetPositionX() < player->GetPositionX();
                           HoldJourneyKey(kLeftKey, !there && toTheLeft);
                           HoldJourneyKey(kRightKey, !there && !toTheLeft);
                           return there && player != nullptr ? ActionProgress::kDone : ActionProgress::kAgain;
                       }});
    actions.push_back(TapKey(step, kUseKey));
    actions.push_back(WaitFor(step, std::string(name) + " open", kMenuLimit, [name](MyGame&) {
        const Machine* machine = Find<Machine>(name);
        return machine != nullptr && machine->IsShown();
    }));
}

std::int64_t StageFrameLimit(const JourneyPlan& plan, std::uint32_t stage) {
    const std::int64_t seconds = GetLevelInfo(stage)[LevelInfo::kLengthSeconds];
    return plan.stageLengthsAllowed * seconds * kFramesPerSecond;
}

// The stage that runs now, played by the bot from its start until its
// results show.
JourneyAction PlayStage(JourneyStep step, std::uint32_t stage, std::int64_t limit) {
    return {step, "stage " + std::to_string(stage + 1) + "'s results", limit, [](JourneyContext& context) {
                GameLevel* running = RunningStage(*context.game);
                if (running == nullptr) {
                    context.failure = "the stage stopped running";
                    return ActionProgress::kFailed;
                }
                if (running->AreResultsShowing()) {
                    ApplyStageInput(StageInput{});
                    return ActionProgress::kDone;
                }
                if (context.actionFrame == 0) {
                    PlayerProfile& profile = context.game->GetProfile();
                    JourneyStageRecord record;
                    record.stage = profile.currentStage;
                    record.startFrame = context.frame;
                    record.hasBoss = running->GetBoss() != nullptr;
                    record.healthHeld = (context.plan.holdHealthStages >> record.stage & 1u) != 0;
                    record.weaponsUpgraded = (context.plan.upgradeWeaponStages >> record.stage & 1u) != 0;
                    if (record.healthHeld || record.weaponsUpgraded) {
                        context.levelsToRestore = KeptUpgradeLevels{profile.upgradeLevels, profile.fifthWeaponLevel};
                    }
                    if (record.healthHeld) {
                        profile.fifthWeaponLevel = kWholeHitArmour;
                    }
                    if (record.weaponsUpgraded) {
                        for (const std::uint32_t weapon : {profile.LeftWeapon(), profile.RightWeapon()}) {
                            SetUpgradeLevel(profile, weapon, kDamageStat, kMaxUpgradeLevel);
                        }
                    }
                    context.record.stages.push_back(record);
                }
                ApplyStageInput(DecideStageInput(LookAtStage(*running, context.botFrame++)));
                return ActionProgress::kAgain;
            }};
}

// A new stage running: the one before has gone with its results.
JourneyAction WaitForStage(JourneyStep step) {
    return WaitFor(step, "the stage running", kLevelChangeLimit, [](MyGame& game) {
        const GameLevel* stage = RunningStage(game);
        return stage != nullptr && !stage->AreResultsShowing();
    });
}

// The stages from `first` on, `count` of them (the level select's button
// of a stage shows its number from 1).
void PlayStages(const JourneyPlan& plan, std::uint32_t first, std::uint32_t count,
                std::vector<JourneyAction>& actions) {
    OpenMachine<LevelUI>(JourneyStep::kTitleLevel, "LevelSelUI", actions);
    ClickButton(JourneyStep::kLevelSelect, std::to_string(first + 1).c_str(), actions);
    ClickButton(JourneyStep::kLevelSelect, "Play", actions);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t stage = first + i;
        actions.push_back(WaitForStage(JourneyStep::kStage));
        actions.push_back(PlayStage(JourneyStep::kStage, stage, StageFrameLimit(plan, stage)));
        if (i + 1 < count) {
            ClickButton(JourneyStep::kResults, "next level", actions);
        } else if (plan.returnToTitle) {
            ClickButton(JourneyStep::kResults, "exit to menu", actions);
        }
    }
}

// The level select opened, its buttons counted, and closed.
void CountStageButtons(std::vector<JourneyAction>& actions) {
    OpenMachine<LevelUI>(JourneyStep::kBackToTitle, "LevelSelUI", actions);
    actions.push_back({JourneyStep::kBackToTitle, "the level select", 1, [](JourneyContext& context) {
                           if (const LevelUI* select = Find<LevelUI>("LevelSelUI")) {
                               context.record.stageButtonsAtEnd = select->GetStageButtons().size();
                           }
                           return ActionProgress::kDone;
                       }});
    actions.push_back(TapKey(JourneyStep::kBackToTitle, kUseKey));
    actions.push_back(WaitFor(JourneyStep::kBackToTitle, "the level select closed", kMenuLimit, [](MyGame&) {
        const LevelUI* select = Find<LevelUI>("LevelSelUI");
        return select != nullptr && !select->IsShown();
    }));
}

// One level of the first row of the page the shop opens on, bought.
void BuyUpgrade(std::vector<JourneyAction>& actions) {
    constexpr JourneyStep kShop = JourneyStep::kShop;
    OpenMachine<ShopUI>(kShop, "ShopUI", actions);
    actions.push_back(WaitFor(kShop, "the shop's page", kMenuLimit, [](MyGame&) {
        const ShopUI* shop = Find<ShopUI>("ShopUI");
        return shop != nullptr && shop->IsPageBuilt();
    }));
    actions.push_back({kShop, "the currency", 1, [](JourneyContext& context) {
                           context.record.currencyBeforeShop = context.game->GetProfile().currency;
                           return ActionProgress::kDone;
                       }});
    ClickButton(kShop, "+", actions);
    ClickButton(
        kShop,
        [](JourneyContext&) {
            const ShopUI* shop = Find<ShopUI>("ShopUI");
            const std::int32_t total = shop != nullptr ? shop->GetPendingTotal() : 0;
            return Core::String(("Buy: " + std::to_string(total)).c_str());
        },
        actions);
    actions.push_back({kShop, "the purchase paid", kMenuLimit, [](JourneyContext& context) {
                           LetGo();
                           const std::uint32_t currency = context.game->GetProfile().currency;
                           if (currency == context.record.currencyBeforeShop) {
                               return ActionProgress::kAgain;
                           }
                           context.record.currencyAfterShop = currency;
                           context.record.upgradeBought = true;
                           return ActionProgress::kDone;
                       }});
}

bool HasBossInFight(const GameLevel& stage) {
    const Enemy* boss = stage.GetBoss();
    if (boss == nullptr || !stage.GetTerrain().IsEndReached()) {
        return false;
    }
    for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
        if (stage.GetLiveEnemy(i) == boss) {
            return true;
        }
    }
    return false;
}

bool IsWarningShowing(const GameLevel& stage) {
    const DistanceUI* bar = Tundra::FindObject<DistanceUI>(stage, Core::String("DistanceUI"));
    return bar != nullptr && bar->IsActive() && !bar->IsWarningShown();
}

void Mark(std::int64_t& moment, bool now, std::int64_t frame) {
    if (now && moment < 0) {
        moment = frame;
    }
}

}  // namespace

std::vector<JourneyAction> PlanJourneyActions(const JourneyPlan& plan) {
    std::vector<JourneyAction> actions;
    actions.push_back({JourneyStep::kIntro, "the first stage unlocked", 1, [](JourneyContext& context) {
                           PlayerProfile& profile = context.game->GetProfile();
                           const std::uint32_t first = std::min(context.plan.firstStage, kStageCount - 1);
                           if (profile.highestStage < first) {
                               profile.highestStage = static_cast<std::uint8_t>(first);
                           }
                           return ActionProgress::kDone;
                       }});
    actions.push_back(WaitFor(JourneyStep::kIntro, "the title level", kIntroLimit, [](MyGame& game) {
        return !game.IsLevelChangePending() && game.GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel;
    }));
    actions.push_back({JourneyStep::kIntro, "the intro's length", 1, [](JourneyContext& context) {
                           context.record.titleFrame = context.frame;
                           return ActionProgress::kDone;
                       }});
    ClearTitle(JourneyStep::kTitleScreen, actions);
    // Stages past the last one are not played.
    const std::uint32_t first = std::min(plan.firstStage, kStageCount);
    const std::uint32_t count = std::min(plan.stageCount, kStageCount - first);
    if (count > 0) {
        PlayStages(plan, first, count, actions);
        if (!plan.returnToTitle) {
            // The panel opens and counts up.
            actions.push_back(Idle(JourneyStep::kResults, kResultsShown));
            return actions;
        }
        ClearTitle(JourneyStep::kBackToTitle, actions);
    }
    CountStageButtons(actions);
    BuyUpgrade(actions);
    return actions;
}

GameLevel* RunningStage(const MyGame& game) {
    if (game.IsLevelChangePending() || game.GetCurrentLevelIndex() != MyLevelFactory::kGameLevel) {
        return nullptr;
    }
    return dynamic_cast<GameLevel*>(game.GetCurrentLevel());
}

bool ObserveStage(JourneyContext& context) {
    GameLevel* stage = context.game != nullptr ? RunningStage(*context.game) : nullptr;
    if (stage == nullptr || context.record.stages.empty() || context.record.stages.back().resultsFrame >= 0) {
        return true;
    }
    JourneyStageRecord& record = context.record.stages.back();
    const std::int64_t frame = context.frame;
    Mark(record.warningFrame, IsWarningShowing(*stage), frame);
    Mark(record.bossFrame, HasBossInFight(*stage), frame);
    Mark(record.clearedFrame, stage->IsCleared(), frame);
    Mark(record.storyFrame, stage->IsStoryActive(), frame);
    if (stage->IsCleared() && context.levelsToRestore) {
        PlayerProfile& profile = context.game->GetProfile();
        profile.upgradeLevels = context.levelsToRestore->weapons;
        profile.fifthWeaponLevel = context.levelsToRestore->armour;
        context.levelsToRestore.reset();
    }
    if (stage->AreResultsShowing()) {
        record.resultsFrame = frame;
        record.healthAtResults = stage->GetHealth();
        record.drops = stage->GetDrops();
    }
    if (stage->GetHealth() <= 0.0f) {
        context.failure = "the player lost all its health in stage " + std::to_string(record.stage + 1) +
                          " after " + std::to_string(stage->GetDistance()) + " s of " +
                          std::to_string(stage->GetStageLength());
        return false;
    }
    return true;
}

JourneyStep ShownStep(JourneyStep actionStep, const MyGame& game) {
    const GameLevel* stage = RunningStage(game);
    if (actionStep != JourneyStep::kStage || stage == nullptr) {
        return actionStep;
    }
    if (stage->AreResultsShowing()) {
        return JourneyStep::kResults;
    }
    if (stage->IsStoryActive()) {
        return JourneyStep::kStory;
    }
    if (IsWarningShowing(*stage)) {
        return JourneyStep::kBossWarning;
    }
    if (HasBossInFight(*stage) && !stage->IsCleared()) {
        return JourneyStep::kBossFight;
    }
    return JourneyStep::kStage;
}

}  // namespace mygametest
