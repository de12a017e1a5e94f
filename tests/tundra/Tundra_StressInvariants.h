#pragma once

#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <string>
#include <vector>

namespace tundrastress {

inline std::string LayerName(const Tundra::Level& level, const Tundra::Layer* layer) {
    for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
        if (level.GetLayer(i) == layer) {
            return "layer " + std::to_string(i);
        }
    }
    return layer == nullptr ? "no layer" : "a layer outside the level";
}

// What must hold of a level between frames, whatever its hooks did: every
// object a layer lists names that layer, and isGone (an object that was
// cleaned up) holds of none. The first fault found, or empty.
template <class IsGone>
std::string LayerListingFault(const Tundra::Level& level, IsGone isGone) {
    std::vector<Tundra::GameObject*> objects;
    for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
        const Tundra::Layer* layer = level.GetLayer(i);
        layer->GetGameObjects(objects);
        for (const Tundra::GameObject* object : objects) {
            const std::string which = "layer " + std::to_string(i) + " lists object " + std::to_string(object->GetID());
            if (object->GetLayer() != layer) {
                return which + ", which names " + LayerName(level, object->GetLayer());
            }
            if (isGone(*object)) {
                return which + ", which was cleaned up";
            }
        }
    }
    return {};
}

}  // namespace tundrastress
