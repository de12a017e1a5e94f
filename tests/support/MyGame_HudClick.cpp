#include "support/MyGame_HudClick.h"

#include "input/Input_Mouse.h"
#include "os/OS_HeadlessInput.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Game.h"

#include <cmath>

namespace mygametest {
namespace {

const Vector2D kViewCentre{512.0f, 384.0f};

}  // namespace

Vector2D ClientPixelOf(const Vector2D& hudPoint) { return hudPoint + kViewCentre; }

bool PointAt(const Vector2D& hudPoint) {
    Tundra::Game* game = Tundra::Game::GetInstance();
    Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    if (mouse == nullptr) {
        return false;
    }
    const Vector2D pixel = ClientPixelOf(hudPoint);
    mouse->SetPosition(static_cast<std::int32_t>(std::lround(pixel.x)), static_cast<std::int32_t>(std::lround(pixel.y)));
    return true;
}

void HoldLeftButton(bool down) { os::headless::SetKey(os::VK_LBUTTON, down); }

bool ClickAt(const Vector2D& hudPoint) {
    if (!PointAt(hudPoint)) {
        return false;
    }
    HoldLeftButton(false);
    MyGameTest::StepRunningTest();
    HoldLeftButton(true);
    MyGameTest::StepRunningTest();
    HoldLeftButton(false);
    MyGameTest::StepRunningTest();
    return true;
}

}  // namespace mygametest
