#include "engine/Engine_EngineRun.h"
#include "mygame/MyGame_CreateGame.h"

int main(int argc, char** argv) { return EngineRun(JoinCommandLine(argc, argv), CreateGame); }
