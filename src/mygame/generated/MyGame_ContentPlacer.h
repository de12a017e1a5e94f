#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_ContentRows.h"
#include "tundra/Tundra_GameObject.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Places the rows of a level layer by layer and keeps a handle to each
// object: one table per level, indexed by the row's place in the level
// (layer 0's rows first, then layer 1's, then layer 2's).
class ContentPlacer {
public:
    // Places the rows of layer `layer` on the factory's current layer of that
    // index, then reads the layer's static-collision file; nothing without
    // such a layer or level.
    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer, const LevelRows& rows);
    // Null for a row not placed, out of range, or once forgotten.
    Tundra::GameObject* GetObject(std::uint32_t level, std::size_t row) const;
    // The level is going: every handle is dropped.
    void ForgetObjects();

private:
    std::array<std::vector<Core::RefPtr<Tundra::GameObject>>, MyLevelFactory::kLevelCount> m_handles;
};
