// The ordinary enemies of the three themes (0 grassland by day, 1 dry dusk,
// 2 snowy night) and their shots. Walkers and flyers face left: the game
// flips them toward the player. The straight shots face +x: the game turns
// them along their flight.
#include <array>

#include "AssetGen_EnemyFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Sheet.h"

namespace AssetGen {

namespace {

using Foe::DrawVariant;
using namespace Enemy;

// Each drawing serves the three themes, the sheet's number naming the theme.
constexpr std::array kEnemyArt{
    SheetArt{"Range1Shoot", DrawVariant<DrawWalkerThrow, 0>}, SheetArt{"Range2Shoot", DrawVariant<DrawWalkerThrow, 1>},
    SheetArt{"Range3Shoot", DrawVariant<DrawWalkerThrow, 2>}, SheetArt{"Range1Dead", DrawVariant<DrawWalkerDeath, 0>},
    SheetArt{"Range2Dead", DrawVariant<DrawWalkerDeath, 1>},  SheetArt{"Range3Dead", DrawVariant<DrawWalkerDeath, 2>},
    SheetArt{"Flying1", DrawVariant<DrawFlyerFlap, 0>},       SheetArt{"Flying2", DrawVariant<DrawFlyerFlap, 1>},
    SheetArt{"Flying3", DrawVariant<DrawFlyerFlap, 2>},       SheetArt{"Flying1Dead", DrawVariant<DrawFlyerDeath, 0>},
    SheetArt{"Flying2Dead", DrawVariant<DrawFlyerDeath, 1>},  SheetArt{"Flying3Dead", DrawVariant<DrawFlyerDeath, 2>},
    SheetArt{"Rolling1", DrawVariant<DrawSpike, 0>},          SheetArt{"Rolling2", DrawVariant<DrawSpike, 1>},
    SheetArt{"Rolling3", DrawVariant<DrawSpike, 2>},          SheetArt{"Range1P", DrawVariant<DrawArcShot, 0>},
    SheetArt{"Range2P", DrawVariant<DrawArcShot, 1>},         SheetArt{"Range3P", DrawVariant<DrawArcShot, 2>},
    SheetArt{"Flying1P", DrawVariant<DrawDart, 0>},           SheetArt{"Flying2P", DrawVariant<DrawDart, 1>},
    SheetArt{"Flying3P", DrawVariant<DrawDart, 2>},
};

}  // namespace

std::span<const SheetArt> EnemyArt() { return kEnemyArt; }

}  // namespace AssetGen
