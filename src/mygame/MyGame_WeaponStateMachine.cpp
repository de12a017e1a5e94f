#include "mygame/MyGame_WeaponStateMachine.h"

#include "mygame/MyGame_Player.h"

Tundra::StateMachine<Player>* BuildWeaponStateMachine(Player* owner) {
    using Machine = Tundra::StateMachine<Player>;
    Machine* machine = TUN_NEW(Machine, Machine::StateList{}, -1, 0.0f, owner);
    machine->SetName("WeaponStateMachine");
    return machine;
}
