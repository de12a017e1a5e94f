#include "AssetGen_Sheet.h"

namespace AssetGen {

std::span<const SheetArt> PlayerArt() { return {}; }

}  // namespace AssetGen
