#include "AssetGen_Files.h"

namespace AssetGen {

std::span<const FileArt> ResourceFiles() { return {}; }

}  // namespace AssetGen
