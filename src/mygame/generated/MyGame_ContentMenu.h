#pragma once

#include "mygame/generated/MyGame_ContentRows.h"

// The intro's rows (level 0): three logos on the HUD.
LevelRows IntroLevelRows();

// The title level's rows (level 1): the HUD's templates, bars, cursors and
// fade; the world's sky, machines, player and weapon effects.
LevelRows MenuLevelRows();
LayerRows MenuHudRows();
LayerRows MenuWorldRows();
