#pragma once

#include "mygame/MyGame_Cloud.h"

// What tests change inside a cloud.
class CloudTestAccess {
public:
    static void SetSpeed(Cloud& cloud, float speed) { cloud.m_speed = speed; }
};
