#include "support/MyGame_HudClick.h"

#include "engine/Engine_RenderingApplication.h"
#include "input/Input_Mouse.h"
#include "os/OS_Backend.h"
#include "os/OS_HeadlessInput.h"
#include "pal/PAL_Window.h"
#include "support/MyGame_RunningTest.h"
#include "tundra/Tundra_Game.h"

#include <SDL.h>

#include <cmath>

namespace mygametest {
namespace {

const Vector2D kViewCentre{512.0f, 384.0f};

bool g_heldOffscreen = false;

}  // namespace

Vector2D ClientPixelOf(const Vector2D& hudPoint) { return hudPoint + kViewCentre; }

bool PointAt(const Vector2D& hudPoint) {
    Tundra::Game* game = Tundra::Game::GetInstance();
    Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    if (mouse == nullptr) {
        return false;
    }
    // SDL's offscreen driver reports the pointer relative to the window it
    // is in: with the window at the origin that is also its screen position.
    if (!os::IsHeadless()) {
        Engine::RenderingApplication::GetInstance()->GetWindow().SetPosition(0, 0);
    }
    const Vector2D pixel = ClientPixelOf(hudPoint);
    mouse->SetPosition(static_cast<std::int32_t>(std::lround(pixel.x)), static_cast<std::int32_t>(std::lround(pixel.y)));
    return true;
}

void HoldLeftButton(bool down) {
    if (os::IsHeadless()) {
        os::headless::SetKey(os::VK_LBUTTON, down);
    }
    g_heldOffscreen = down && !os::IsHeadless();
}

void PumpOffscreenInput() {
    if (os::IsHeadless()) {
        return;
    }
    // SDL's offscreen driver has no button that stays down, but a press and
    // a release within one pump reach the next poll as held: one of them
    // before every frame keeps the button held.
    if (g_heldOffscreen) {
        for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.type = type;
            event.button.button = SDL_BUTTON_LEFT;
            SDL_PushEvent(&event);
        }
    }
    PAL::PumpMessages();
}

void PressAndRelease() {
    HoldLeftButton(true);
    StepRunningTest();
    HoldLeftButton(false);
    StepRunningTest();
}

bool ClickAt(const Vector2D& hudPoint) {
    if (!PointAt(hudPoint)) {
        return false;
    }
    StepRunningTest();
    PressAndRelease();
    return true;
}

}  // namespace mygametest
