#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Templates.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"

#include <cstdint>

// A clone of the held template of the slot, added to the current level's HUD
// layer; null when the slot is empty, holds another class or there is no
// HUD layer (the clone is then freed).
template <class T>
T* CloneTemplateToHud(std::uint32_t slot) {
    MyGame* game = GetGame();
    Tundra::Layer* hud = game != nullptr ? game->GetHudLayer() : nullptr;
    if (hud == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Tundra::GameObject> clone(game->CloneTemplate(slot));
    auto* widget = dynamic_cast<T*>(clone.Get());
    if (widget != nullptr) {
        hud->AddGameObject(widget);
    }
    return widget;
}
