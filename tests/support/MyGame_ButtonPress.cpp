#include "support/MyGame_ButtonPress.h"

#include "core/Core_RefPtr.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_LabeledButton.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_RunningTest.h"
#include "tundra/Tundra_Layer.h"

#include <vector>

namespace mygametest {
namespace {

bool IsUsable(const LabeledButton& button) {
    return button.GetVisible() && !button.IsDestroyRequested() && !button.IsDestroyed();
}

constexpr std::uint32_t kIdle = 0;
// A button coming in from -3 is shown within a second.
constexpr int kFadeInFrameLimit = 60;

// The buttons held by the current level's HUD layer, one added this frame
// too.
std::vector<LabeledButton*> HudButtons() {
    std::vector<LabeledButton*> buttons;
    MyGame* game = GetGame();
    Tundra::Layer* hud = game != nullptr ? game->GetHudLayer() : nullptr;
    if (hud == nullptr) {
        return buttons;
    }
    std::vector<Tundra::GameObject*> objects;
    hud->GetHeldGameObjects(objects);
    for (Tundra::GameObject* object : objects) {
        if (auto* button = dynamic_cast<LabeledButton*>(object)) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

// A point of the HUD no menu puts a button on: the screen's bottom-left
// corner.
const Vector2D kAwayFromButtons{-511.0f, -383.0f};

// The cursor onto a usable button, stepped until the button is hovered and
// shown and then for a frame with the cursor still; false when it was not
// usable.
bool Enter(LabeledButton* button) {
    if (button == nullptr || !IsUsable(*button) || !PointAt(button->GetPosition())) {
        return false;
    }
    // A button made in this frame measures itself at its first update and
    // is entered at its second.
    const Core::RefPtr<LabeledButton> held(button);
    for (int frame = 0; frame < kFadeInFrameLimit && (button->GetState() == kIdle || !button->IsShown()); ++frame) {
        StepRunningTest();
    }
    // The mouse of a game that has just loaded ignores its buttons until the
    // cursor has stood still between two polls.
    StepRunningTest();
    return IsUsable(*button);
}

}  // namespace
}  // namespace mygametest

using namespace mygametest;

LabeledButton* FindButton(const Core::String& label) {
    for (LabeledButton* button : HudButtons()) {
        if (IsUsable(*button) && button->GetLabel() != nullptr && button->GetLabel()->GetText() == label) {
            return button;
        }
    }
    return nullptr;
}

bool AreButtonsShown() {
    for (const LabeledButton* button : HudButtons()) {
        const bool coming = (button->GetVisible() || button->IsShowPending()) && !button->IsDestroyRequested();
        if (coming && !button->IsShown()) {
            return false;
        }
    }
    return true;
}

bool StepUntilButtonsShown(const std::function<void()>& step) {
    for (int frame = 0; frame < kFadeInFrameLimit && !AreButtonsShown(); ++frame) {
        if (step) {
            step();
        } else {
            StepRunningTest();
        }
    }
    return AreButtonsShown();
}

bool PressButton(LabeledButton* button) {
    if (!Enter(button)) {
        return false;
    }
    PressAndRelease();
    return true;
}

bool PressButton(const Core::String& label) { return PressButton(FindButton(label)); }

bool LeaveButton(LabeledButton* button) {
    if (button == nullptr || !button->HasLeaveCallback() || !Enter(button)) {
        return false;
    }
    PointAt(kAwayFromButtons);
    StepRunningTest();
    return true;
}
