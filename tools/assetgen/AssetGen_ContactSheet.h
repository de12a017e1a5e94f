#pragma once

#include <string>

namespace AssetGen {

// One picture of every sprite sheet of the tree at `resources`, each scaled
// into a tile under its name with its grid lines and frame numbers (frame 0
// outlined in red), then the font image, the skins and the GUI images: for
// people to look the art over. False, with the reason, when it cannot be
// written.
bool WriteContactSheet(const std::string& resources, const std::string& output, std::string& error);

}  // namespace AssetGen
