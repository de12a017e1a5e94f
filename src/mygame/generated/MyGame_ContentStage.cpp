#include "mygame/generated/MyGame_ContentStage.h"

// The back layer holds only the level's camera.
LevelRows StageLevelRows() { return {StageHudRows(), StageWorldRows(), {}}; }
