#pragma once

#include "core/Core_String.h"

#include <string_view>

// How the jukebox stores its music paths: from the program's "\Resources"
// folder on, so that a save does not depend on where the game is installed.
namespace Tundra {

// The part from the last "\resources", else from the last "\Resources"; empty
// when neither occurs.
Core::String ToStoredMusicPath(std::string_view fullPath);
// The program directory joined with a stored path.
Core::String FromStoredMusicPath(std::string_view storedPath);
// Whether a stored path climbs out of the program's folder: one of its
// components, between slashes or backslashes, is "..".
bool ClimbsOutOfFolder(std::string_view storedPath);

}  // namespace Tundra
