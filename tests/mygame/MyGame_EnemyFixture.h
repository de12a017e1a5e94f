#pragma once

#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_GameLevel.h"
#include "support/MyGame_StageSaves.h"
#include "support/MyGame_StageFixture.h"
#include "tundra/Tundra_Layer.h"

#include <vector>

namespace mygametest {

// Stages with enemies of the base class and drops.
class EnemyScenario : public StageFixture {
protected:
    // Stage 0 with no wave to come and none of its own enemies.
    bool EnterEmptyStage() {
        if (!EnterStage(0)) {
            return false;
        }
        SendEnemiesAway();
        return true;
    }

    // In the world layer and the stage's live enemies, at the position,
    // with its bar.
    Enemy& Place(const Vector2D& position) {
        auto* enemy = TUN_NEW(Enemy, SheetAnimations({{"Flying1", 2, 2, Delays(4, 0.15f)}}));
        enemy->SetName("TestEnemy");
        enemy->SetOldPosition(position);
        enemy->SetPosition(position);
        m_game->GetWorldLayer()->AddGameObject(enemy);
        Stage()->AddLiveEnemy(enemy);
        enemy->CreateHealthBar();
        return *enemy;
    }

    // The drops in the world layer that are not going.
    static std::vector<EnemyDrop*> LiveDrops() {
        std::vector<Tundra::GameObject*> objects;
        GetGame()->GetWorldLayer()->GetGameObjects(objects);
        std::vector<EnemyDrop*> drops;
        for (Tundra::GameObject* object : objects) {
            auto* drop = dynamic_cast<EnemyDrop*>(object);
            if (drop != nullptr && !drop->IsDestroyRequested()) {
                drops.push_back(drop);
            }
        }
        return drops;
    }

    StageSaves m_saves;
};

}  // namespace mygametest
