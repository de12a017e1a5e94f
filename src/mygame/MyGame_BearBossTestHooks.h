#pragma once

#include "mygame/MyGame_BearBoss.h"

#include <string_view>

// Lets tests put the Bear's machine where a case starts: a state taken at
// the next update, and the fields its conditions read.
class BearBossTestAccess {
public:
    // False when the machine has no state of that name.
    static bool GoTo(BearBoss& bear, std::string_view state) { return bear.m_machine->SetStateByName(state); }
    // The attack starts at the next update as the machine would start it.
    static void Attack(BearBoss& bear, BearBoss::AttackChoice choice) {
        bear.m_attacking = 1;
        bear.m_attackChoice = choice;
        GoTo(bear, choice == BearBoss::kLightning ? "ForeLight" : "ForeSwing");
    }
    static void SetCooldown(BearBoss& bear, float cooldown) { bear.m_cooldown = cooldown; }
    static void SetSwingCount(BearBoss& bear, std::int32_t count) { bear.m_swingCount = count; }
    static void SetArmAngles(BearBoss& bear, float left, float right) { bear.SetArmAngles(left, right); }
};
