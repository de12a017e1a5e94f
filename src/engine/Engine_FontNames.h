#pragma once

#include "core/Core_String.h"

#include <string_view>

namespace Engine {

// How fonts are named in memory (the full path without extension, as fonts
// load and the font cache keys them) and in streams (relative to the
// resources beside the executable, so that a save still finds its fonts
// after the game moved to another folder).

// The full path of the default font, which the empty name stands for.
Core::String DefaultFontPath();

// The full path of the font the name names: the default font's for the empty
// name, otherwise the name as it is.
Core::String FontPath(const Core::String& name);

// The name a stream keeps for the font at path: relative to the resources
// when the font lies below them, otherwise the path itself.
Core::String StoredFontName(std::string_view path);

// The full path a stored name names here: a relative name below this
// installation's resources; a full path below some installation's
// resources (as older saves keep them) below this one's; any other full
// path as it is.
Core::String FontPathFromStored(std::string_view stored);

}  // namespace Engine
