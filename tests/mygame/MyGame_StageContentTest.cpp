#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_PauseableParticleSystem.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_TestEnemy.h"
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
using OffscreenStageContentTest = OffscreenStageFixture;

template <class T>
bool IsA(const Tundra::GameObject* object) {
    return dynamic_cast<const T*>(object) != nullptr;
}

// The named objects the stage finds, each of the class the game casts it to;
// a second game entering a stage builds them again.
TEST_F(StageContentTest, TheStageBuildsItsNamedObjectsWithTheirClasses) {
    ASSERT_TRUE(EnterStage(0));
    ASSERT_TRUE(EnterStage(1));
    EXPECT_EQ(Game().GetProfile().currentStage, 1);
    struct Named {
        const char* name;
        bool (*isA)(const Tundra::GameObject*);
        bool hud;
    };
    const Named rows[] = {
        {"Player", &IsA<GamePlayer>, false},
        {"LeftWeapon", &IsA<WeaponSprite>, false},
        {"RightWeapon", &IsA<WeaponSprite>, false},
        {"Quorvex", &IsA<Quorvex>, false},
        {"SkyGradient", &IsA<SkyGradient>, false},
        {"MapTileColliderTemplate", &IsA<MapTile>, false},
        {"MapTileTemplate", &IsA<MapTile>, false},
        {"GasEmitter", &IsA<PauseableParticleSystem>, false},
        {"FlameEmitter", &IsA<PauseableParticleSystem>, false},
        {"SmokeEmitter", &IsA<PauseableParticleSystem>, false},
        {"LeftWeaponBar", &IsA<WeaponBar>, true},
        {"RightWeaponBar", &IsA<WeaponBar>, true},
        {"LeftWeaponBarBG", &IsA<Tundra::Sprite>, true},
        {"RightWeaponBarBG", &IsA<Tundra::Sprite>, true},
        {"MainCursor", &IsA<CursorClass>, true},
        {"DistanceUI", &IsA<DistanceUI>, true},
        {"PlayerHPBarColor", &IsA<HpBar>, true},
        {"VolumeBG", &IsA<VolumeControl>, true},
        {"Volume", &IsA<Tundra::Sprite>, true},
        {"DialogText", &IsA<DialogText>, true},
        {"DialogArrow", &IsA<Tundra::Sprite>, true},
        {"DropsCollectedText", &IsA<ScoreText>, true},
        {"DebugText", &IsA<Tundra::Text>, true},
        {"EndGameDialog", &IsA<CenteredText>, true},
        {"WinEnemyTemplate1", &IsA<Tundra::Sprite>, true},
        {"WinEnemyTemplate2", &IsA<Tundra::Sprite>, true},
        {"WinEnemyTemplate3", &IsA<Tundra::Sprite>, true},
        {"Stars", &IsA<Tundra::Sprite>, true},
        {"FadeTransition", &IsA<FadeTransition>, true},
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

// The renderer's textures give the same frame sizes as the sheets' headers.
TEST_F(OffscreenStageContentTest, FramesAreCutFromTheGeneratedSheets) {
    ASSERT_TRUE(EnterStage(0));
    EXPECT_EQ(Find<Tundra::Sprite>("Player")->GetFrameHeight(2), 192);
    EXPECT_EQ(Find<Tundra::Sprite>("LeftWeaponBar")->GetFrameHeight(0), 76);
    Step(2);
}

// The ids the game reads off collisions: the player's circle 0, the
// bullets' circle 16, the top segment 22 of a collider tile; as built (the
// bullet template leaves the level when the stage starts).
TEST_F(StageContentTest, CollisionShapesCarryTheIdsTheGameReads) {
    struct Shape {
        const char* name;
        bool circle;
        std::uint32_t id;
        std::vector<std::uint32_t> found;
    };
    std::vector<Shape> shapes{{"Player", true, 0, {}}, {"BulletTemplate", true, 16, {}},
                              {"MapTileColliderTemplate", false, 22, {}}};
    AlsoBuild(MyLevelFactory::kWorldLayer, [&shapes](const LayerBuild& build) {
        for (Shape& shape : shapes) {
            std::vector<Tundra::GameObject*> objects;
            build.layer.GetGameObjectsByName(shape.name, objects);
            const Collision2D::DynamicObject* collision =
                objects.size() == 1 ? objects[0]->GetCollisionObject() : nullptr;
            if (collision == nullptr) {
                continue;
            }
            if (shape.circle) {
                for (const auto& circle : collision->GetCurrentCircles()) {
                    shape.found.push_back(circle.GetUserId());
                }
            } else {
                for (const auto& segment : collision->GetCurrentLineSegments()) {
                    shape.found.push_back(segment.GetUserId());
                }
            }
        }
    });
    ASSERT_TRUE(EnterStage(0));
    for (const Shape& shape : shapes) {
        EXPECT_EQ(shape.found, std::vector<std::uint32_t>{shape.id}) << shape.name;
    }
    Vector2D velocity;
    EXPECT_TRUE(Find("Player")->GetVelocity(velocity));
}

// A test enemy joins the stage's live enemies and keeps its kind through a
// save; a kind past the table fails the stream.
TEST_F(StageContentTest, ATestEnemyLivesInTheStageAndKeepsItsKind) {
    LeaveOutEnemies();
    ASSERT_TRUE(EnterStage(0));
    TestEnemy* enemy = AddTestEnemy({600.0f, 400.0f}, 3);
    ASSERT_NE(enemy, nullptr);
    ASSERT_EQ(Stage()->GetLiveEnemyCount(), 1u);
    EXPECT_EQ(Stage()->GetLiveEnemy(0), enemy);
    Core::MemoryFile stored;
    stored.WriteObject(enemy);
    std::vector<std::uint8_t> bytes(stored.GetData(), stored.GetData() + stored.GetSize());
    ASSERT_GE(bytes.size(), 4u);
    for (const std::uint8_t kind : {3, 6}) {
        bytes[bytes.size() - 4] = kind;
        Core::MemoryFile read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<TestEnemy> loaded = read.ReadObjectAs<TestEnemy>();
        EXPECT_EQ(loaded != nullptr, kind == 3);
        if (loaded != nullptr) {
            EXPECT_EQ(loaded->GetEnemyKind(), 3);
        }
    }
}

}  // namespace
}  // namespace mygametest
