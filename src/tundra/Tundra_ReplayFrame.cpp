#include "tundra/Tundra_ReplayFrame.h"

#include "input/Input_Bytes.h"

namespace Tundra {

std::int32_t ReplayFrame::GetMouseX() const { return Input::LoadI32(&mouse[Input::kMovementCurrentX]); }

std::int32_t ReplayFrame::GetMouseY() const { return Input::LoadI32(&mouse[Input::kMovementCurrentY]); }

void ReplayFrame::SetMousePosition(std::int32_t x, std::int32_t y) {
    mouse = {};
    Input::StoreI32(&mouse[Input::kMovementCurrentX], x);
    Input::StoreI32(&mouse[Input::kMovementCurrentY], y);
}

ReplayFrame CaptureReplayFrame(const Input::Keyboard* keyboard, const Input::Mouse* mouse, float dt) {
    ReplayFrame frame;
    frame.dt = dt;
    if (keyboard != nullptr && keyboard->GetEvents(frame.keys, frame.keyStates)) {
        frame.keyboardPresent = 1;
    } else {
        frame.keys.clear();
        frame.keyStates.clear();
    }
    if (mouse != nullptr && mouse->GetEvents(frame.mouse, frame.buttons, frame.buttonStates)) {
        frame.mousePresent = 1;
    } else {
        frame.buttons.clear();
        frame.buttonStates.clear();
    }
    return frame;
}

void ApplyReplayFrame(const ReplayFrame& frame, Input::Keyboard* keyboard, Input::Mouse* mouse) {
    if (keyboard != nullptr && frame.keyboardPresent != 0) {
        keyboard->ApplyEvents(frame.keys, frame.keyStates);
    } else if (keyboard != nullptr) {
        keyboard->Reset();
        keyboard->EndWaitForRelease();
    }
    if (mouse != nullptr) {
        mouse->ApplyEvents(frame.mouse, frame.buttons, frame.buttonStates);
    }
}

void RestMouseAt(const ReplayFrame& frame, Input::Mouse& mouse) { mouse.ApplyEvents(frame.mouse, {}, {}); }

}  // namespace Tundra
