#pragma once

#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_ParticleSystemBase.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

namespace mygametest {

// Whether the object's render node is drawn in screen space (a HUD object),
// for the kinds the level content places.
inline bool IsScreenSpace(const Tundra::GameObject& object) {
    if (const auto* sprite = dynamic_cast<const Tundra::Sprite*>(&object)) {
        return sprite->IsHUDObject();
    }
    if (const auto* text = dynamic_cast<const Tundra::Text*>(&object)) {
        return text->IsHUDObject();
    }
    if (const auto* system = dynamic_cast<const Tundra::ParticleSystemBase*>(&object)) {
        return system->IsHUDObject();
    }
    return false;
}

}  // namespace mygametest
