#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Templates.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"

#include <cstdint>

// A clone of the held template of the slot, added to the layer the game
// gives; null when the slot is empty, holds another class or there is no
// such layer (the clone is then freed).
template <class T, Tundra::Layer* (MyGame::*GetLayer)() const>
T* CloneTemplateToLayer(std::uint32_t slot) {
    MyGame* game = GetGame();
    Tundra::Layer* layer = game != nullptr ? (game->*GetLayer)() : nullptr;
    if (layer == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Tundra::GameObject> clone(game->CloneTemplate(slot));
    auto* object = dynamic_cast<T*>(clone.Get());
    if (object != nullptr) {
        layer->AddGameObject(object);
    }
    return object;
}

template <class T>
T* CloneTemplateToHud(std::uint32_t slot) {
    return CloneTemplateToLayer<T, &MyGame::GetHudLayer>(slot);
}

template <class T>
T* CloneTemplateToWorld(std::uint32_t slot) {
    return CloneTemplateToLayer<T, &MyGame::GetWorldLayer>(slot);
}

// A clone of the level's first T of the name, added to the layer the game
// gives; null without the object or the layer.
template <class T, Tundra::Layer* (MyGame::*GetLayer)() const>
T* CloneNamedToLayer(const Core::String& name) {
    const T* source = Tundra::FindObject<T>(name);
    MyGame* game = GetGame();
    Tundra::Layer* layer = game != nullptr ? (game->*GetLayer)() : nullptr;
    if (source == nullptr || layer == nullptr) {
        return nullptr;
    }
    const Core::RefPtr<Core::Object> clone(source->Clone());
    auto* object = dynamic_cast<T*>(clone.Get());
    if (object != nullptr) {
        layer->AddGameObject(object);
    }
    return object;
}

template <class T>
T* CloneNamedToHud(const Core::String& name) {
    return CloneNamedToLayer<T, &MyGame::GetHudLayer>(name);
}

template <class T>
T* CloneNamedToWorld(const Core::String& name) {
    return CloneNamedToLayer<T, &MyGame::GetWorldLayer>(name);
}
