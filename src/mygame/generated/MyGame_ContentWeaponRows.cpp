#include "mygame/generated/MyGame_ContentWeaponRows.h"

std::vector<SheetAnimation> WeaponBarAnimations() {
    return {{"PlasmaBar", 1, 1, Delays(1)},
            {"LightningBar", 1, 1, Delays(1)},
            {"FlamethrowerBar", 1, 1, Delays(1)},
            {"MachineGunBar", 1, 1, Delays(1)}};
}

std::vector<SheetAnimation> WeaponAnimations() {
    return {{"PlasmaWeapon", 2, 2, Delays(4, 0.2f)},
            {"LightningWeapon", 2, 2, Delays(4, 0.6f)},
            {"FlamethrowerWeapon", 2, 1, {0.5f, 1.0f}},
            {"MachineGunWeapon", 1, 1, Delays(1)}};
}
