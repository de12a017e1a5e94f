#pragma once

#include "mygame/MyGame_UnknownBoss.h"

// Lets tests hold off the final boss's teleports where they are not the point.
class UnknownBossTestAccess {
public:
    // The rest before the next teleport starts again.
    static void RestartTeleportRest(UnknownBoss& boss) { boss.m_fight.teleportTimer = 0.0f; }
};
