// The ordinary enemies of the three themes (0 grassland by day, 1 dry dusk,
// 2 snowy night) and their shots. Walkers and flyers face left: the game
// flips them toward the player. The straight shots face +x: the game turns
// them along their flight.
#include <array>

#include "AssetGen_EnemyFigures.h"
#include "AssetGen_Sheet.h"

namespace AssetGen {

namespace {

template <int Theme>
void WalkerThrow(const FrameCanvas& canvas) {
    Enemy::DrawWalkerThrow(canvas, Theme);
}
template <int Theme>
void WalkerDeath(const FrameCanvas& canvas) {
    Enemy::DrawWalkerDeath(canvas, Theme);
}
template <int Theme>
void FlyerFlap(const FrameCanvas& canvas) {
    Enemy::DrawFlyerFlap(canvas, Theme);
}
template <int Theme>
void FlyerDeath(const FrameCanvas& canvas) {
    Enemy::DrawFlyerDeath(canvas, Theme);
}
template <int Theme>
void SpikeRoll(const FrameCanvas& canvas) {
    Enemy::DrawSpike(canvas, Theme);
}
template <int Theme>
void ArcShot(const FrameCanvas& canvas) {
    Enemy::DrawArcShot(canvas, Theme);
}
template <int Theme>
void Dart(const FrameCanvas& canvas) {
    Enemy::DrawDart(canvas, Theme);
}

constexpr std::array kEnemyArt{
    SheetArt{"Range1Shoot", WalkerThrow<0>}, SheetArt{"Range2Shoot", WalkerThrow<1>},
    SheetArt{"Range3Shoot", WalkerThrow<2>}, SheetArt{"Range1Dead", WalkerDeath<0>},
    SheetArt{"Range2Dead", WalkerDeath<1>},  SheetArt{"Range3Dead", WalkerDeath<2>},
    SheetArt{"Flying1", FlyerFlap<0>},       SheetArt{"Flying2", FlyerFlap<1>},
    SheetArt{"Flying3", FlyerFlap<2>},       SheetArt{"Flying1Dead", FlyerDeath<0>},
    SheetArt{"Flying2Dead", FlyerDeath<1>},  SheetArt{"Flying3Dead", FlyerDeath<2>},
    SheetArt{"Rolling1", SpikeRoll<0>},      SheetArt{"Rolling2", SpikeRoll<1>},
    SheetArt{"Rolling3", SpikeRoll<2>},      SheetArt{"Range1P", ArcShot<0>},
    SheetArt{"Range2P", ArcShot<1>},         SheetArt{"Range3P", ArcShot<2>},
    SheetArt{"Flying1P", Dart<0>},           SheetArt{"Flying2P", Dart<1>},
    SheetArt{"Flying3P", Dart<2>},
};

}  // namespace

std::span<const SheetArt> EnemyArt() { return kEnemyArt; }

}  // namespace AssetGen
