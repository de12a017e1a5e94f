#include "network/Network_NetMessage.h"

TUN_DEFINE_CLASS(Tundra::NetMessage)
TUN_DEFINE_CLASS(Tundra::NetSessionMessage)
TUN_DEFINE_CLASS(Tundra::NetPlayerMessage)
TUN_DEFINE_CLASS(Tundra::NetTextMessage)
TUN_DEFINE_CLASS(Tundra::NetDataMessage)
