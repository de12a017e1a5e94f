#pragma once

#include "core/Core_String.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <vector>

namespace Tundra {

// The first object of the name in this level whose class is T or derives
// from it: layers in index order, each in its name index's order. The level
// need not be current, so a level being built or being read from a stream
// can look into itself.
template <class T>
T* FindObject(const Level& level, const Core::String& name) {
    std::vector<GameObject*> objects;
    for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
        level.GetLayer(i)->GetGameObjectsByName(name, objects);
        for (GameObject* object : objects) {
            if (auto* found = dynamic_cast<T*>(object)) {
                return found;
            }
        }
    }
    return nullptr;
}

// The same in the current level. Null when none, or when no level is current.
template <class T>
T* FindObject(const Core::String& name) {
    const Game* game = Game::GetInstance();
    const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    return level != nullptr ? FindObject<T>(*level, name) : nullptr;
}

}  // namespace Tundra
