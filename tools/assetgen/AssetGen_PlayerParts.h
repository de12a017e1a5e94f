#pragma once

#include "AssetGen_Sheet.h"

// The drawing functions of the player family, one per sheet, spread over the
// files that draw the robot, its guns, its shots and its pickups.
namespace AssetGen::PlayerParts {

// The robot: standing, hurt, and its death.
void DrawPlayer(const FrameCanvas& canvas);
void DrawPlayerDmg(const FrameCanvas& canvas);
void DrawPlayerDeath(const FrameCanvas& canvas);

// The four guns, facing +x and symmetric about the x axis (the game rotates
// them toward the cursor instead of flipping them).
void DrawPlasmaWeapon(const FrameCanvas& canvas);
void DrawLightningWeapon(const FrameCanvas& canvas);
void DrawFlamethrowerWeapon(const FrameCanvas& canvas);
void DrawMachineGunWeapon(const FrameCanvas& canvas);

// Shots and their impacts, flying toward +x.
void DrawPlasmaBullet(const FrameCanvas& canvas);
void DrawPlasmaDestroy(const FrameCanvas& canvas);
void DrawLightHack(const FrameCanvas& canvas);
void DrawLightning(const FrameCanvas& canvas);
void DrawMachineGunBullet(const FrameCanvas& canvas);
void DrawMiniDestroy(const FrameCanvas& canvas);

// The mascot riding on the robot's head, and the drop enemies leave.
void DrawQuorvex(const FrameCanvas& canvas);
void DrawEnemyDrop(const FrameCanvas& canvas);

}  // namespace AssetGen::PlayerParts
