#pragma once

#include "mygame/MyGame_Bullet.h"
#include "support/MyGame_StageFixture.h"

#include <cstdint>
#include <set>

// A stage with chosen weapons.
namespace mygametest {

class WeaponScenario : public StageFixture {
protected:
    // The hands' weapon bits and stats 1 and 2 of every weapon, written to
    // the running game's profile.
    void SelectWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stat1, std::uint8_t stat2);
    void SelectWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stats) {
        SelectWeapons(left, right, stats, stats);
    }
    // Enters stage 0, selects the weapons and starts the weapons and the
    // bars' looks anew (as the weapon selection does).
    bool EnterWithWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stat1, std::uint8_t stat2);
    bool EnterWithWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stats) {
        return EnterWithWeapons(left, right, stats, stats);
    }
};

// The bullets of the world layer seen so far, by object id.
class BulletCounter {
public:
    BulletCounter();
    // Looks at the world layer; the count of bullets made since construction
    // and seen so far (a bullet shows in its layer from the frame after).
    int Count();
    // The bullet with the highest id alive now; null when none.
    Bullet* Newest() const { return m_newest; }

private:
    std::set<std::uint32_t> m_seen;
    std::uint32_t m_firstId = 0;
    Bullet* m_newest = nullptr;
};

}  // namespace mygametest
