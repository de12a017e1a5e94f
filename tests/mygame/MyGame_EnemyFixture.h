#pragma once

#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/Collision_CircleShape.h"
#include "support/MyGame_StageSaves.h"
#include "support/MyGame_WeaponScenario.h"
#include "tundra/Tundra_Layer.h"

#include <vector>

namespace mygametest {

// Does on its death what the ordinary enemies do: counts the kill and
// leaves a drop.
class DyingEnemy : public Enemy {
public:
    DyingEnemy() : Enemy(SheetAnimations({{"Flying1", 2, 2, Delays(4, 0.15f)}})) {}

    void OnDeath() override {
        ++deaths;
        deathPosition = GetPosition();
        SpawnDrop();
        if (auto* stage = dynamic_cast<GameLevel*>(GetGame()->GetCurrentLevel())) {
            stage->CountKill(GetEnemyKind());
        }
    }

    int deaths = 0;
    Vector2D deathPosition{};
};

// Stages with enemies of the base class and their drops.
class EnemyScenario : public WeaponScenario {
protected:
    void SetUp() override {
        WeaponScenario::SetUp();
        AlsoBuild(MyLevelFactory::kWorldLayer, &PlaceDropTemplate);
    }

    // In the world layer and the stage's live enemies, at the position, with
    // a circle the player's bullets meet and its bar.
    DyingEnemy& Place(const Vector2D& position) {
        auto* enemy = TUN_NEW(DyingEnemy);
        enemy->SetName("TestEnemy");
        constexpr std::uint8_t kBulletGroup = 2;
        Collision2D::DynamicObject* circle = testsupport::MakeCircleShape(*m_game, 30.0f, 0);
        circle->SetCanCollid(kBulletGroup, true);
        enemy->AddCollision(circle, m_game->GetWorldLayer()->GetCollisionId());
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

private:
    // The content's drop row, where the stage's rows have none yet.
    static void PlaceDropTemplate(const LayerBuild& build) {
        std::vector<Tundra::GameObject*> present;
        build.layer.GetGameObjectsByName("EnemyDropTemplate", present);
        if (!present.empty()) {
            return;
        }
        PlaceSpriteRow(build, {.name = "EnemyDropTemplate",
                               .make = &MakeSprite<EnemyDrop>,
                               .animations = {{"EnemyDrop", 2, 2, Delays(4, 0.25f)}},
                               .actorIndex = 6,
                               .collider = ColliderSettings{1, 8.0f, 3, {0}, false},
                               .position = {-579.0f, -318.0f},
                               .z = 0.0f,
                               .body = BodySettings{1.0f, 9.8f}});
    }
};

}  // namespace mygametest
