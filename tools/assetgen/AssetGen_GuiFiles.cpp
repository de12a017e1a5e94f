#include "AssetGen_Files.h"

namespace AssetGen {

std::span<const FileArt> GuiFiles() { return {}; }

}  // namespace AssetGen
