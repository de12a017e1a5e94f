#include "mygame/MyGame_Globals.h"

void GameGlobals::ForgetLevelLinks() {
    player = nullptr;
    buttonHoverSound = nullptr;
    playerHitSound = nullptr;
    playerDeathSound = nullptr;
    playerCollectSound = nullptr;
}

GameGlobals& Globals() {
    static GameGlobals globals;
    return globals;
}
