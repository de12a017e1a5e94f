#pragma once

#include "mygame/generated/MyGame_ContentRows.h"

// The stage's rows (level 2), layer by layer in creation order.
LevelRows StageLevelRows();

// The world layer's rows come in runs kept beside their kind: the boss
// health display, the bosses with their parts and shot, the particle
// systems the weapons ride with.
LayerRows StageHudRows();
LayerRows StageWorldRows();
LayerRows StageBossHealthRows();
LayerRows StageBossRows();
LayerRows StageParticleRows();
