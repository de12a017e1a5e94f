#include "support/MyGame_WeaponScenario.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_Layer.h"

#include <vector>

namespace mygametest {

void WeaponScenario::SelectWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stat1, std::uint8_t stat2) {
    PlayerProfile& profile = Game().GetProfile();
    profile.selectedWeapons = left << 16 | right;
    for (std::size_t weapon = 0; weapon < 4; ++weapon) {
        profile.upgradeLevels[4 * weapon + 1] = stat1;
        profile.upgradeLevels[4 * weapon + 2] = stat2;
    }
}

bool WeaponScenario::EnterWithWeapons(std::uint32_t left, std::uint32_t right, std::uint8_t stat1,
                                      std::uint8_t stat2) {
    // The test's own enemies are the only targets.
    LeaveOutEnemies();
    if (!EnterStage(0)) {
        return false;
    }
    SelectWeapons(left, right, stat1, stat2);
    for (const char* name : {"LeftWeapon", "RightWeapon"}) {
        if (WeaponSprite* weapon = Find<WeaponSprite>(name)) {
            weapon->OnStart();
        }
    }
    Find<WeaponBar>("LeftWeaponBar")->SetWeapon(left);
    Find<WeaponBar>("RightWeaponBar")->SetWeapon(right);
    // Aims are taken from where the weapons rest: on the ground. The level
    // change also makes the mouse wait for a poll with the cursor still and
    // no button held before it reads buttons again.
    const Player* player = Find<Player>("Player");
    const auto resting = [player] { return player != nullptr && !player->IsInAir() && player->GetVelocity() == Vector2D{}; };
    return RunUntil(resting, 600).has_value() && player->GetLeftWeapon() != nullptr &&
           player->GetRightWeapon() != nullptr;
}

BulletCounter::BulletCounter() : m_firstId(Tundra::GameObject::GetIdCounter()) {}

int BulletCounter::Count() {
    const MyGame* game = GetGame();
    const Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (world == nullptr) {
        return static_cast<int>(m_seen.size());
    }
    std::vector<Tundra::GameObject*> objects;
    world->GetGameObjects(objects);
    m_newest = nullptr;
    for (Tundra::GameObject* object : objects) {
        auto* bullet = dynamic_cast<Bullet*>(object);
        if (bullet == nullptr || bullet->GetID() < m_firstId || bullet->IsDestroyRequested()) {
            continue;
        }
        if (bullet->GetCurrentAnimationIndex() != Bullet::kBeam) {
            m_seen.insert(bullet->GetID());
        }
        if (m_newest == nullptr || bullet->GetID() > m_newest->GetID()) {
            m_newest = bullet;
        }
    }
    return static_cast<int>(m_seen.size());
}

}  // namespace mygametest
