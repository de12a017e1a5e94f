#pragma once

#include "mygame/generated/MyGame_ContentRows.h"

#include <vector>

// The animation lists the title level and the stage both give their weapon
// bars and weapons, in weapon-bit order (plasma, lightning, flamethrower,
// machine gun).
std::vector<SheetAnimation> WeaponBarAnimations();
std::vector<SheetAnimation> WeaponAnimations();
