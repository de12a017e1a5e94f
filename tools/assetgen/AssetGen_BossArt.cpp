#include "AssetGen_Sheet.h"

namespace AssetGen {

std::span<const SheetArt> BossArt() { return {}; }

}  // namespace AssetGen
