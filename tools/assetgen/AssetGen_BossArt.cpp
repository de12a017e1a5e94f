#include <array>

#include "AssetGen_BossFigures.h"
#include "AssetGen_Sheet.h"

namespace AssetGen {

namespace {

template <int Phase>
void AlpacaEyes(const FrameCanvas& canvas) {
    Boss::DrawAlpacaEyes(canvas, Phase);
}
template <bool Left>
void UnknownHalf(const FrameCanvas& canvas) {
    Boss::DrawUnknownHalf(canvas, Left);
}
template <bool Left>
void UnknownHalfDeath(const FrameCanvas& canvas) {
    Boss::DrawUnknownHalfDeath(canvas, Left);
}

constexpr std::array kBossArt{
    SheetArt{"UnknownBoss", Boss::DrawUnknownBody},
    SheetArt{"UnknownDead", Boss::DrawUnknownDeath},
    SheetArt{"UnknownEyes", Boss::DrawUnknownEyes},
    SheetArt{"UnLeft", UnknownHalf<true>},
    SheetArt{"UnknownLeftDead", UnknownHalfDeath<true>},
    SheetArt{"UnRight", UnknownHalf<false>},
    SheetArt{"UnknownRightDead", UnknownHalfDeath<false>},
    SheetArt{"BearBossBody", Boss::DrawBearBody},
    SheetArt{"BearBossLightAtt", Boss::DrawBearRoar},
    SheetArt{"BearBossDead", Boss::DrawBearDeath},
    SheetArt{"BearBossArm", Boss::DrawBearArm},
    SheetArt{"BearBossArmDead", Boss::DrawBearArmDeath},
    SheetArt{"Alpaca", Boss::DrawAlpaca},
    SheetArt{"AlpacaDead", Boss::DrawAlpacaDeath},
    SheetArt{"AlpacaEye1", AlpacaEyes<0>},
    SheetArt{"AlpacaEye2", AlpacaEyes<1>},
    SheetArt{"AlpacaEye3", AlpacaEyes<2>},
    SheetArt{"BossAttWarn", Boss::DrawAttackWarning},
    SheetArt{"BearBall", Boss::DrawBearBall},
    SheetArt{"BearLightning", Boss::DrawBearLightning},
    SheetArt{"AlpacaBomb", Boss::DrawAlpacaBomb},
};

}  // namespace

std::span<const SheetArt> BossArt() { return kBossArt; }

}  // namespace AssetGen
