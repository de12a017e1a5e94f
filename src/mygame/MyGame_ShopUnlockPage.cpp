#include "mygame/MyGame_ShopUnlockPage.h"

#include <array>

namespace {

constexpr const char* kRepair = "Something must have gone\nwrong with your system!\nFear not! For repair is free!";
// The same words broken after "wrong", for a player in debt.
constexpr const char* kRepairInDebt =
    "Something must have gone wrong\nwith your system!\nFear not! For repair is free!";

struct Offer {
    std::uint32_t bit;
    std::int32_t price;
    const char* buttonLabel;
    const char* pitch;
    const char* shortOf;
};

constexpr std::array<Offer, 2> kOffers{{
    {4, 250, "Buy: 250",
     "Cannot wait to unleash\nthe purifying flames on\nto the world?\n\nUnlock your weapon NOW!\n\n\nFlamer\nCost: 250",
     "Not enough currency!\nGet back out there!\n\n\nFlamer\nCost: 250"},
    {8, 500, "Buy: 500",
     "Feel the recoil-less\npower to overcome all \nhostiles!\n\nUnlock your weapon NOW!\n\n\nMiniGun\nCost: 500",
     "Not enough currency!\nGet back out there!\n\n\nMiniGun\nCost: 500"},
}};

}  // namespace

std::optional<UnlockPage> UnlockPageOf(std::uint32_t weaponBit, std::int64_t currency) {
    if (weaponBit == 1 || weaponBit == 2) {
        const bool inDebt = weaponBit == 2 && currency < 0;
        return UnlockPage{inDebt ? kRepairInDebt : kRepair, true, "Repair", true, 0};
    }
    for (const Offer& offer : kOffers) {
        if (offer.bit == weaponBit) {
            if (currency < offer.price) {
                return UnlockPage{offer.shortOf, true, offer.buttonLabel, false, 0};
            }
            return UnlockPage{offer.pitch, false, offer.buttonLabel, true, offer.price};
        }
    }
    return std::nullopt;
}
