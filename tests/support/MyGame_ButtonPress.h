#pragma once

#include "core/Core_String.h"

#include <functional>

class LabeledButton;

// Pressing and leaving the menus' buttons as a player would, with the
// cursor and the left mouse button over frames of the running test's game.
// Only a button that is visible and not being destroyed can be used; each
// call answers whether it did anything.

// The first such button held by the current level's HUD layer (one added
// this frame too) whose label shows the text; null when there is none.
LabeledButton* FindButton(const Core::String& label);

// A click: the cursor enters the button (a button made in this frame is
// entered a frame later) and stays until the button is shown, the left
// button goes down, then comes up over it.
bool PressButton(LabeledButton* button);
bool PressButton(const Core::String& label);

// Whether every button of the current level's HUD layer that is visible or
// about to show is shown (faded in): a page as a player clicks on it.
bool AreButtonsShown();
// Frames, each by `step` (by default the running test's step), until
// AreButtonsShown, a second at most; false when they are still not.
bool StepUntilButtonsShown(const std::function<void()>& step = {});

// The cursor enters the button, then leaves it: a key-capture button's
// leave callback runs.
bool LeaveButton(LabeledButton* button);
