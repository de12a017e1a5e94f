#include "mygame/MyGame_SkyGradient.h"

TUN_DEFINE_CLASS(SkyGradient)
