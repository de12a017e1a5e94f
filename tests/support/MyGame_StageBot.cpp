#include "support/MyGame_StageBot.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "os/OS_Backend.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "pal/PAL_Window.h"
#include "support/MyGame_JourneyKeys.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace mygametest {
namespace {

constexpr float kTileSize = 46.0f;
constexpr float kWalkRightBelow = 350.0f;
constexpr float kWalkLeftAbove = 650.0f;
// The Bear's arms sweep the screen's right from about x 650.
constexpr float kWalkLeftAboveNearTheBear = 550.0f;
constexpr float kLeftmostStand = 250.0f;
// A column hurts 40 units either side of its x, a strike 35 around its
// place; the player steps this far clear.
constexpr float kHazardReach = 60.0f;
// A rise whose near edge is this close ahead is jumped: the ground comes at
// 100 units a second, and a jump clears one row well within a tile.
constexpr float kJumpReach = 1.5f * kTileSize;
constexpr float kCursorLead = 300.0f;
constexpr std::int32_t kBearKind = 3;

// The top of the column under x; NaN where none is.
float GroundUnder(const std::vector<Vector2D>& tops, float x) {
    float y = std::nanf("");
    for (const Vector2D& top : tops) {
        if (std::fabs(top.x - x) <= kTileSize / 2.0f && !(top.y <= y)) {
            y = top.y;
        }
    }
    return y;
}

bool RiseAhead(const StageView& view) {
    const float standing = GroundUnder(view.groundTops, view.player.x);
    const float reference = std::isnan(standing) ? view.player.y - kTileSize : standing;
    for (const Vector2D& top : view.groundTops) {
        const float nearEdge = top.x - kTileSize / 2.0f;
        if (nearEdge > view.player.x && nearEdge - view.player.x <= kJumpReach &&
            top.y > reference + kTileSize / 2.0f) {
            return true;
        }
    }
    return false;
}

// Where the player should walk to be clear of every hazard: the nearer
// end of the run of overlapping danger zones it stands in (the far end when
// the near one leaves the band); its own x when it stands clear.
float SafeX(const StageView& view, float rightmost) {
    std::vector<float> xs;
    for (const Vector2D& hazard : view.hazards) {
        xs.push_back(hazard.x);
    }
    std::sort(xs.begin(), xs.end());
    const float x = view.player.x;
    std::size_t first = 0;
    while (first < xs.size()) {
        std::size_t last = first;
        while (last + 1 < xs.size() && xs[last + 1] - xs[last] < 2.0f * kHazardReach) {
            ++last;
        }
        const float low = xs[first] - kHazardReach;
        const float high = xs[last] + kHazardReach;
        if (x > low && x < high) {
            const bool lowFits = low >= kLeftmostStand;
            const bool highFits = high <= rightmost;
            if (lowFits && (!highFits || x - low <= high - x)) {
                return low - 1.0f;
            }
            return highFits ? high + 1.0f : x;
        }
        first = last + 1;
    }
    return x;
}

const Vector2D* NearestEnemy(const StageView& view) {
    const Vector2D* nearest = nullptr;
    float best = std::numeric_limits<float>::infinity();
    for (const Vector2D& enemy : view.enemies) {
        const float distance = (enemy - view.player).Length();
        if (distance < best) {
            best = distance;
            nearest = &enemy;
        }
    }
    return nearest;
}

bool OnScreen(const Vector2D& position) {
    return position.x >= 0.0f && position.x <= static_cast<float>(MyGame::kWidth) && position.y >= 0.0f &&
           position.y <= static_cast<float>(MyGame::kHeight);
}

void Click(bool down) {
    if (os::IsHeadless()) {
        os::headless::SetKey(os::VK_LBUTTON, down);
        return;
    }
    if (down) {
        SDL_Event event{};
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = SDL_PRESSED;
        for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            event.type = type;
            SDL_PushEvent(&event);
        }
    }
}

}  // namespace

StageInput DecideStageInput(const StageView& view) {
    StageInput input;
    const bool evenFrame = view.frame % 2 == 0;
    if (view.storyShowing || view.resultsShowing) {
        input.click = evenFrame;
        return input;
    }
    const float rightmost = view.bearPresent ? kWalkLeftAboveNearTheBear : kWalkLeftAbove;
    const float safe = SafeX(view, rightmost);
    if (safe != view.player.x) {
        input.right = safe > view.player.x;
        input.left = safe < view.player.x;
    } else {
        input.right = view.player.x < kWalkRightBelow;
        input.left = view.player.x > rightmost;
    }
    input.jump = evenFrame && RiseAhead(view);
    if (const Vector2D* enemy = NearestEnemy(view)) {
        input.cursor = *enemy;
        input.click = true;
    } else {
        input.cursor = {view.player.x + kCursorLead, view.player.y};
    }
    return input;
}

StageView LookAtStage(const GameLevel& stage, std::int64_t frame) {
    StageView view;
    view.frame = frame;
    if (const Player* player = Globals().player) {
        view.player = player->GetPosition();
    }
    std::vector<Tundra::GameObject*> tops;
    const Core::String topName("MapTileColliderTemplate");
    stage.GetGameObjects(&topName, tops);
    for (const Tundra::GameObject* top : tops) {
        if (top->GetVisible()) {
            view.groundTops.push_back(top->GetPosition());
        }
    }
    for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
        const Enemy* enemy = stage.GetLiveEnemy(i);
        if (enemy->GetHealth() > 0.0f && enemy->GetVisible() && OnScreen(enemy->GetPosition())) {
            view.enemies.push_back(enemy->GetPosition());
        }
        view.bearPresent = view.bearPresent || (enemy->GetEnemyKind() == kBearKind && enemy->GetVisible());
    }
    std::vector<Tundra::GameObject*> shots;
    const Core::String shotName("BossProjTemplate");
    stage.GetGameObjects(&shotName, shots);
    for (const Tundra::GameObject* shot : shots) {
        const auto* bossShot = dynamic_cast<const BossProjectile*>(shot);
        const std::int32_t kind = bossShot != nullptr && bossShot->GetVisible() ? bossShot->GetKind() : -1;
        if (kind == BossProjectile::kWarningMarker || kind == BossProjectile::kColumn ||
            kind == BossProjectile::kStrike) {
            view.hazards.push_back(bossShot->GetPosition());
        }
    }
    view.storyShowing = stage.IsStoryActive();
    view.resultsShowing = stage.AreResultsShowing();
    return view;
}

void ApplyStageInput(const StageInput& input) {
    HoldJourneyKey('A', input.left);
    HoldJourneyKey('D', input.right);
    HoldJourneyKey('W', input.jump);
    Click(input.click);
    // The game reads the cursor with y up from the window's bottom row.
    os::SetCursorPos(static_cast<std::int32_t>(input.cursor.x),
                     static_cast<std::int32_t>(MyGame::kHeight) - 1 - static_cast<std::int32_t>(input.cursor.y));
    if (!os::IsHeadless()) {
        PAL::PumpMessages();
    }
}

}  // namespace mygametest
