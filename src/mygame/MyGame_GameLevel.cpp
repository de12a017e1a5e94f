#include "mygame/MyGame_GameLevel.h"

TUN_DEFINE_UNCLONABLE_CLASS(GameLevel)
