#include "AssetGen_Sheet.h"

namespace AssetGen {

std::span<const SheetArt> WorldArt() { return {}; }

}  // namespace AssetGen
