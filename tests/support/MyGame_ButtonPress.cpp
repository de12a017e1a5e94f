#include "support/MyGame_ButtonPress.h"

#include "core/Core_RefPtr.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LabeledButtonTestHooks.h"
#include "tundra/Tundra_Layer.h"

#include <functional>
#include <vector>

namespace {

bool IsUsable(const LabeledButton& button) {
    return button.GetVisible() && !button.IsDestroyRequested() && !button.IsDestroyed();
}

// The callback may destroy the button and its label, or make new buttons:
// the button and a copy of the callback are held while it runs.
bool Run(LabeledButton* button, const std::function<void()>& (*callbackOf)(const LabeledButton&)) {
    if (button == nullptr || !IsUsable(*button)) {
        return false;
    }
    const Core::RefPtr<LabeledButton> held(button);
    const std::function<void()> callback = callbackOf(*button);
    if (!callback) {
        return false;
    }
    callback();
    return true;
}

}  // namespace

LabeledButton* FindButton(const Core::String& label) {
    MyGame* game = GetGame();
    Tundra::Layer* hud = game != nullptr ? game->GetHudLayer() : nullptr;
    if (hud == nullptr) {
        return nullptr;
    }
    std::vector<Tundra::GameObject*> objects;
    hud->GetHeldGameObjects(objects);
    for (Tundra::GameObject* object : objects) {
        auto* button = dynamic_cast<LabeledButton*>(object);
        if (button != nullptr && IsUsable(*button) && button->GetLabel() != nullptr &&
            button->GetLabel()->GetText() == label) {
            return button;
        }
    }
    return nullptr;
}

bool PressButton(LabeledButton* button) {
    return Run(button, &LabeledButtonTestAccess::GetClickCallback);
}

bool PressButton(const Core::String& label) {
    return PressButton(FindButton(label));
}

bool LeaveButton(LabeledButton* button) {
    if (button == nullptr || !button->HasLeaveCallback()) {
        return false;
    }
    return Run(button, &LabeledButtonTestAccess::GetLeaveCallback);
}
