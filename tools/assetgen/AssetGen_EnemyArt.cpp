#include "AssetGen_Sheet.h"

namespace AssetGen {

std::span<const SheetArt> EnemyArt() { return {}; }

}  // namespace AssetGen
