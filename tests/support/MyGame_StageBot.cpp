#include "support/MyGame_StageBot.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "os/OS_Backend.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "pal/PAL_Window.h"

#include <SDL.h>

#include <cmath>

namespace mygametest {
namespace {

constexpr float kTileSize = 46.0f;
constexpr float kWalkRightBelow = 350.0f;
constexpr float kWalkLeftAbove = 650.0f;
// A rise whose near edge is this close ahead is jumped: the ground comes at
// 100 units a second, and a jump clears one row well within a tile.
constexpr float kJumpReach = 1.5f * kTileSize;
constexpr float kCursorLead = 300.0f;

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

void Hold(os::VirtualKey key, SDL_Scancode scancode, SDL_Keycode sym, bool down) {
    if (os::IsHeadless()) {
        os::headless::SetKey(key, down);
        return;
    }
    // The real backend reads held keys from the display: a tap in every
    // frame's events reads as held in that frame's poll.
    if (down) {
        SDL_Event event{};
        event.key.keysym = {scancode, sym, KMOD_NONE, 0};
        for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            event.type = type;
            SDL_PushEvent(&event);
        }
    }
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
    if (view.storyShowing) {
        input.click = evenFrame;
        return input;
    }
    input.right = view.player.x < kWalkRightBelow;
    input.left = view.player.x > kWalkLeftAbove;
    input.jump = evenFrame && RiseAhead(view);
    input.cursor = {view.player.x + kCursorLead, view.player.y};
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
    view.storyShowing = stage.IsStoryActive();
    return view;
}

void ApplyStageInput(const StageInput& input) {
    Hold(os::VK_A, SDL_SCANCODE_A, SDLK_a, input.left);
    Hold(os::VK_A + ('D' - 'A'), SDL_SCANCODE_D, SDLK_d, input.right);
    Hold(os::VK_A + ('W' - 'A'), SDL_SCANCODE_W, SDLK_w, input.jump);
    Click(input.click);
    // The game reads the cursor with y up from the window's bottom row.
    os::SetCursorPos(static_cast<std::int32_t>(input.cursor.x),
                     static_cast<std::int32_t>(MyGame::kHeight) - 1 - static_cast<std::int32_t>(input.cursor.y));
    if (!os::IsHeadless()) {
        PAL::PumpMessages();
    }
}

}  // namespace mygametest
