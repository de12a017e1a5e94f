#pragma once

#include "core/Core_String.h"

#include <string_view>

// How the jukebox stores its music paths: from the program's "\Resources"
// folder on, so that a save does not depend on where the game is installed.
namespace Tundra {

// The part from the last "\resources", else from the last "\Resources"; empty
// when neither occurs.
Core::String ToStoredMusicPath(std::string_view fullPath);
// Whether a stored path names a file inside the program's resources, where
// ToStoredMusicPath stores music from: it starts with "\Resources\" in any
// letter case, and no part of it, between slashes or backslashes, is "..".
bool IsStoredMusicPath(std::string_view storedPath);
// The program directory joined with a stored path that IsStoredMusicPath
// accepts; false, leaving fullPath as it was, for any other.
bool FromStoredMusicPath(std::string_view storedPath, Core::String& fullPath);

}  // namespace Tundra
