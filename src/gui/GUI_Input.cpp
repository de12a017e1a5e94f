#include "gui/GUI_Input.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace GUI::input {
namespace {

template <class Query>
bool AnyButton(Query query) {
    return query(0) || query(1) || query(2);
}

}  // namespace

Vector2D GetMousePosition() {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    if (mouse == nullptr) {
        return {};
    }
    return {static_cast<float>(mouse->GetPositionX()), static_cast<float>(mouse->GetPositionY())};
}

bool IsMouseInWindow() {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse == nullptr || mouse->IsInWindow();
}

bool IsMouseMoved() {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsMoved();
}

bool IsMouseButtonPressed(int button) {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsPressed(button);
}

bool IsMouseButtonDown(int button) {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsDown(button);
}

bool IsMouseButtonUp(int button) {
    const Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    return mouse != nullptr && mouse->IsUp(button);
}

bool IsAnyMouseButtonPressed() { return AnyButton(IsMouseButtonPressed); }
bool IsAnyMouseButtonDown() { return AnyButton(IsMouseButtonDown); }
bool IsAnyMouseButtonUp() { return AnyButton(IsMouseButtonUp); }

bool IsKeyTriggered(int keyId) {
    const Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    return keyboard != nullptr && keyboard->IsTriggered(keyId);
}

void ShowSystemCursor(bool show) {
    if (Input::MouseImp* mouse = Input::MouseImp::GetInstance()) {
        mouse->ShowCursor(show);
    }
}

void WarpMouse(const Vector2D& position) {
    Input::MouseImp* mouse = Input::MouseImp::GetInstance();
    os::Rect client;
    if (mouse == nullptr || !std::isfinite(position.x) || !std::isfinite(position.y) ||
        !os::GetClientRect(mouse->GetWindow(), &client)) {
        return;
    }
    const auto toPixel = [](float value, std::int32_t extent) {
        const float last = static_cast<float>(std::max(extent - 1, 0));
        return static_cast<std::int32_t>(std::clamp(value, 0.0f, last));
    };
    const std::int32_t x = toPixel(position.x, client.right - client.left);
    const std::int32_t y = toPixel(position.y, client.bottom - client.top);
    mouse->SetPosition(x, y);
}

}  // namespace GUI::input
