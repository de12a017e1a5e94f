#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_DialogArrow.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_InternalSprite.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "mygame/MyGame_PauseableParticleSystem.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"
#include "support/MyGame_ScreenSpace.h"
#include "support/MyGame_TestGame.h"
#include "support/Renderer_ManifestSizes.h"
#include "support/Tundra_NetworkRoles.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

// The stage's objects as the game's content places them: built through the
// factory, headless, every sheet at its generated size, each layer updated
// once.
namespace mygametest {
namespace {

constexpr std::uint32_t kStage = MyLevelFactory::kGameLevel;

class StageContentTablesTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        testsupport::SizeSheetsAsManifest(*m_textures);
    }
};

// The stage built by a factory of its own over the game's content, beside
// a running game whose intro holds no actor. The objects wait in their
// layers for the layers' next update, which starts them.
class BuiltStageTest : public StageContentTablesTest {
protected:
    void SetUp() override {
        StageContentTablesTest::SetUp();
        StartGame();
        Step();
        testsupport::SetNetworkRole(m_role);
        m_factory = TUN_NEW(MyLevelFactory, MakeGameContent());
        m_level = m_factory->CreateLevel(kStage);
        ASSERT_NE(m_level.Get(), nullptr);
    }
    void TearDown() override {
        if (m_level) {
            m_level->Shutdown();
        }
        m_level = nullptr;
        m_factory = nullptr;
        GameTest::TearDown();
    }

    // The layer's objects in creation order, started or waiting.
    std::vector<Tundra::GameObject*> Objects(std::uint32_t layer) const {
        std::vector<Tundra::GameObject*> objects;
        m_factory->GetLayer(layer)->GetHeldGameObjects(objects);
        return objects;
    }
    // The members of the layer, once an update has started them.
    std::vector<Tundra::GameObject*> Members(std::uint32_t layer) const {
        std::vector<Tundra::GameObject*> objects;
        m_factory->GetLayer(layer)->GetGameObjects(objects);
        return objects;
    }
    template <class T = Tundra::GameObject>
    T* Find(const char* name) const {
        return Tundra::FindObject<T>(*m_level, name);
    }

    // The role the game's network front end has while the stage is built.
    testsupport::NetworkRole m_role = testsupport::NetworkRole::Outside;
    Core::RefPtr<MyLevelFactory> m_factory;
    Core::RefPtr<Tundra::Level> m_level;
};

// The same on a network client: a network game this machine does not host.
class ClientStageTest : public BuiltStageTest {
protected:
    void SetUp() override {
        m_role = testsupport::NetworkRole::Client;
        BuiltStageTest::SetUp();
    }
};

// What a sprite row sets of its animation.
struct SpriteState {
    int actor;
    int animation;
    int frame;
    bool playing;
    bool loop;
};
constexpr bool kPlaying = true;
constexpr bool kHidden = false;
constexpr bool kShown = true;

SpriteState Playing(int actor) { return {actor, 0, 0, kPlaying, kPlaying}; }
SpriteState Stopped(int actor, int frame = 0, int animation = 0) { return {actor, animation, frame, false, false}; }

struct Placed {
    const char* name;
    std::type_index type;
    Vector2D position;
    float z;
    bool visible;
    Vector2D scale;
    std::optional<SpriteState> sprite;
    // A text object's string.
    const char* text = nullptr;
};

const Vector2D kOne{1.0f, 1.0f};

// The HUD layer, in creation order.
std::vector<Placed> HudTable() {
    using Sprite = Tundra::Sprite;
    return {
        {"DebugText", typeid(Tundra::Text), {-512, -384}, 0.0f, kHidden, kOne, {}, "debug text"},
        {"DialogText", typeid(DialogText), {-426, -281}, 0.3f, kShown, kOne, {}, "DialogText"},
        {"CenteredTextTemplate", typeid(CenteredText), {-648, 1021}, 1.2f, kShown, kOne, {}, "template"},
        {"DropsCollectedText", typeid(ScoreText), {-404, 210}, 5.0f, kShown, kOne, {}, "0"},
        {"EndGameDialog", typeid(CenteredText), {600, 600}, 5.0f, kHidden, {2, 2}, {}, "win"},
        {"ScoreTextTemplate", typeid(ScoreText), {-642, 1068}, 5.0f, kShown, kOne, {}, "template"},
        {"DistBar", typeid(Sprite), {0, -358}, -0.1f, kShown, kOne, Stopped(37)},
        {"DistBG", typeid(Sprite), {0, -358}, 0.0f, kShown, kOne, Stopped(38)},
        {"LeftWeaponBarBG", typeid(Sprite), {-468, 287}, 0.0f, kShown, kOne, Stopped(3)},
        {"LeftWeaponBar", typeid(WeaponBar), {-468, 287}, 0.0f, kShown, kOne, Stopped(4)},
        {"RightWeaponBarBG", typeid(Sprite), {-409, 287}, 0.0f, kShown, kOne, Stopped(3)},
        {"RightWeaponBar", typeid(WeaponBar), {-409, 287}, 0.0f, kShown, kOne, Stopped(4)},
        {"PlayerHPBarColor", typeid(HpBar), {-438, 349}, 0.0f, kShown, kOne, Stopped(5)},
        {"Donut", typeid(Sprite), {-470, 215}, 0.0f, kShown, kOne, Playing(6)},
        {"DistanceUI", typeid(DistanceUI), {0, -358}, 0.1f, kShown, kOne, Playing(39)},
        {"WarningText", typeid(Sprite), {0, -700}, 0.12f, kShown, kOne, Playing(40)},
        {"WarningBoss", typeid(Sprite), {0, -700}, 0.12f, kShown, kOne, Stopped(41)},
        {"FrameBGTemplate", typeid(Sprite), {-810, 244}, 0.2f, kShown, {50, 50}, Playing(8)},
        {"FramePipeTemplate", typeid(Sprite), {-827, 303}, 0.3f, kShown, {100, 1}, Playing(9)},
        {"DialogArrow", typeid(DialogArrow), {410, -340}, 0.3f, kHidden, kOne, Playing(42)},
        {"FrameCornerTemplate", typeid(Sprite), {-807, 366}, 0.4f, kShown, kOne, Playing(10)},
        {"ButtonTemplate", typeid(LabeledButton), {-575, 969}, 1.0f, kHidden, kOne, Stopped(43)},
        {"Volume", typeid(InternalSprite), {-842, 468}, 1.0f, kHidden, kOne, Playing(11)},
        {"VolumeBG", typeid(VolumeControl), {-842, 468}, 1.2f, kHidden, kOne, Playing(12)},
        {"PlayerHPBar", typeid(Sprite), {-437, 349}, 3.0f, kShown, kOne, Stopped(17)},
        {"WinEnemyTemplate1", typeid(Sprite), {-116, 108}, 3.9f, kHidden, kOne, Playing(44)},
        {"Stars", typeid(Sprite), {0, 244}, 3.9f, kHidden, kOne, Stopped(45)},
        {"WinEnemyTemplate2", typeid(Sprite), {3, 117}, 3.9f, kHidden, kOne, Playing(46)},
        {"WinEnemyTemplate3", typeid(Sprite), {122, 97}, 3.9f, kHidden, kOne, Playing(47)},
        {"LeftCursor", typeid(CursorSprite), {-580, -245}, 12.0f, kShown, kOne, Stopped(22)},
        {"RightCursor", typeid(CursorSprite), {-580, -245}, 12.0f, kShown, kOne, Stopped(22, 1)},
        {"MainCursor", typeid(CursorClass), {-580, -245}, 12.0f, kShown, kOne, Stopped(21)},
        {"FadeTransition", typeid(FadeTransition), {0, 0}, 100.0f, kShown, {1024, 768}, Playing(20)},
    };
}

constexpr const char* kLegend =
    "zcollision\n\n0 player ememies terrain \n1 enemy projectiles\n2 player bullets\n3 enemy drops";

// The world layer, in creation order.
std::vector<Placed> WorldTable() {
    using Sprite = Tundra::Sprite;
    const Vector2D onTheWeapon{193, 306};
    return {
        {"Zcollision", typeid(Tundra::Text), {-1140, 110}, 0.0f, kHidden, kOne, {}, kLegend},
        {"CloudTemplate", typeid(Cloud), {-582, 82}, -100.0f, kShown, kOne, Stopped(48)},
        {"SkyGradient", typeid(SkyGradient), {511, 383}, -5.0f, kShown, {1030, 1.05f}, Stopped(23)},
        {"MapTileTemplate", typeid(MapTile), {-577, 388}, 0.0f, kShown, kOne, Stopped(30)},
        {"BossHPBar", typeid(Sprite), {1263, 574}, 0.0f, kShown, kOne, Playing(49)},
        {"BossHP", typeid(BossHp), {1263, 570}, 0.0f, kShown, kOne, Playing(50)},
        {"EnemyDropTemplate", typeid(EnemyDrop), {-579, -318}, 0.0f, kShown, kOne, Playing(6)},
        {"MapTileColliderTemplate", typeid(MapTile), {-578, 520}, 0.0f, kShown, kOne, Stopped(18)},
        {"RollingSpikeTemplate", typeid(RollingSpike), {-579, -159}, 0.1f, kShown, kOne, Stopped(47)},
        {"Player", typeid(GamePlayer), {153, 305}, 1.0f, kShown, kOne, Stopped(51)},
        {"Quorvex", typeid(Quorvex), {153, 337}, 1.5f, kShown, kOne, Playing(33)},
        {"WalkingRangedEnemyTemplate", typeid(WalkingRangedEnemy), {-582, -33}, 2.0f, kShown, kOne, Stopped(52)},
        {"FlyingRangedEnemyTemplate", typeid(FlyingRangedEnemy), {-583, 195}, 2.0f, kShown, kOne, Playing(53)},
        {"ProjectileTemplate", typeid(Projectile), {-581, 648}, 2.0f, kShown, kOne, Stopped(54)},
        {"RightWeapon", typeid(WeaponSprite), {154, 305}, 2.0f, kShown, kOne, Playing(34)},
        {"LeftWeapon", typeid(WeaponSprite), {154, 305}, 2.0f, kShown, kOne, Playing(34)},
        {"HpBarTemplate", typeid(Sprite), {-587, 29}, 3.0f, kHidden, kOne, Stopped(55)},
        {"UnknownRight", typeid(Sprite), {1231, 868}, 3.1f, kShown, kOne, Stopped(56, 1)},
        {"BearRArm", typeid(Sprite), {1214, 325}, 3.1f, kShown, kOne, Stopped(57)},
        {"UnknownBoss", typeid(UnknownBoss), {1331, 996}, 3.2f, kShown, kOne, Playing(58)},
        {"BearBossBody", typeid(BearBoss), {1271, 359}, 3.2f, kShown, kOne, Playing(59)},
        {"AlpacaBoss", typeid(AlpacaBoss), {1615, 352}, 3.2f, kShown, kOne, Playing(60)},
        {"UnknownEye", typeid(Sprite), {1277, 954}, 3.21f, kShown, kOne, Stopped(61)},
        {"UnknownLeft", typeid(Sprite), {1308, 847}, 3.3f, kShown, kOne, Stopped(62, 1)},
        {"BearLArm", typeid(Sprite), {1335, 320}, 3.3f, kShown, kOne, Stopped(57)},
        {"AlpacaEye", typeid(Sprite), {1566, 361}, 3.3f, kShown, kOne, Stopped(63)},
        {"BossProjTemplate", typeid(BossProjectile), {-578, 773}, 3.5f, kShown, kOne, Stopped(64, 0, 1)},
        {"BulletTemplate", typeid(Bullet), {-584, 266}, 4.5f, kShown, kOne, Playing(35)},
        {"SmokeEmitter", typeid(PauseableParticleSystem), onTheWeapon, 6.8f, kHidden, kOne, {}},
        {"FireDebuffTemplate", typeid(PS_FireDebuff), {-581, 874}, 6.8f, kHidden, kOne, {}},
        {"FlameEmitter", typeid(PauseableParticleSystem), onTheWeapon, 6.9f, kHidden, kOne, {}},
        {"GasEmitter", typeid(PauseableParticleSystem), onTheWeapon, 7.0f, kHidden, kOne, {}},
    };
}

void ExpectPlaced(const Tundra::GameObject& object, const Placed& row) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(std::string(object.GetName().c_str()), row.name);
    EXPECT_EQ(std::type_index(typeid(object)), row.type);
    EXPECT_EQ(object.GetPosition().x, row.position.x);
    EXPECT_EQ(object.GetPosition().y, row.position.y);
    EXPECT_EQ(object.GetZOrder(), row.z);
    EXPECT_EQ(object.GetVisible(), row.visible);
    EXPECT_EQ(object.GetScaleX(), row.scale.x);
    EXPECT_EQ(object.GetScaleY(), row.scale.y);
    const auto* sprite = dynamic_cast<const Tundra::Sprite*>(&object);
    ASSERT_EQ(sprite != nullptr, row.sprite.has_value());
    if (sprite != nullptr) {
        EXPECT_EQ(sprite->GetCollisionActorIndex(), row.sprite->actor);
        EXPECT_EQ(sprite->GetCurrentAnimationIndex(), row.sprite->animation);
        EXPECT_EQ(sprite->GetCurrentFrameIndex(), row.sprite->frame);
        EXPECT_EQ(sprite->IsPlaying(), row.sprite->playing);
        EXPECT_EQ(sprite->GetLoop(), row.sprite->loop);
    }
    const auto* text = dynamic_cast<const Tundra::Text*>(&object);
    ASSERT_EQ(text != nullptr, row.text != nullptr);
    if (text != nullptr) {
        EXPECT_EQ(std::string(text->GetText().c_str()), row.text);
        const Color& colour = text->GetModulationColor();
        EXPECT_EQ((std::array<float, 4>{colour.r, colour.g, colour.b, colour.a}),
                  (std::array<float, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    }
}

// Placed as the rows say; one update of each layer then makes them its
// members in the same order (before the objects' own updates move them).
TEST_F(BuiltStageTest, EachLayerHoldsItsObjectsInCreationOrderWithTheirSettings) {
    const std::array<std::vector<Placed>, 2> tables{HudTable(), WorldTable()};
    std::array<std::vector<Tundra::GameObject*>, 3> placed;
    for (std::uint32_t layer = 0; layer < tables.size(); ++layer) {
        SCOPED_TRACE(layer);
        placed[layer] = Objects(layer);
        ASSERT_EQ(placed[layer].size(), tables[layer].size());
        std::set<std::string> names;
        for (std::size_t i = 0; i < placed[layer].size(); ++i) {
            ExpectPlaced(*placed[layer][i], tables[layer][i]);
            EXPECT_EQ(IsScreenSpace(*placed[layer][i]), layer == MyLevelFactory::kHudLayer) << tables[layer][i].name;
            names.insert(placed[layer][i]->GetName().c_str());
        }
        EXPECT_EQ(names.size(), placed[layer].size());
    }
    // The back layer holds only the level's camera.
    // The cloud's own colour (the texts' black is checked with their rows).
    const Color& cloud = Find("CloudTemplate")->GetModulationColor();
    EXPECT_EQ((std::array<float, 4>{cloud.r, cloud.g, cloud.b, cloud.a}), (std::array<float, 4>{1, 1, 1, 1}));
    placed[MyLevelFactory::kBackLayer] = Objects(MyLevelFactory::kBackLayer);
    ASSERT_EQ(placed[MyLevelFactory::kBackLayer].size(), 1u);
    EXPECT_EQ(std::string(placed[MyLevelFactory::kBackLayer][0]->GetName().c_str()), "camera0");

    for (std::uint32_t layer = 0; layer < 3; ++layer) {
        m_factory->GetLayer(layer)->Update(0.0f);
    }
    for (std::uint32_t layer = 0; layer < 3; ++layer) {
        EXPECT_EQ(Members(layer), placed[layer]) << layer;
    }
}

// `count` frames of `delay` seconds, for the timing rows below.
std::vector<float> Repeat(int count, float delay) { return std::vector<float>(static_cast<std::size_t>(count), delay); }
std::vector<float> Then(std::vector<float> first, const std::vector<float>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

// The animations whose frames do not all last one second, and a few that do:
// each named after its sheet, one frame per delay.
TEST_F(BuiltStageTest, AnimationsTakeTheirSheetsNamesAndFrameDelays) {
    struct Timing {
        const char* object;
        int animation;
        const char* sheet;
        std::vector<float> delays;
    };
    const Timing rows[] = {
        {"Donut", 0, "EnemyDrop", Repeat(4, 0.25f)},
        {"WarningText", 0, "WarningText", Repeat(2, 0.5f)},
        {"ButtonTemplate", 0, "ButtonTemplate", Repeat(3, 1.0f)},
        {"WinEnemyTemplate1", 2, "Flying3Dead", Then(Repeat(4, 0.2f), Repeat(5, 0.05f))},
        {"WinEnemyTemplate2", 1, "Range2Dead", Then(Repeat(2, 0.25f), Repeat(5, 0.15f))},
        {"WinEnemyTemplate3", 0, "Rolling1", Repeat(8, 0.15f)},
        {"MapTileTemplate", 0, "GrassTileset", Repeat(15, 1.0f)},
        {"RollingSpikeTemplate", 2, "Rolling3", Repeat(7, 0.175f)},
        {"Player", 0, "Player", {0.33f}},
        {"Player", 2, "PlayerDeath", Repeat(17, 0.3f)},
        {"WalkingRangedEnemyTemplate", 5, "Range3Dead", Then(Repeat(2, 0.25f), Repeat(6, 0.15f))},
        {"FlyingRangedEnemyTemplate", 4, "Flying3", Repeat(4, 0.15f)},
        {"ProjectileTemplate", 1, "Flying1P", Then({0.05f}, Repeat(4, 0.15f))},
        {"ProjectileTemplate", 5, "Flying3P", Then(Then({0.05f}, Repeat(3, 0.15f)), {0.05f})},
        {"RightWeapon", 1, "LightningWeapon", Repeat(4, 0.6f)},
        {"LeftWeapon", 2, "FlamethrowerWeapon", {0.5f, 1.0f}},
        {"UnknownRight", 1, "UnknownRightDead", Then({0.35f}, Repeat(5, 0.25f))},
        {"BearRArm", 1, "BearBossArmDead", Then(Repeat(5, 0.25f), {1.0f})},
        {"UnknownBoss", 1, "UnknownDead", Repeat(6, 0.35f)},
        {"BearBossBody", 1, "BearBossLightAtt", Repeat(3, 0.3f)},
        {"AlpacaBoss", 0, "Alpaca", {2.0f, 0.5f}},
        {"AlpacaBoss", 1, "AlpacaDead", Then({1.0f, 0.4f, 0.4f, 0.35f, 0.3f, 1.0f, 1.0f}, Repeat(5, 0.25f))},
        {"AlpacaEye", 2, "AlpacaEye3", {0.1f, 0.5f, 0.5f, 0.001f}},
        {"BossProjTemplate", 2, "BearLightning", Then({0.01f}, Repeat(9, 0.02f))},
        {"BossProjTemplate", 3, "AlpacaBomb", {0.25f, 0.2f, 0.15f, 0.1f, 0.1f}},
        {"BossProjTemplate", 5, "UnRight", Repeat(2, 1.0f)},
        {"BulletTemplate", 3, "Lightning", Repeat(6, 0.03f)},
    };
    for (const Timing& row : rows) {
        SCOPED_TRACE(std::string(row.object) + " " + row.sheet);
        const auto* sprite = Find<Tundra::Sprite>(row.object);
        ASSERT_NE(sprite, nullptr);
        const Core::RefPtr<Engine::SpriteAnimation> animation =
            sprite->GetEngineSprite()->GetAnimation(static_cast<std::uint32_t>(row.animation));
        ASSERT_NE(animation.Get(), nullptr);
        EXPECT_EQ(std::string(animation->GetName().c_str()), row.sheet);
        std::vector<float> delays;
        for (std::uint32_t frame = 0; frame < animation->GetFramesCount(); ++frame) {
            delays.push_back(sprite->GetFrameDelay(row.animation, static_cast<int>(frame)));
        }
        EXPECT_EQ(delays, row.delays);
    }
}

struct ColliderRow {
    const char* name;
    std::uint32_t actor;
    std::uint8_t type;
    float thickness;
    std::uint8_t group;
    // Groups 0 to 3.
    std::array<bool, 4> meets;
    bool idle;
};
constexpr std::array<bool, 4> kMeetsGroup0{true, false, false, false};
constexpr std::array<bool, 4> kMeetsBullets{true, false, true, false};

// Every collider of the stage with its layer; the objects not listed have none.
std::vector<std::pair<std::uint32_t, ColliderRow>> ColliderTable() {
    constexpr std::uint32_t kHud = MyLevelFactory::kHudLayer;
    constexpr std::uint32_t kWorld = MyLevelFactory::kWorldLayer;
    std::vector<std::pair<std::uint32_t, ColliderRow>> rows;
    for (const auto& [name, actor] : std::vector<std::pair<const char*, std::uint32_t>>{
             {"Donut", 6},
             {"WarningText", 40},
             {"WarningBoss", 41},
             {"FrameBGTemplate", 8},
             {"FramePipeTemplate", 9},
             {"DialogArrow", 42},
             {"FrameCornerTemplate", 10},
             {"Volume", 11},
             {"VolumeBG", 12},
             {"WinEnemyTemplate1", 44},
             {"Stars", 45},
             {"WinEnemyTemplate2", 46},
             {"WinEnemyTemplate3", 47},
             {"FadeTransition", 20}}) {
        rows.push_back({kHud, {name, actor, 0, 4.0f, 0, kMeetsGroup0, false}});
    }
    for (const ColliderRow& row : std::vector<ColliderRow>{
             {"BossHPBar", 49, 0, 4.0f, 0, kMeetsGroup0, false},
             {"BossHP", 50, 0, 4.0f, 0, kMeetsGroup0, false},
             {"EnemyDropTemplate", 6, 1, 8.0f, 3, kMeetsGroup0, false},
             {"MapTileColliderTemplate", 18, 1, 8.0f, 0, {true, true, true, true}, true},
             {"RollingSpikeTemplate", 47, 1, 8.0f, 0, kMeetsBullets, false},
             {"Player", 51, 1, 8.0f, 0, {true, true, false, true}, true},
             {"Quorvex", 33, 0, 4.0f, 0, kMeetsGroup0, false},
             {"WalkingRangedEnemyTemplate", 52, 1, 4.0f, 0, kMeetsBullets, false},
             {"FlyingRangedEnemyTemplate", 53, 1, 8.0f, 0, kMeetsBullets, false},
             {"ProjectileTemplate", 54, 1, 4.0f, 1, kMeetsGroup0, false},
             {"RightWeapon", 34, 0, 4.0f, 0, kMeetsGroup0, false},
             {"UnknownRight", 56, 1, 4.0f, 0, kMeetsGroup0, true},
             {"BearRArm", 57, 1, 4.0f, 0, kMeetsGroup0, true},
             {"UnknownBoss", 58, 1, 8.0f, 0, kMeetsBullets, true},
             {"BearBossBody", 59, 1, 8.0f, 0, kMeetsBullets, true},
             {"AlpacaBoss", 60, 1, 8.0f, 0, kMeetsBullets, true},
             {"UnknownEye", 61, 0, 4.0f, 0, kMeetsGroup0, false},
             {"UnknownLeft", 62, 1, 4.0f, 0, kMeetsGroup0, true},
             {"BearLArm", 57, 1, 4.0f, 0, kMeetsGroup0, true},
             {"AlpacaEye", 63, 0, 4.0f, 0, kMeetsGroup0, false},
             {"BossProjTemplate", 64, 1, 8.0f, 1, kMeetsGroup0, true},
             {"BulletTemplate", 35, 1, 8.0f, 2, kMeetsGroup0, false}}) {
        rows.push_back({kWorld, row});
    }
    return rows;
}

TEST_F(BuiltStageTest, CollidersTakeTheirActorsGroupsAndSettingsRowByRow) {
    const auto table = ColliderTable();
    std::set<std::string> withCollider;
    for (const auto& [layer, row] : table) {
        SCOPED_TRACE(row.name);
        withCollider.insert(row.name);
        const Tundra::GameObject* object = Find(row.name);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetLayer(), m_factory->GetLayer(layer));
        const Collision2D::DynamicObject* collider = object->GetCollisionObject();
        ASSERT_NE(collider, nullptr);
        EXPECT_EQ(collider->GetActor(), m_factory->GetCollisionActors()[row.actor]);
        EXPECT_EQ(collider->GetAnimationIndex(), 0);
        EXPECT_EQ(collider->GetFrameIndex(), 0);
        EXPECT_EQ(collider->GetCollisionType(), row.type);
        EXPECT_EQ(collider->GetCollisionThickness(), row.thickness);
        EXPECT_TRUE(collider->GetBoundingRectangleCheckingTileMap());
        EXPECT_EQ(collider->GetZCollision(), row.group);
        EXPECT_EQ(collider->GetUpdateOnIdle(), row.idle);
        for (std::uint8_t group = 0; group < row.meets.size(); ++group) {
            EXPECT_EQ(collider->CanCollideWith(group), row.meets[group]) << int(group);
        }
    }
    EXPECT_EQ(withCollider.size(), 36u);
    for (const std::uint32_t layer : {MyLevelFactory::kHudLayer, MyLevelFactory::kWorldLayer}) {
        for (const Tundra::GameObject* object : Objects(layer)) {
            if (!withCollider.contains(object->GetName().c_str())) {
                EXPECT_EQ(object->GetCollisionObject(), nullptr) << object->GetName().c_str();
            }
        }
    }
}

TEST_F(BuiltStageTest, BodiesTakeTheirMassAndOnlyTheDropAndTheSpikeFall) {
    struct Body {
        const char* name;
        float mass;
        std::optional<float> gravity;
    };
    const Body bodies[] = {
        {"EnemyDropTemplate", 1.0f, 9.8f}, {"RollingSpikeTemplate", 1.0f, 15.0f}, {"Player", 1.0f, std::nullopt},
        {"ProjectileTemplate", 0.0f, std::nullopt}, {"BossProjTemplate", 0.0f, std::nullopt},
        {"BulletTemplate", 0.0f, std::nullopt},
    };
    Physics2D::PhysicsEngine& physics = *Tundra::Game::GetInstance()->GetPhysicsEngine();
    std::set<std::string> withBody;
    for (const Body& body : bodies) {
        SCOPED_TRACE(body.name);
        withBody.insert(body.name);
        Tundra::GameObject* object = Find(body.name);
        ASSERT_NE(object, nullptr);
        Physics2D::MassProperties mass;
        ASSERT_TRUE(object->GetMassProperties(mass));
        EXPECT_EQ(mass.GetMass(), body.mass);
        EXPECT_EQ(mass.GetInertia(), 0.0f);
        EXPECT_EQ(mass.GetCenterOfMass().x, 0.0f);
        EXPECT_EQ(mass.GetCenterOfMass().y, 0.0f);
        Vector2D velocity{1.0f, 1.0f};
        ASSERT_TRUE(object->GetVelocity(velocity));
        EXPECT_EQ(velocity.x, 0.0f);
        EXPECT_EQ(velocity.y, 0.0f);
        float spin = 1.0f;
        ASSERT_TRUE(object->GetAngularVelocity(spin));
        EXPECT_EQ(spin, 0.0f);
        Physics2D::RigidBody* rigid = physics.GetRigidBody(object->GetPhysicsId());
        ASSERT_NE(rigid, nullptr);
        EXPECT_EQ(rigid->GetForceCount(), body.gravity ? 1u : 0u);
        if (body.gravity) {
            // One second of the plain Euler step under the pull alone.
            rigid->Integrate(1.0f, 1.0f);
            EXPECT_FLOAT_EQ(rigid->GetVelocity().y, -*body.gravity);
            EXPECT_EQ(rigid->GetVelocity().x, 0.0f);
        }
    }
    for (const std::uint32_t layer : {MyLevelFactory::kHudLayer, MyLevelFactory::kWorldLayer}) {
        for (const Tundra::GameObject* object : Objects(layer)) {
            Physics2D::MassProperties mass;
            EXPECT_EQ(object->GetMassProperties(mass), withBody.contains(object->GetName().c_str()))
                << object->GetName().c_str();
        }
    }
}

TEST_F(ClientStageTest, NoObjectHasAColliderOrABodyYetEveryObjectIsPlacedAsOnAHost) {
    const std::array<std::vector<Placed>, 2> tables{HudTable(), WorldTable()};
    for (std::uint32_t layer = 0; layer < tables.size(); ++layer) {
        const std::vector<Tundra::GameObject*> objects = Objects(layer);
        ASSERT_EQ(objects.size(), tables[layer].size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            ExpectPlaced(*objects[i], tables[layer][i]);
            EXPECT_EQ(objects[i]->GetCollisionObject(), nullptr) << tables[layer][i].name;
            Physics2D::MassProperties mass;
            EXPECT_FALSE(objects[i]->GetMassProperties(mass)) << tables[layer][i].name;
        }
    }
}

// An emitter's stream form: what it was given.
std::vector<std::uint8_t> Saved(const Tundra::ParticleEmitter& emitter) {
    Core::MemoryFile file;
    emitter.Save(file);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

struct Particles {
    const char* name;
    std::type_index emitterType;
    std::vector<std::uint8_t> emitter;
    std::uint32_t count;
    Vector2D gravity;
    std::array<float, 2> emissionRate;
    std::array<std::uint32_t, 2> blend;
    std::array<Color, 2> startColour;
    std::array<Color, 2> endColour;
    std::array<float, 2> lifetime;
    std::array<float, 2> speed;
    std::array<float, 2> rotationSpeed;
    std::int32_t direction;
    std::array<Vector2D, 2> startScale;
    std::array<Vector2D, 2> endScale;
};

std::array<float, 8> Channels(const std::array<Color, 2>& colours) {
    return {colours[0].r, colours[0].g, colours[0].b, colours[0].a,
            colours[1].r, colours[1].g, colours[1].b, colours[1].a};
}
std::array<float, 4> Components(const std::array<Vector2D, 2>& pair) {
    return {pair[0].x, pair[0].y, pair[1].x, pair[1].y};
}

TEST_F(BuiltStageTest, ParticleSystemsTakeEverySettingOfTheirRows) {
    const float k100 = 100.0f / 255.0f;
    const float k52 = 52.0f / 255.0f;
    const float k46 = 46.0f / 255.0f;
    const float k166 = 166.0f / 255.0f;
    const float k70 = 70.0f / 255.0f;
    const float k53 = 53.0f / 255.0f;
    const Particles rows[] = {
        {"SmokeEmitter", typeid(Tundra::PointEmitter), Saved(Tundra::PointEmitter(10.0f, -10.0f, {10.0f, 0.0f})), 45,
         {0.0f, 9.8f}, {0.0f, 0.0f}, {6, 7}, {{{0.6f, 0.6f, 0.6f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}}},
         {{{0.4f, 0.4f, 0.4f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}}}, {0.0f, 1.0f}, {400.0f, 500.0f}, {0.0f, 0.0f}, 1,
         {{{0.3f, 0.3f}, {0.5f, 0.5f}}}, {{{3.0f, 3.0f}, {3.5f, 3.5f}}}},
        {"FireDebuffTemplate", typeid(Tundra::DiskEmitter), Saved(Tundra::DiskEmitter({0.0f, -20.0f}, 30.0f)), 5,
         {0.0f, 9.8f}, {5.0f, 10.0f}, {6, 7}, {{{1.0f, 1.0f, 1.0f, 0.9f}, {1.0f, 1.0f, 1.0f, 0.9f}}},
         {{{1.0f, 1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f}}}, {0.5f, 1.0f}, {10.0f, 8.0f}, {0.0f, 0.0f}, 1,
         {{{0.0f, 0.0f}, {0.0f, 0.0f}}}, {{{2.6f, 2.6f}, {3.0f, 3.0f}}}},
        {"FlameEmitter", typeid(Tundra::PointEmitter), Saved(Tundra::PointEmitter(10.0f, -10.0f, {30.0f, 0.0f})), 30,
         {0.0f, 0.0f}, {0.0f, 0.0f}, {6, 1}, {{{1.0f, 0.4f, 0.4f, 1.0f}, {1.0f, k100, k52, 1.0f}}},
         {{{0.6f, k46, 0.0f, 0.0f}, {k166, k70, k53, 0.0f}}}, {0.0f, 2.0f}, {200.0f, 250.0f}, {-2.0f, 2.0f}, 1,
         {{{1.0f, 1.0f}, {1.0f, 1.0f}}}, {{{2.0f, 2.0f}, {3.0f, 3.0f}}}},
        {"GasEmitter", typeid(Tundra::PointEmitter), Saved(Tundra::PointEmitter(30.0f, -30.0f, {0.0f, 0.0f})), 10,
         {0.0f, 0.0f}, {0.0f, 0.0f}, {6, 1}, {{{1.0f, 0.0f, 1.0f, 0.3f}, {0.8f, 0.0f, 0.8f, 0.5f}}},
         {{{1.0f, 0.2f, 0.0f, 0.0f}, {1.0f, 0.6f, 0.0f, 0.0f}}}, {0.0f, 1.25f}, {100.0f, 100.0f}, {0.0f, 0.0f}, 0,
         {{{0.8f, 0.3f}, {1.0f, 0.35f}}}, {{{1.0f, 0.8f}, {2.0f, 1.2f}}}},
    };
    for (const Particles& row : rows) {
        SCOPED_TRACE(row.name);
        const auto* system = Find<Tundra::ParticleSystem>(row.name);
        ASSERT_NE(system, nullptr);
        ASSERT_NE(system->GetEmitter(), nullptr);
        EXPECT_EQ(std::type_index(typeid(*system->GetEmitter())), row.emitterType);
        EXPECT_EQ(Saved(*system->GetEmitter()), row.emitter);
        EXPECT_EQ(system->GetParticleCount(), row.count);
        EXPECT_EQ(system->GetGravity().x, row.gravity.x);
        EXPECT_EQ(system->GetGravity().y, row.gravity.y);
        EXPECT_TRUE(system->GetRecycleParticles());
        std::array<float, 2> pair{};
        system->GetEmissionRate(pair[0], pair[1]);
        EXPECT_EQ(pair, row.emissionRate);
        EXPECT_EQ((std::array<std::uint32_t, 2>{system->GetSrcBlendFactor(), system->GetDstBlendFactor()}),
                  row.blend);
        std::array<Color, 2> colours{};
        system->GetParticleStartingColor(colours[0], colours[1]);
        EXPECT_EQ(Channels(colours), Channels(row.startColour));
        system->GetParticleEndingColor(colours[0], colours[1]);
        EXPECT_EQ(Channels(colours), Channels(row.endColour));
        system->GetParticleLifeTime(pair[0], pair[1]);
        EXPECT_EQ(pair, row.lifetime);
        system->GetParticleSpeed(pair[0], pair[1]);
        EXPECT_EQ(pair, row.speed);
        system->GetParticleRotationSpeed(pair[0], pair[1]);
        EXPECT_EQ(pair, row.rotationSpeed);
        EXPECT_EQ(system->GetParticleDirection(), row.direction);
        std::array<Vector2D, 2> scales{};
        system->GetParticleStartingScale(scales[0], scales[1]);
        EXPECT_EQ(Components(scales), Components(row.startScale));
        system->GetParticleEndingScale(scales[0], scales[1]);
        EXPECT_EQ(Components(scales), Components(row.endScale));
        EXPECT_FALSE(system->GetUseLocalCoordinates());
        EXPECT_FALSE(system->GetVisible());
        EXPECT_EQ(system->GetRotationAngle(), 0.0f);
        EXPECT_EQ(system->GetLifeTime(), 0.0f);
        EXPECT_EQ(system->GetCenter().x, 0.0f);
        EXPECT_EQ(system->GetCenter().y, 0.0f);
        EXPECT_FALSE(system->IsHUDObject());
    }
}

TEST_F(BuiltStageTest, ThePlayerCarriesTheMascotAndTheRightWeaponTheChainOfEffects) {
    const std::array<std::array<const char*, 2>, 4> mounts{{
        {"Quorvex", "Player"},
        {"GasEmitter", "RightWeapon"},
        {"SmokeEmitter", "FlameEmitter"},
        {"FlameEmitter", "GasEmitter"},
    }};
    for (const auto& [child, parent] : mounts) {
        SCOPED_TRACE(child);
        const Tundra::GameObject* mounted = Find(child);
        ASSERT_NE(mounted, nullptr);
        EXPECT_EQ(mounted->GetMount(), Find(parent));
    }
}

// The stage entered through the game's level switch, where the level's start
// clones the templates out of it.
TEST_F(StageContentTablesTest, TheStageFillsEveryTemplateSlotButTheFadingText) {
    EndGame();
    m_game = MakeGame(MakeGameContent());
    Step();
    ASSERT_TRUE(GoToLevel(kStage));
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        SCOPED_TRACE(kTemplateNames[slot]);
        const Tundra::GameObject* held = Game().GetTemplate(slot);
        if (slot == kFadingTextTemplate) {
            EXPECT_EQ(held, nullptr);
            continue;
        }
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(std::string(held->GetName().c_str()), kTemplateNames[slot]);
    }
}

}  // namespace
}  // namespace mygametest
