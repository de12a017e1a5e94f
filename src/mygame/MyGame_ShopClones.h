#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "mygame/MyGame.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"

// A clone of the level's first T of the name, added to the HUD layer; null
// without the object or a HUD layer.
template <class T>
T* CloneNamedToHud(const Core::String& name) {
    const T* source = Tundra::FindObject<T>(name);
    MyGame* game = GetGame();
    Tundra::Layer* hud = game != nullptr ? game->GetHudLayer() : nullptr;
    if (source == nullptr || hud == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Core::Object> clone(source->Clone());
    auto* object = dynamic_cast<T*>(clone.Get());
    if (object != nullptr) {
        hud->AddGameObject(object);
    }
    return object;
}
