#pragma once

#include "core/Core_String.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Level.h"

#include <vector>

// The first object of the name in this level whose class is T or derives
// from it: layers in index order, each in its name index's order. Unlike
// Tundra::FindObject it does not need the level to be current, so a level
// being built or being read from a stream can look into itself.
template <class T>
T* FindInLevel(const Tundra::Level& level, const Core::String& name) {
    std::vector<Tundra::GameObject*> objects;
    level.GetGameObjects(&name, objects);
    for (Tundra::GameObject* object : objects) {
        if (auto* found = dynamic_cast<T*>(object)) {
            return found;
        }
    }
    return nullptr;
}
