#pragma once

#include <cstdint>

namespace Tundra {

// What a walk over a layer's objects reads of each: its leading fields
// alone (the late updates), with the scene node's matrix (the transform
// pass), or everything an update touches (a derived class's first lines,
// and what RenderSync writes). Walks ask the caches for it a few objects
// ahead of the one they are at.
enum class WalkReads : std::uint8_t { LeadingFields, SceneNode, Everything };

}  // namespace Tundra
