#include <array>

#include "AssetGen_BossFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Sheet.h"

namespace AssetGen {

namespace {

using Foe::DrawVariant;

constexpr std::array kBossArt{
    SheetArt{"UnknownBoss", Boss::DrawUnknownBody},
    SheetArt{"UnknownDead", Boss::DrawUnknownDeath},
    SheetArt{"UnknownEyes", Boss::DrawUnknownEyes},
    SheetArt{"UnLeft", DrawVariant<Boss::DrawUnknownHalf, Boss::kLeftHalf>},
    SheetArt{"UnknownLeftDead", DrawVariant<Boss::DrawUnknownHalfDeath, Boss::kLeftHalf>},
    SheetArt{"UnRight", DrawVariant<Boss::DrawUnknownHalf, Boss::kRightHalf>},
    SheetArt{"UnknownRightDead", DrawVariant<Boss::DrawUnknownHalfDeath, Boss::kRightHalf>},
    SheetArt{"BearBossBody", Boss::DrawBearBody},
    SheetArt{"BearBossLightAtt", Boss::DrawBearRoar},
    SheetArt{"BearBossDead", Boss::DrawBearDeath},
    SheetArt{"BearBossArm", Boss::DrawBearArm},
    SheetArt{"BearBossArmDead", Boss::DrawBearArmDeath},
    SheetArt{"Alpaca", Boss::DrawAlpaca},
    SheetArt{"AlpacaDead", Boss::DrawAlpacaDeath},
    SheetArt{"AlpacaEye1", DrawVariant<Boss::DrawAlpacaEyes, 0>},
    SheetArt{"AlpacaEye2", DrawVariant<Boss::DrawAlpacaEyes, 1>},
    SheetArt{"AlpacaEye3", DrawVariant<Boss::DrawAlpacaEyes, 2>},
    SheetArt{"BossAttWarn", Boss::DrawAttackWarning},
    SheetArt{"BearBall", Boss::DrawBearBall},
    SheetArt{"BearLightning", Boss::DrawBearLightning},
    SheetArt{"AlpacaBomb", Boss::DrawAlpacaBomb},
};

}  // namespace

std::span<const SheetArt> BossArt() { return kBossArt; }

}  // namespace AssetGen
