#pragma once

#include "tundra/Tundra_StateMachine.h"

class Player;

// The player's hands: the active weapon fires while its mouse button is
// held, and the other button swaps hands with a cross-fade of at least
// 0.3 s during which nothing fires. Starts in "LEFT_STATE".
Tundra::StateMachine<Player>* BuildWeaponStateMachine(Player* owner);
