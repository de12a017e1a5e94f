#include "mygame/MyGame_InternalSprite.h"

TUN_DEFINE_CLASS(InternalSprite)
