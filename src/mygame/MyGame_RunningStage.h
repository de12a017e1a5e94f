#pragma once

class GameLevel;

// The current level when it is a stage; null otherwise or without a game.
GameLevel* GetRunningStage();
