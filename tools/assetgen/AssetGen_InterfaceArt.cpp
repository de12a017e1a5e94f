#include <array>

#include "AssetGen_InterfaceSheets.h"

namespace AssetGen {

std::span<const SheetArt> InterfaceArt() {
    using namespace InterfaceSheets;
    static constexpr std::array kSheets{
        SheetArt{"HwLogo", HwLogo},
        SheetArt{"TdLogo", TdLogo},
        SheetArt{"SquealingQuor", SquealingQuor},
        SheetArt{"Title", Title},
        SheetArt{"Credits", Credits},
        SheetArt{"ButtonTemplate", ButtonTemplate},
        SheetArt{"OneCharButton", OneCharButton},
        SheetArt{"LevelSelButton", LevelSelButton},
        SheetArt{"RobotTab", RobotTab},
        SheetArt{"PlasmaTab", PlasmaTab},
        SheetArt{"BeamTab", BeamTab},
        SheetArt{"FlamerTab", FlamerTab},
        SheetArt{"MiniTab", MiniTab},
        SheetArt{"PlasmaSel", PlasmaSel},
        SheetArt{"LightSel", LightSel},
        SheetArt{"FlameSel", FlameSel},
        SheetArt{"MiniGunSel", MiniGunSel},
        SheetArt{"ShopCapsule", ShopCapsule},
        SheetArt{"FrameBG", FrameBG},
        SheetArt{"FramePipe", FramePipe},
        SheetArt{"FrameCorner", FrameCorner},
        SheetArt{"OptionMachine", OptionMachine},
        SheetArt{"LevelSelMachine", LevelSelMachine},
        SheetArt{"WepSelMachine", WepSelMachine},
        SheetArt{"MenuSignGeneric", MenuSignGeneric},
        SheetArt{"MenuExit", MenuExit},
        SheetArt{"MenuExitHover", MenuExitHover},
        SheetArt{"PushX", PushX},
        SheetArt{"ControlInstruction", ControlInstruction},
        SheetArt{"Cursor", Cursor},
        SheetArt{"LRCursor", LRCursor},
        SheetArt{"WeaponBars", WeaponBars},
        SheetArt{"PlasmaBar", PlasmaBar},
        SheetArt{"LightningBar", LightningBar},
        SheetArt{"FlamethrowerBar", FlamethrowerBar},
        SheetArt{"MachineGunBar", MachineGunBar},
        SheetArt{"PlayerHP", PlayerHP},
        SheetArt{"PlayerHPColor", PlayerHPColor},
        SheetArt{"HpBar", HpBar},
        SheetArt{"volumeBG", VolumeBG},
        SheetArt{"Volume", Volume},
        SheetArt{"DistBG", DistBG},
        SheetArt{"DistBar", DistBar},
        SheetArt{"DistPoint", DistPoint},
        SheetArt{"BossHPBar", BossHPBar},
        SheetArt{"BossHP", BossHP},
        SheetArt{"WarningText", WarningText},
        SheetArt{"WarningBoss", WarningBoss},
        SheetArt{"DialogArrow", DialogArrow},
        SheetArt{"Star", Star},
        SheetArt{"WhiteDot", WhiteDot},
    };
    return kSheets;
}

}  // namespace AssetGen
