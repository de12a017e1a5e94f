#pragma once

#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_FireEffectPool.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "mygame/MyGame_Templates.h"
#include "support/MyGame_TestGame.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace mygametest {

// An enemy of any kind that counts the health changes it is told about.
class TestEnemy : public Enemy {
public:
    explicit TestEnemy(std::int32_t kind) : Enemy(TestAnimations(1)), m_kind(kind) {}
    std::int32_t GetEnemyKind() const override { return m_kind; }
    void OnHealthChanged() override { ++healthChanges; }

    int healthChanges = 0;

private:
    std::int32_t m_kind;
};

// A stage whose content holds a fire template, with test enemies in its
// world layer.
class DamageTest : public MyGameTest {
protected:
    void TearDown() override {
        ClearFireEffectPool();
        MyGameTest::TearDown();
    }

    void EnterStage(std::uint8_t stage = 0) {
        Content().OnBuild(2, 1, [](const LayerBuild& build) {
            auto* fire = TUN_NEW(PS_FireDebuff, "test/fire.png", 32, 64.0f, Vector2D{0.0f, 10.0f});
            fire->SetName(kTemplateNames[kFireDebuffTemplate]);
            build.layer.AddGameObject(fire);
        });
        StartGame();
        Step();
        ASSERT_TRUE(GoToLevel(2));
        if (Game().GetTemplate(kFireDebuffTemplate) == nullptr) {
            Game().CaptureTemplates();
        }
        Game().GetProfile().currentStage = stage;
    }

    // In the world layer and started: an object added between frames starts
    // in the second.
    TestEnemy& AddEnemy(std::int32_t kind, const Vector2D& position = {400.0f, 300.0f}) {
        auto* enemy = TUN_NEW(TestEnemy, kind);
        enemy->SetOldPosition(position);
        Game().GetWorldLayer()->AddGameObject(enemy);
        Step(2);
        return *enemy;
    }
};

}  // namespace mygametest
