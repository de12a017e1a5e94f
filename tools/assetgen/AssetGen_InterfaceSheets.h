#pragma once

#include "AssetGen_Sheet.h"

// The drawing functions of the Interface family, one per sheet; the family's
// list in AssetGen_InterfaceArt.cpp names them.
namespace AssetGen::InterfaceSheets {

// Logos, the title and the credits card.
void HwLogo(const FrameCanvas& c);
void TdLogo(const FrameCanvas& c);
void SquealingQuor(const FrameCanvas& c);
void Title(const FrameCanvas& c);
void Credits(const FrameCanvas& c);

// Menu buttons, tabs, selection buttons, the shop capsule, panel pieces.
void ButtonTemplate(const FrameCanvas& c);
void OneCharButton(const FrameCanvas& c);
void LevelSelButton(const FrameCanvas& c);
void RobotTab(const FrameCanvas& c);
void PlasmaTab(const FrameCanvas& c);
void BeamTab(const FrameCanvas& c);
void FlamerTab(const FrameCanvas& c);
void MiniTab(const FrameCanvas& c);
void PlasmaSel(const FrameCanvas& c);
void LightSel(const FrameCanvas& c);
void FlameSel(const FrameCanvas& c);
void MiniGunSel(const FrameCanvas& c);
void ShopCapsule(const FrameCanvas& c);
void FrameBG(const FrameCanvas& c);
void FramePipe(const FrameCanvas& c);
void FrameCorner(const FrameCanvas& c);

// The title level's machines, signs and hints.
void OptionMachine(const FrameCanvas& c);
void LevelSelMachine(const FrameCanvas& c);
void WepSelMachine(const FrameCanvas& c);
void MenuSignGeneric(const FrameCanvas& c);
void MenuExit(const FrameCanvas& c);
void MenuExitHover(const FrameCanvas& c);
void PushX(const FrameCanvas& c);
void ControlInstruction(const FrameCanvas& c);

// The HUD: cursor and gauges, weapon bars, health bars, volume, distance bar,
// boss health, warnings, the dialog arrow, the result stars, the fade.
void Cursor(const FrameCanvas& c);
void LRCursor(const FrameCanvas& c);
void WeaponBars(const FrameCanvas& c);
void PlasmaBar(const FrameCanvas& c);
void LightningBar(const FrameCanvas& c);
void FlamethrowerBar(const FrameCanvas& c);
void MachineGunBar(const FrameCanvas& c);
void PlayerHP(const FrameCanvas& c);
void PlayerHPColor(const FrameCanvas& c);
void HpBar(const FrameCanvas& c);
void VolumeBG(const FrameCanvas& c);
void Volume(const FrameCanvas& c);
void DistBG(const FrameCanvas& c);
void DistBar(const FrameCanvas& c);
void DistPoint(const FrameCanvas& c);
void BossHPBar(const FrameCanvas& c);
void BossHP(const FrameCanvas& c);
void WarningText(const FrameCanvas& c);
void WarningBoss(const FrameCanvas& c);
void DialogArrow(const FrameCanvas& c);
void Star(const FrameCanvas& c);
void WhiteDot(const FrameCanvas& c);

}  // namespace AssetGen::InterfaceSheets
