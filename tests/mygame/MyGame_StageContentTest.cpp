#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MapTile.h"
#include "support/MyGame_StageFixture.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <typeinfo>
#include <vector>

namespace mygametest {
namespace {

using StageContentTest = StageFixture;

template <class T>
bool IsA(const Tundra::GameObject* object) {
    return dynamic_cast<const T*>(object) != nullptr;
}

// The named objects the stage finds, each of the class the game casts it to.
TEST_F(StageContentTest, TheStageBuildsItsNamedObjectsWithTheirClasses) {
    ASSERT_TRUE(EnterStage(0));
    struct Named {
        const char* name;
        bool (*isA)(const Tundra::GameObject*);
        bool hud;
    };
    const Named rows[] = {
        {"Player", &IsA<Tundra::Sprite>, false},
        {"LeftWeapon", &IsA<Tundra::Sprite>, false},
        {"RightWeapon", &IsA<Tundra::Sprite>, false},
        {"Quorvex", &IsA<Tundra::Sprite>, false},
        {"SkyGradient", &IsA<Tundra::Sprite>, false},
        {"MapTileColliderTemplate", &IsA<MapTile>, false},
        {"MapTileTemplate", &IsA<MapTile>, false},
        {"GasEmitter", &IsA<Tundra::ParticleSystem>, false},
        {"FlameEmitter", &IsA<Tundra::ParticleSystem>, false},
        {"SmokeEmitter", &IsA<Tundra::ParticleSystem>, false},
        {"LeftWeaponBar", &IsA<Tundra::Sprite>, true},
        {"RightWeaponBar", &IsA<Tundra::Sprite>, true},
        {"LeftWeaponBarBG", &IsA<Tundra::Sprite>, true},
        {"RightWeaponBarBG", &IsA<Tundra::Sprite>, true},
        {"MainCursor", &IsA<Tundra::Sprite>, true},
        {"DistanceUI", &IsA<Tundra::Sprite>, true},
        {"PlayerHPBarColor", &IsA<Tundra::Sprite>, true},
        {"VolumeBG", &IsA<Tundra::Sprite>, true},
        {"Volume", &IsA<Tundra::Sprite>, true},
        {"DialogText", &IsA<Tundra::Text>, true},
        {"DialogArrow", &IsA<Tundra::Sprite>, true},
        {"DropsCollectedText", &IsA<Tundra::Text>, true},
        {"DebugText", &IsA<Tundra::Text>, true},
        {"EndGameDialog", &IsA<Tundra::Text>, true},
        {"WinEnemyTemplate1", &IsA<Tundra::Sprite>, true},
        {"WinEnemyTemplate2", &IsA<Tundra::Sprite>, true},
        {"WinEnemyTemplate3", &IsA<Tundra::Sprite>, true},
        {"Stars", &IsA<Tundra::Sprite>, true},
        {"FadeTransition", &IsA<Tundra::Sprite>, true},
        {"WarningText", &IsA<Tundra::Sprite>, true},
        {"Donut", &IsA<Tundra::Sprite>, true},
    };
    for (const Named& row : rows) {
        Tundra::GameObject* object = Find(row.name);
        ASSERT_NE(object, nullptr) << row.name;
        EXPECT_TRUE(row.isA(object)) << row.name << " is a " << typeid(*object).name();
        EXPECT_EQ(object->GetLayer() == Game().GetHudLayer(), row.hud) << row.name;
    }
    // Frames are cut from the generated sheets.
    EXPECT_EQ(Find<Tundra::Sprite>("Player")->GetFrameHeight(2), 192);
    EXPECT_EQ(Find<Tundra::Sprite>("LeftWeaponBar")->GetFrameHeight(0), 76);
}

// The ids the game reads off collisions: the player's circle 0, the
// bullets' circle 16, the top segment 22 of a collider tile.
TEST_F(StageContentTest, CollisionShapesCarryTheIdsTheGameReads) {
    ASSERT_TRUE(EnterStage(0));
    struct Shape {
        const char* name;
        std::uint32_t slot;
        bool circle;
        std::uint32_t id;
    };
    const Shape shapes[] = {
        {"Player", kTemplateCount, true, 0},
        {"BulletTemplate", kBulletTemplate, true, 16},
        {"MapTileColliderTemplate", kTemplateCount, false, 22},
    };
    for (const Shape& shape : shapes) {
        Tundra::GameObject* object = Find(shape.name);
        if (object == nullptr && shape.slot < kTemplateCount) {
            object = Game().GetTemplate(shape.slot);
        }
        ASSERT_NE(object, nullptr) << shape.name;
        const Collision2D::DynamicObject* collision = object->GetCollisionObject();
        ASSERT_NE(collision, nullptr) << shape.name;
        std::vector<std::uint32_t> ids;
        if (shape.circle) {
            for (const auto& circle : collision->GetCurrentCircles()) {
                ids.push_back(circle.GetUserId());
            }
        } else {
            for (const auto& segment : collision->GetCurrentLineSegments()) {
                ids.push_back(segment.GetUserId());
            }
        }
        EXPECT_EQ(ids, std::vector<std::uint32_t>{shape.id}) << shape.name;
    }
    Vector2D velocity;
    EXPECT_TRUE(Find("Player")->GetVelocity(velocity));
}

}  // namespace
}  // namespace mygametest
