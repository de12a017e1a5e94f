#include "collision/Collision_CollisionId.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/generated/MyGame_ContentRecipe.h"
#include "mygame/generated/MyGame_ContentTables.h"
#include "physics/Physics_MassProperties.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_ScreenSpace.h"
#include "support/MyGame_TestGame.h"
#include "support/Renderer_ManifestSizes.h"
#include "support/Tundra_NetworkRoles.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace mygametest {
namespace {


// What a sprite shows and plays.
struct SpriteState {
    int actor;
    int animation;
    int frame;
    bool playing;
    bool loop;
};

// One object as its level's content gives it; sprites also their state.
struct Placed {
    const char* name;
    const char* type;
    Vector2D position;
    float z;
    bool visible;
    Vector2D scale;
    std::optional<SpriteState> sprite{};
};

constexpr SpriteState Still(int actor, int frame = 0) { return {actor, 0, frame, false, false}; }
constexpr SpriteState Running(int actor) { return {actor, 0, 0, true, true}; }

const Placed kIntroHud[] = {
    {"HwLogo", "Tundra::Sprite", {0, 0}, 0.0f, true, {1, 1}, Running(0)},
    {"TdLogo", "Tundra::Sprite", {0, 0}, 0.0f, true, {1, 1}, Running(1)},
    {"QuorLogo", "Tundra::Sprite", {0, 0}, 0.0f, true, {1, 1}, Running(2)},
};

const Placed kTitleHud[] = {
    {"CenteredTextTemplate", "CenteredText", {-671, 447}, 3.1f, true, {1, 1}},
    {"FadingTextTemplate", "FadingText", {-685, 487}, 3.1f, true, {1, 1}},
    {"DropsCollectedText", "Tundra::Text", {-420, 205}, 5.0f, true, {1, 1}},
    {"LeftWeaponBarBG", "Tundra::Sprite", {-468, 287}, 0.0f, true, {1, 1}, Still(3)},
    {"LeftWeaponBar", "WeaponBar", {-468, 287}, 0.0f, true, {1, 1}, Still(4)},
    {"RightWeaponBarBG", "Tundra::Sprite", {-409, 287}, 0.0f, true, {1, 1}, Still(3)},
    {"RightWeaponBar", "WeaponBar", {-409, 287}, 0.0f, true, {1, 1}, Still(4)},
    {"PlayerHPBarColor", "HpBar", {-437, 349}, 0.0f, true, {1, 1}, Still(5)},
    {"Donut", "Tundra::Sprite", {-470, 215}, 0.0f, true, {1, 1}, Running(6)},
    {"WepSelFrame", "WepSelUI", {-956, 260}, 0.0f, true, {1, 1}, Still(7)},
    {"FrameBGTemplate", "Tundra::Sprite", {-451, 553}, 0.2f, true, {50, 50}, Running(8)},
    {"FramePipeTemplate", "Tundra::Sprite", {-468, 612}, 0.3f, true, {100, 1}, Running(9)},
    {"FrameCornerTemplate", "Tundra::Sprite", {-448, 675}, 0.4f, true, {1, 1}, Running(10)},
    {"Volume", "InternalSprite", {-1004, 365}, 1.0f, false, {1, 1}, Running(11)},
    {"VolumeBG", "VolumeControl", {-1004, 365}, 1.2f, false, {1, 1}, Running(12)},
    {"ShopTabs", "ShopTabs", {-627, 591}, 3.0f, true, {1, 1}, Still(13)},
    {"WepSelTemplate", "WepSelButton", {-624, 664}, 3.0f, true, {1, 1}, Still(14)},
    {"ButtonTemplate", "LabeledButton", {-613, 779}, 3.0f, false, {1, 1}, Still(15)},
    {"ShopCapsuleTemplate", "Tundra::Sprite", {-618, 845}, 3.0f, true, {1, 1}, Still(16)},
    {"PlayerHPBar", "Tundra::Sprite", {-437, 349}, 3.0f, true, {1, 1}, Still(17)},
    {"LevelTile", "MapTile", {-718, 279}, 3.1f, true, {1, 1}, Still(18)},
    {"Credits", "Tundra::Sprite", {-972, 658}, 3.1f, true, {1, 1}, Running(19)},
    {"FadeTransition", "FadeTransition", {0, 0}, 10.0f, true, {1024, 768}, Running(20)},
    {"MainCursor", "CursorClass", {-641, 211}, 13.0f, true, {1, 1}, Still(21)},
    {"LeftCursor", "CursorSprite", {-641, 211}, 13.0f, true, {1, 1}, Still(22)},
    {"RightCursor", "CursorSprite", {-641, 211}, 13.0f, true, {1, 1}, Still(22, 1)},
};

const Placed kTitleWorld[] = {
    {"DialogTemplate", "Tundra::Text", {-640, 385}, 0.0f, true, {1, 1}},
    {"ScoreTextTemplate", "ScoreText", {-667, 526}, 5.0f, true, {1, 1}},
    {"SkyGradient", "Tundra::Sprite", {512, 384}, -5.0f, true, {1030, 1.05f}, Still(23)},
    {"TitleSun", "TitleSun", {-312, 123}, -4.0f, true, {1, 1}, Still(24)},
    {"ExitSign", "MenuExit", {50, 122}, -2.0f, true, {1, 1}, Still(25)},
    {"OptionsUI", "OptionsUI", {273, 166}, -0.2f, true, {1, 1}, Running(26)},
    {"LevelSelUI", "LevelUI", {739, 166}, -0.2f, true, {1, 1}, Running(27)},
    {"ShopUI", "ShopUI", {527, 166}, -0.2f, true, {1, 1}, Running(28)},
    {"Title", "Tundra::Sprite", {512, 860}, -0.1f, true, {1, 1}, Still(29)},
    {"MapTileTemplate", "MapTile", {-635, 347}, 0.0f, true, {1, 1}, Still(30)},
    {"PushX", "Tundra::Sprite", {-623, 729}, 0.0f, true, {1, 1}, Running(31)},
    {"Player", "MenuPlayer", {603, 817}, 0.0f, true, {1, 1}, Still(32)},
    {"MapTileColliderTemplate", "MapTile", {-635, 280}, 0.0f, true, {1, 1}, Still(18)},
    {"Quorvex", "Quorvex", {602, 849}, 1.5f, true, {1, 1}, Running(33)},
    {"RightWeapon", "WeaponSprite", {603, 816}, 2.0f, false, {1, 1}, Running(34)},
    {"LeftWeapon", "WeaponSprite", {603, 816}, 2.0f, true, {1, 1}, Running(34)},
    {"BulletTemplate", "Bullet", {-635, 410}, 4.5f, true, {1, 1}, Running(35)},
    {"ControlsInstruction1", "Tundra::Sprite", {512, 342}, 6.0f, false, {1, 1}, Still(36)},
    {"ControlsInstruction2", "Tundra::Sprite", {512, 281}, 6.0f, false, {1, 1}, Still(36, 1)},
    {"SmokeEmitter", "Tundra::ParticleSystem", {652, 816}, 6.8f, true, {1, 1}},
    {"FlameEmitter", "Tundra::ParticleSystem", {652, 816}, 6.9f, true, {1, 1}},
    {"GasEmitter", "Tundra::ParticleSystem", {652, 816}, 7.0f, true, {1, 1}},
};

// A collision object as a row sets it up.
struct ColliderRow {
    const char* name;
    std::uint32_t actor;
    std::uint8_t type = 0;
    float thickness = 4.0f;
    std::uint8_t group = 0;
    // Groups 0 to 3.
    std::array<bool, 4> meets{true, false, false, false};
    bool idle = false;
};

const ColliderRow kIntroColliders[] = {{"HwLogo", 0}, {"TdLogo", 1}, {"QuorLogo", 2}};

const ColliderRow kTitleColliders[] = {
    {"Donut", 6},
    {"WepSelFrame", 7},
    {"FrameBGTemplate", 8},
    {"FramePipeTemplate", 9},
    {"FrameCornerTemplate", 10},
    {"Volume", 11},
    {"VolumeBG", 12},
    {"Credits", 19},
    {"FadeTransition", 20},
    {"MainCursor", 21},
    {"LeftCursor", 22},
    {"RightCursor", 22},
    {"ExitSign", 25},
    {"Title", 29, 1},
    {"Player", 32, 1, 4.0f, 0, {true, false, false, false}, true},
    {"MapTileColliderTemplate", 18, 1, 4.0f, 0, {true, true, true, false}},
    {"Quorvex", 33},
    {"RightWeapon", 34},
    {"BulletTemplate", 35, 1, 8.0f, 2},
};

struct BodyRow {
    const char* name;
    float mass;
};

const BodyRow kTitleBodies[] = {{"Player", 1.0f}, {"BulletTemplate", 0.0f}};

// The levels built by a factory over the game's content while a game runs
// whose intro (from an empty test content) registered no actors.
class TitleContentTest : public MyGameTest {
protected:
    void SetUp() override {
        MyGameTest::SetUp();
        testsupport::SizeSheetsAsManifest(*m_textures);
    }
    void TearDown() override {
        if (m_level) {
            m_level->Shutdown();
        }
        m_level = nullptr;
        m_factory = nullptr;
        MyGameTest::TearDown();
    }

    // The level as the factory leaves it: its objects wait for their
    // layer's first update.
    Tundra::Level& Build(std::uint32_t index) {
        StartGame();
        Step();
        testsupport::SetNetworkRole(m_role);
        m_factory = TUN_NEW(MyLevelFactory, MakeGameContent());
        m_level = m_factory->CreateLevel(index);
        return *m_level;
    }
    // The level, each of its layers updated once.
    Tundra::Level& BuildAndUpdate(std::uint32_t index) {
        Build(index);
        UpdateLayers();
        return *m_level;
    }
    void UpdateLayers() {
        for (std::uint32_t layer = 0; layer < m_level->GetLayersCount(); ++layer) {
            m_level->GetLayer(layer)->Update(kDt);
        }
    }

    static std::vector<Tundra::GameObject*> Objects(const Tundra::Level& level, std::uint32_t layer) {
        std::vector<Tundra::GameObject*> objects;
        level.GetLayer(layer)->GetGameObjects(objects);
        return objects;
    }

    // Each row's object as placed, the only one of its name in the layer.
    // Checked before the first update: the objects' own starts change some
    // of it then (the cursor follows the mouse, the weapon bars and weapons
    // show the chosen weapons, the sun rises).
    static void ExpectPlaced(const Tundra::Level& level, std::uint32_t layer, std::span<const Placed> rows) {
        SCOPED_TRACE("layer " + std::to_string(layer));
        for (const Placed& row : rows) {
            SCOPED_TRACE(row.name);
            std::vector<Tundra::GameObject*> named;
            level.GetLayer(layer)->GetGameObjectsByName(row.name, named);
            ASSERT_EQ(named.size(), 1u);
            const Tundra::GameObject& object = *named[0];
            EXPECT_STREQ(object.GetType(), row.type);
            EXPECT_EQ(object.GetPosition(), row.position);
            EXPECT_EQ(object.GetZOrder(), row.z);
            EXPECT_EQ(object.GetVisible(), row.visible);
            EXPECT_EQ(object.GetScaleX(), row.scale.x);
            EXPECT_EQ(object.GetScaleY(), row.scale.y);
            EXPECT_EQ(IsScreenSpace(object), layer == MyLevelFactory::kHudLayer);
            const auto* sprite = dynamic_cast<const Tundra::Sprite*>(&object);
            ASSERT_EQ(sprite != nullptr, row.sprite.has_value());
            if (sprite != nullptr) {
                EXPECT_EQ(sprite->GetCollisionActorIndex(), row.sprite->actor);
                EXPECT_EQ(sprite->GetCurrentAnimationIndex(), row.sprite->animation);
                EXPECT_EQ(sprite->GetCurrentFrameIndex(), row.sprite->frame);
                EXPECT_EQ(sprite->IsPlaying(), row.sprite->playing);
                EXPECT_EQ(sprite->GetLoop(), row.sprite->loop);
            }
        }
    }

    // After the layer's update it holds the rows' objects, in their order.
    static void ExpectOrder(const Tundra::Level& level, std::uint32_t layer, std::span<const Placed> rows) {
        std::vector<std::string> expected;
        for (const Placed& row : rows) {
            expected.emplace_back(row.name);
        }
        std::vector<std::string> names;
        for (const Tundra::GameObject* object : Objects(level, layer)) {
            names.emplace_back(object->GetName().c_str());
        }
        EXPECT_EQ(names, expected) << "layer " << layer;
    }

    // The level builder's camera is all the back layer holds.
    static void ExpectOnlyCamera(const Tundra::Level& level) {
        const std::vector<Tundra::GameObject*> objects = Objects(level, MyLevelFactory::kBackLayer);
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_STREQ(objects[0]->GetType(), "Tundra::Camera");
        EXPECT_EQ(std::string(objects[0]->GetName().c_str()), "camera0");
    }

    struct PlacedObject {
        std::uint32_t layer;
        const Tundra::GameObject* object;
    };
    // The placed objects of the rows by name (found while they wait for
    // their layer's first update).
    std::map<std::string, PlacedObject> PlacedByName(std::span<const std::span<const Placed>> layers) const {
        std::map<std::string, PlacedObject> placed;
        for (std::uint32_t layer = 0; layer < layers.size(); ++layer) {
            for (const Placed& row : layers[layer]) {
                std::vector<Tundra::GameObject*> named;
                m_level->GetLayer(layer)->GetGameObjectsByName(row.name, named);
                if (named.size() == 1) {
                    placed[row.name] = {layer, named[0]};
                }
            }
        }
        return placed;
    }

    // Exactly the collider rows' objects have collision objects, each as its
    // row sets it up over the factory's actor, on its layer's collision id.
    void ExpectColliders(std::span<const std::span<const Placed>> layers, std::span<const ColliderRow> rows) {
        const std::map<std::string, PlacedObject> placed = PlacedByName(layers);
        std::set<std::string> withColliders;
        for (const auto& [name, at] : placed) {
            if (at.object->GetCollisionObject() == nullptr) {
                continue;
            }
            withColliders.insert(name);
            std::uint16_t number = 0;
            std::uint8_t group = 0;
            std::uint8_t collisionLayer = 0;
            Collision2D::DecodeCollisionId(at.object->GetCollisionId(), number, group, collisionLayer);
            EXPECT_EQ(collisionLayer, m_level->GetLayer(at.layer)->GetCollisionId()) << name;
        }
        std::set<std::string> named;
        for (const ColliderRow& row : rows) {
            SCOPED_TRACE(row.name);
            named.insert(row.name);
            const auto found = placed.find(row.name);
            ASSERT_NE(found, placed.end());
            const Collision2D::DynamicObject* collider = found->second.object->GetCollisionObject();
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
        EXPECT_EQ(withColliders, named);
    }

    // Exactly the body rows' objects have bodies, of the rows' masses, at rest.
    void ExpectBodies(std::span<const std::span<const Placed>> layers, std::span<const BodyRow> rows) {
        const std::map<std::string, PlacedObject> placed = PlacedByName(layers);
        std::set<std::string> withBodies;
        for (const auto& [name, at] : placed) {
            Physics2D::MassProperties mass;
            if (at.object->GetMassProperties(mass)) {
                withBodies.insert(name);
            }
        }
        std::set<std::string> named;
        for (const BodyRow& row : rows) {
            SCOPED_TRACE(row.name);
            named.insert(row.name);
            const auto found = placed.find(row.name);
            ASSERT_NE(found, placed.end());
            Physics2D::MassProperties mass;
            ASSERT_TRUE(found->second.object->GetMassProperties(mass));
            EXPECT_EQ(mass.GetMass(), row.mass);
            Vector2D velocity{1.0f, 1.0f};
            EXPECT_TRUE(found->second.object->GetVelocity(velocity));
            EXPECT_EQ(velocity, Vector2D(0.0f, 0.0f));
        }
        EXPECT_EQ(withBodies, named);
    }

    // The role the game's network front end has while a level is built.
    testsupport::NetworkRole m_role = testsupport::NetworkRole::Outside;
    Core::RefPtr<MyLevelFactory> m_factory;
    Core::RefPtr<Tundra::Level> m_level;
};

TEST_F(TitleContentTest, TheIntroHoldsItsThreeLogosOnTheHud) {
    const Tundra::Level& level = Build(MyLevelFactory::kIntroLevel);
    ExpectPlaced(level, 0, kIntroHud);
    const std::span<const Placed> layers[] = {kIntroHud};
    ExpectColliders(layers, kIntroColliders);
    ExpectBodies(layers, {});
    UpdateLayers();
    ExpectOrder(level, 0, kIntroHud);
    ExpectOrder(level, 1, {});
    ExpectOnlyCamera(level);
    // Nothing shows until the intro raises an opacity.
    for (const Tundra::GameObject* logo : Objects(level, 0)) {
        EXPECT_EQ(logo->GetOpacity(), 0.0f) << logo->GetName().c_str();
    }
    const auto* quor = Tundra::FindObject<Tundra::Sprite>(level, "QuorLogo");
    ASSERT_NE(quor, nullptr);
    EXPECT_EQ(std::string(quor->GetCurrentAnimationName().c_str()), "SquealingQuor");
    ASSERT_EQ(quor->GetFramesCount(), 2);
    EXPECT_EQ(quor->GetFrameDelay(0, 1), 0.75f);
}

TEST_F(TitleContentTest, TheTitleLevelPlacesItsHudAndWorldRowsInOrder) {
    const Tundra::Level& level = Build(MyLevelFactory::kMenuLevel);
    ExpectPlaced(level, 0, kTitleHud);
    ExpectPlaced(level, 1, kTitleWorld);

    // A few settings the table leaves out.
    const auto* capsule = Tundra::FindObject<Tundra::Sprite>(level, "ShopCapsuleTemplate");
    ASSERT_NE(capsule, nullptr);
    EXPECT_EQ(capsule->GetOpacity(), 0.6f);
    for (const char* name : {"Player", "Quorvex"}) {
        const auto* flipped = Tundra::FindObject<Tundra::Sprite>(level, name);
        ASSERT_NE(flipped, nullptr);
        EXPECT_TRUE(flipped->GetFlipHorizontal()) << name;
    }
    // The texts are black, but the dialog template's, which keeps the
    // class's own colour.
    struct Shown {
        const char* name;
        const char* text;
        float red;
    };
    const Shown texts[] = {{"CenteredTextTemplate", "template", 0.0f},
                           {"FadingTextTemplate", "I'm a template!", 0.0f},
                           {"DropsCollectedText", "0", 0.0f},
                           {"DialogTemplate", "", 1.0f},
                           {"ScoreTextTemplate", "template", 0.0f}};
    for (const Shown& shown : texts) {
        const auto* text = Tundra::FindObject<Tundra::Text>(level, shown.name);
        ASSERT_NE(text, nullptr) << shown.name;
        EXPECT_EQ(std::string(text->GetText().c_str()), shown.text) << shown.name;
        const Color& colour = text->GetModulationColor();
        EXPECT_EQ((std::array<float, 4>{colour.r, colour.g, colour.b, colour.a}),
                  (std::array<float, 4>{shown.red, shown.red, shown.red, 1.0f}))
            << shown.name;
    }
    const auto* sky = Tundra::FindObject<Tundra::Sprite>(level, "SkyGradient");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->GetAnimationsCount(), 3);

    UpdateLayers();
    ExpectOrder(level, 0, kTitleHud);
    ExpectOrder(level, 1, kTitleWorld);
    ExpectOnlyCamera(level);
}

TEST_F(TitleContentTest, TheTitleLevelsCollidersAndBodiesAreItsRows) {
    Build(MyLevelFactory::kMenuLevel);
    const std::span<const Placed> layers[] = {kTitleHud, kTitleWorld};
    ExpectColliders(layers, kTitleColliders);
    ExpectBodies(layers, kTitleBodies);
}

TEST_F(TitleContentTest, ANetworkClientsTitleLevelHasNoColliderNorBodyButEveryOtherSetting) {
    m_role = testsupport::NetworkRole::Client;
    const Tundra::Level& level = Build(MyLevelFactory::kMenuLevel);
    ExpectPlaced(level, 0, kTitleHud);
    ExpectPlaced(level, 1, kTitleWorld);
    const std::span<const Placed> layers[] = {kTitleHud, kTitleWorld};
    ExpectColliders(layers, {});
    ExpectBodies(layers, {});
}

// A particle system as its row sets it up (colours and scales as first,
// second value).
struct EffectRow {
    const char* name;
    std::uint32_t count;
    Vector2D gravity;
    // The point emitter: offset, then the two angles.
    std::array<float, 4> emitter;
    std::uint32_t source;
    std::uint32_t destination;
    // Red, green, blue, alpha of the first colour, then of the second.
    std::array<float, 8> startColor;
    std::array<float, 8> endColor;
    std::array<float, 2> lifetime;
    std::array<float, 2> rotationSpeed;
    std::array<float, 2> speed;
    std::int32_t direction;
    std::array<Vector2D, 2> startScale;
    std::array<Vector2D, 2> endScale;
};

std::array<float, 8> Channels(const Color& a, const Color& b) { return {a.r, a.g, a.b, a.a, b.r, b.g, b.b, b.a}; }

// The point emitter's offset and angles: the last four values it stores.
std::array<float, 4> PointEmitterValues(const Tundra::ParticleEmitter& emitter) {
    Core::MemoryFile file;
    emitter.Save(file);
    std::array<float, 4> values{};
    if (file.GetSize() >= sizeof values) {
        std::memcpy(values.data(), file.GetData() + file.GetSize() - sizeof values, sizeof values);
    }
    return values;
}

TEST_F(TitleContentTest, TheWeaponEffectsTakeEverySettingOfTheirRows) {
    const EffectRow rows[] = {
        {"SmokeEmitter", 45, {0.0f, 9.8f}, {10, 0, 10, -10}, 6, 7,
         {0.6f, 0.6f, 0.6f, 1.0f, 0.8f, 0.8f, 0.8f, 1.0f}, {0.4f, 0.4f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
         {0.0f, 1.0f}, {0.0f, 0.0f}, {400.0f, 500.0f}, 1, {Vector2D{0.3f, 0.3f}, Vector2D{0.5f, 0.5f}},
         {Vector2D{3.0f, 3.0f}, Vector2D{3.5f, 3.5f}}},
        {"FlameEmitter", 30, {0.0f, 0.0f}, {30, 0, 10, -10}, 6, 1,
         {1.0f, 0.4f, 0.4f, 1.0f, 1.0f, 0.39215687f, 0.20392157f, 1.0f},
         {0.6f, 0.18039216f, 0.0f, 0.0f, 0.65098041f, 0.27450982f, 0.20784314f, 0.0f}, {0.0f, 2.0f},
         {-2.0f, 2.0f}, {200.0f, 250.0f}, 1, {Vector2D{1.0f, 1.0f}, Vector2D{1.0f, 1.0f}},
         {Vector2D{2.0f, 2.0f}, Vector2D{3.0f, 3.0f}}},
        // Its rotation speed is never set: the constructor's stays.
        {"GasEmitter", 10, {0.0f, 0.0f}, {0, 0, 30, -30}, 6, 1,
         {1.0f, 0.0f, 1.0f, 0.3f, 0.8f, 0.0f, 0.8f, 0.5f}, {1.0f, 0.2f, 0.0f, 0.0f, 1.0f, 0.6f, 0.0f, 0.0f},
         {0.0f, 1.25f}, {0.0f, 0.0f}, {100.0f, 100.0f}, 0, {Vector2D{0.8f, 0.3f}, Vector2D{1.0f, 0.35f}},
         {Vector2D{1.0f, 0.8f}, Vector2D{2.0f, 1.2f}}},
    };
    const Tundra::Level& level = BuildAndUpdate(MyLevelFactory::kMenuLevel);
    for (const EffectRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto* system = Tundra::FindObject<Tundra::ParticleSystem>(level, row.name);
        ASSERT_NE(system, nullptr);
        EXPECT_EQ(system->GetParticleCount(), row.count);
        EXPECT_EQ(system->GetGravity(), row.gravity);
        ASSERT_NE(system->GetEmitter(), nullptr);
        EXPECT_STREQ(system->GetEmitter()->GetType(), "Tundra::PointEmitter");
        EXPECT_EQ(PointEmitterValues(*system->GetEmitter()), row.emitter);
        EXPECT_TRUE(system->GetRecycleParticles());
        float low = -1.0f;
        float high = -1.0f;
        system->GetEmissionRate(low, high);
        EXPECT_EQ((std::array<float, 2>{low, high}), (std::array<float, 2>{0.0f, 0.0f}));
        EXPECT_EQ(system->GetSrcBlendFactor(), row.source);
        EXPECT_EQ(system->GetDstBlendFactor(), row.destination);
        Color first;
        Color second;
        system->GetParticleStartingColor(first, second);
        EXPECT_EQ(Channels(first, second), row.startColor);
        system->GetParticleEndingColor(first, second);
        EXPECT_EQ(Channels(first, second), row.endColor);
        system->GetParticleLifeTime(low, high);
        EXPECT_EQ((std::array<float, 2>{low, high}), row.lifetime);
        system->GetParticleRotationSpeed(low, high);
        EXPECT_EQ((std::array<float, 2>{low, high}), row.rotationSpeed);
        system->GetParticleSpeed(low, high);
        EXPECT_EQ((std::array<float, 2>{low, high}), row.speed);
        EXPECT_EQ(system->GetParticleDirection(), row.direction);
        std::array<Vector2D, 2> scales;
        system->GetParticleStartingScale(scales[0], scales[1]);
        EXPECT_EQ(scales, row.startScale);
        system->GetParticleEndingScale(scales[0], scales[1]);
        EXPECT_EQ(scales, row.endScale);
        EXPECT_FALSE(system->GetUseLocalCoordinates());
        EXPECT_EQ(system->GetLifeTime(), 0.0f);
    }
}

TEST_F(TitleContentTest, OwnSetterRowsHideTheirButtonAndVolumeThroughTheirClasses) {
    const LayerRows& hud = ContentLevelRows(MyLevelFactory::kMenuLevel)[MyLevelFactory::kHudLayer];
    const SpriteRow* button = nullptr;
    const SpriteRow* volume = nullptr;
    for (const ContentRow& row : hud) {
        if (const auto* sprite = std::get_if<SpriteRow>(&row)) {
            button = std::string_view(sprite->name) == "ButtonTemplate" ? sprite : button;
            volume = std::string_view(sprite->name) == "VolumeBG" ? sprite : volume;
        }
    }
    ASSERT_NE(button, nullptr);
    ASSERT_NE(volume, nullptr);
    // The recipe of a class calls its own opacity and visibility in place
    // of the object's.
    EXPECT_EQ(button->make.GetMaker(), &MakeSprite<LabeledButton>);
    EXPECT_EQ(volume->make.GetMaker(), &MakeSprite<VolumeControl>);
}

// Through the game's level switch: the title level's start captures the
// templates it holds, after the builder mounted its pairs.
TEST_F(TitleContentTest, TheTitleLevelCapturesItsEightTemplatesAndRidesItsMounts) {
    m_game = MakeGame(MakeGameContent());
    Step();
    for (const char* logo : {"HwLogo", "TdLogo", "QuorLogo"}) {
        EXPECT_NE(Tundra::FindObject<Tundra::Sprite>(logo), nullptr) << logo;
    }
    ASSERT_TRUE(GoToLevel(MyLevelFactory::kMenuLevel));
    std::set<std::uint32_t> filled;
    for (std::uint32_t slot = 0; slot < kTemplateCount; ++slot) {
        if (Game().GetTemplate(slot) != nullptr) {
            filled.insert(slot);
        }
    }
    EXPECT_EQ(filled, (std::set<std::uint32_t>{kBulletTemplate, kButtonTemplate, kCenteredTextTemplate,
                                               kScoreTextTemplate, kFrameBGTemplate, kFramePipeTemplate,
                                               kFrameCornerTemplate, kFadingTextTemplate}));
    const char* const mounts[][2] = {{"Volume", "VolumeBG"},
                                     {"Quorvex", "Player"},
                                     {"GasEmitter", "RightWeapon"},
                                     {"SmokeEmitter", "FlameEmitter"},
                                     {"FlameEmitter", "GasEmitter"}};
    for (const auto& [child, parent] : mounts) {
        const auto* rider = Tundra::FindObject<Tundra::GameObject>(child);
        const auto* carrier = Tundra::FindObject<Tundra::GameObject>(parent);
        ASSERT_NE(rider, nullptr) << child;
        ASSERT_NE(carrier, nullptr) << parent;
        EXPECT_EQ(rider->GetMount(), carrier) << child;
    }
    // The title level runs on its rows.
    Step(60);
    EXPECT_EQ(Game().GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel);
    EXPECT_NE(Tundra::FindObject<Tundra::Sprite>("Player"), nullptr);
}

}  // namespace
}  // namespace mygametest
