#include "AssetGen_LayerCollisions.h"

#include "AssetGen_OutputFiles.h"

namespace AssetGen::LayerCollisions {

bool Write(const std::string& path, std::uint64_t, std::string& error) { return WriteText(path, kNoShapes, error); }

}  // namespace AssetGen::LayerCollisions
