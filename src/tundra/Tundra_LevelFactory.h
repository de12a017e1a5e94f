#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"

#include <cstdint>

namespace Tundra {

class Level;

// Knows a game's levels: how many, how to build each, and their names.
class LevelFactory : public Core::Object {
public:
    virtual std::uint32_t GetLevelsCount() const = 0;
    // The whole level with count 0 (the game takes the first reference);
    // null when it cannot be built.
    virtual Level* CreateLevel(std::uint32_t index) = 0;
    // A concrete factory may call it on itself once a level is built.
    virtual void OnLevelBuilt(std::int32_t value) {}
    // The current level index changed; the new level is built next.
    virtual void OnLevelChanged() {}
    // False when the name is not a level of this factory.
    virtual bool GetLevelIndex(const Core::String& name, std::uint32_t& index) const { return false; }
};

}  // namespace Tundra
