#pragma once

#include "mygame/MyGame_AlpacaBoss.h"

// Lets tests set the wait before the boss's next attack.
class AlpacaBossTestAccess {
public:
    static void SetCooldown(AlpacaBoss& boss, float seconds) { boss.m_cooldown = seconds; }
};
