#pragma once

#include "AssetGen_Sheet.h"

// The three bosses, their mounted parts and their attacks. Bodies and parts
// face left (the game flips them); each part is drawn about the pivot the
// game mounts and rotates it by, the cell's centre.
namespace AssetGen::Boss {

// The storm bear: body at rest (breathing), roaring, beaten; its arms (shoulder
// at the centre, fist at (0, -126)) and their death.
void DrawBearBody(const FrameCanvas& canvas);
void DrawBearRoar(const FrameCanvas& canvas);
void DrawBearDeath(const FrameCanvas& canvas);
void DrawBearArm(const FrameCanvas& canvas);
void DrawBearArmDeath(const FrameCanvas& canvas);

// The alpaca: at rest (chewing), beaten; its eyes in the three fight phases.
void DrawAlpaca(const FrameCanvas& canvas);
void DrawAlpacaDeath(const FrameCanvas& canvas);
void DrawAlpacaEyes(const FrameCanvas& canvas, int phase);

// The unknown: the body with its dark wings, its eye, its two halves
// (frame 0 charged, frame 1 spent) and their deaths.
void DrawUnknownBody(const FrameCanvas& canvas);
void DrawUnknownDeath(const FrameCanvas& canvas);
void DrawUnknownEyes(const FrameCanvas& canvas);
inline constexpr int kLeftHalf = 0;
inline constexpr int kRightHalf = 1;
void DrawUnknownHalf(const FrameCanvas& canvas, int half);
void DrawUnknownHalfDeath(const FrameCanvas& canvas, int half);

// The attacks: the warning marker, the bear's ball and lightning column (lying
// along x; the game turns it upright), the alpaca's wool bomb.
void DrawAttackWarning(const FrameCanvas& canvas);
void DrawBearBall(const FrameCanvas& canvas);
void DrawBearLightning(const FrameCanvas& canvas);
void DrawAlpacaBomb(const FrameCanvas& canvas);

}  // namespace AssetGen::Boss
