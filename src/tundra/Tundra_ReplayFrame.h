#pragma once

#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// The input of one recorded update: what the keyboard and the mouse listed
// at their poll (codes or buttons, five state bytes each), the mouse's
// movement record, and the update's dt in seconds.
struct ReplayFrame {
    // 1 when the keyboard listed any key; its lists are kept only then.
    std::uint8_t keyboardPresent = 0;
    std::vector<std::uint8_t> keys;
    std::vector<std::uint8_t> keyStates;
    // 1 when the mouse moved or listed a button; its lists are kept only then.
    std::uint8_t mousePresent = 0;
    std::vector<std::uint8_t> buttons;
    std::vector<std::uint8_t> buttonStates;
    Input::MouseMovementRecord mouse{};
    float dt = 0.0f;

    std::int32_t GetMouseX() const;
    std::int32_t GetMouseY() const;
    // Only the current position: a replay data file keeps no more of the record.
    void SetMousePosition(std::int32_t x, std::int32_t y);
};

// What the devices report after their poll; either may be null (nothing listed).
ReplayFrame CaptureReplayFrame(const Input::Keyboard* keyboard, const Input::Mouse* mouse, float dt);

// Gives the devices (either may be null) the recorded states: a keyboard
// without keys is reset and leaves its wait for release; the mouse takes the
// position and buttons.
void ApplyReplayFrame(const ReplayFrame& frame, Input::Keyboard* keyboard, Input::Mouse* mouse);

// Puts the mouse where the frame has it, so that applying the frame next
// does not read as a move: the recording's mouse stood there when its first
// frame was polled, right after its starting state was loaded.
void RestMouseAt(const ReplayFrame& frame, Input::Mouse& mouse);

}  // namespace Tundra
