#include <array>

#include "AssetGen_PlayerParts.h"

namespace AssetGen {

std::span<const SheetArt> PlayerArt() {
    using namespace PlayerParts;
    static constexpr std::array kSheets{
        SheetArt{"Player", DrawPlayer},
        SheetArt{"PlayerDmg", DrawPlayerDmg},
        SheetArt{"PlayerDeath", DrawPlayerDeath},
        SheetArt{"PlasmaWeapon", DrawPlasmaWeapon},
        SheetArt{"LightningWeapon", DrawLightningWeapon},
        SheetArt{"FlamethrowerWeapon", DrawFlamethrowerWeapon},
        SheetArt{"MachineGunWeapon", DrawMachineGunWeapon},
        SheetArt{"PlasmaBullet", DrawPlasmaBullet},
        SheetArt{"PlasmaDestroy", DrawPlasmaDestroy},
        SheetArt{"LightHack", DrawLightHack},
        SheetArt{"Lightning", DrawLightning},
        SheetArt{"MachineGunBullet", DrawMachineGunBullet},
        SheetArt{"MiniDestroy", DrawMiniDestroy},
        SheetArt{"Quorvex", DrawQuorvex},
        SheetArt{"EnemyDrop", DrawEnemyDrop},
    };
    return kSheets;
}

}  // namespace AssetGen
