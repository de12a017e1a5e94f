#include "Screenshots_Moments.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_MenuLevel.h"
#include "mygame/MyGame_ShopUI.h"
#include "tundra/Tundra_FindObject.h"

#include <array>

namespace screenshots {
namespace {

using mygametest::JourneyStep;

// The third stage: the first with a boss.
constexpr std::uint32_t kBossStage = 2;

bool IsTitleAtRest(const MyGame& game) {
    const auto* title = dynamic_cast<const MenuLevel*>(game.GetCurrentLevel());
    return title != nullptr && title->GetMenuMachine().GetCurrent() == MenuLevel::kTitle;
}

bool IsWarningTextShown(const MyGame&) {
    const DistanceUI* bar = Tundra::FindObject<DistanceUI>(Core::String("DistanceUI"));
    return bar != nullptr && bar->GetMachine() != nullptr &&
           bar->GetMachine()->GetCurrent() == DistanceUI::kDisplayWarning;
}

bool IsShopPageShown(const MyGame&) {
    const ShopUI* shop = Tundra::FindObject<ShopUI>(Core::String("ShopUI"));
    return shop != nullptr && shop->IsShown() && shop->IsPageBuilt();
}

// The frames are chosen where each scene has settled: the logo faded in,
// the title dropped, panels opened, the stage's fade gone.
constexpr std::array kMoments{
    Moment{"intro", Route::kMenus, JourneyStep::kIntro, 100},
    Moment{"title", Route::kMenus, JourneyStep::kTitleScreen, 0, &IsTitleAtRest},
    Moment{"title-level", Route::kBossStage, JourneyStep::kTitleLevel, 0},
    Moment{"shop", Route::kMenus, JourneyStep::kShop, 0, &IsShopPageShown, 40},
    Moment{"level-select", Route::kBossStage, JourneyStep::kLevelSelect, 0, nullptr, 45},
    Moment{"stage", Route::kBossStage, JourneyStep::kStage, 120},
    Moment{"boss-warning", Route::kBossStage, JourneyStep::kBossWarning, 0, &IsWarningTextShown},
    Moment{"boss-fight", Route::kBossStage, JourneyStep::kBossFight, 300},
    Moment{"results", Route::kBossStage, JourneyStep::kResults, 60},
};

}  // namespace

bool Moment::IsReachedAt(const mygametest::JourneyMoment& now) const {
    return now.step == step && now.stepFrame >= stepFrame && (ready == nullptr || ready(now.game));
}

std::span<const Moment> Moments() { return kMoments; }

const Moment* FindMoment(std::string_view name) {
    for (const Moment& moment : kMoments) {
        if (moment.name == name) {
            return &moment;
        }
    }
    return nullptr;
}

mygametest::JourneyPlan PlanFor(Route route) {
    mygametest::JourneyPlan plan;
    if (route == Route::kMenus) {
        plan.stageCount = 0;
        return plan;
    }
    // Health held, so that the fight always comes to its results.
    plan.firstStage = kBossStage;
    plan.stageCount = 1;
    plan.holdHealthStages = 1u << kBossStage;
    plan.returnToTitle = false;
    return plan;
}

}  // namespace screenshots
