#pragma once

#include "AssetGen_Sheet.h"

// One drawing per kind of enemy, its theme (0, 1, 2) choosing the creature
// and colours, the frame choosing the pose. Collision circles of the enemy
// actors lie on the ink of every frame that carries them.
namespace AssetGen::Enemy {

// The walker's throw: standing, winding up, throwing (3 frames).
void DrawWalkerThrow(const FrameCanvas& canvas, int theme);
// The walker knocked out, then gone in a puff.
void DrawWalkerDeath(const FrameCanvas& canvas, int theme);
// The flyer's wing beat (4 frames).
void DrawFlyerFlap(const FrameCanvas& canvas, int theme);
// The flyer tumbling, then bursting.
void DrawFlyerDeath(const FrameCanvas& canvas, int theme);
// The rolling spike: frame 0 whole (the game spins the sprite), then cracking
// and bursting.
void DrawSpike(const FrameCanvas& canvas, int theme);
// The walker's thrown shot (frame 0, spun by the game) and its splash.
void DrawArcShot(const FrameCanvas& canvas, int theme);
// The flyer's straight shot pointing +x (frame 0) and its pop.
void DrawDart(const FrameCanvas& canvas, int theme);

}  // namespace AssetGen::Enemy
