#include "AssetGen_Sheet.h"

namespace AssetGen {

std::span<const SheetArt> InterfaceArt() { return {}; }

}  // namespace AssetGen
