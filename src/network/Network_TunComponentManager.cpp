#include "network/Network_TunComponentManager.h"

TUN_DEFINE_CLASS(Tundra::TunComponentManager)
