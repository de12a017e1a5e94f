#pragma once

#include "core/Core_String.h"

class LabeledButton;

// Pressing and leaving the menus' buttons as a player would, with the
// cursor and the left mouse button over frames of the running test's game.
// Only a button that is shown and not being destroyed can be used; each
// call answers whether it did anything.

// The first such button held by the current level's HUD layer (one added
// this frame too) whose label shows the text; null when there is none.
LabeledButton* FindButton(const Core::String& label);

// A click: the cursor enters the button (a button made in this frame is
// entered a frame later), the left button goes down, then comes up over it.
bool PressButton(LabeledButton* button);
bool PressButton(const Core::String& label);

// The cursor enters the button, then leaves it: a key-capture button's
// leave callback runs.
bool LeaveButton(LabeledButton* button);
