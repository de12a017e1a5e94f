#pragma once

#include "mygame/MyGame_LabeledButton.h"

#include <functional>

// The callbacks a test runs in place of a click or of the cursor leaving.
class LabeledButtonTestAccess {
public:
    static const std::function<void()>& GetClickCallback(const LabeledButton& button) { return button.m_click; }
    static const std::function<void()>& GetLeaveCallback(const LabeledButton& button) { return button.m_leave; }
};
