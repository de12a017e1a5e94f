#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_PS_FireDebuff.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentPlacer.h"
#include "mygame/generated/MyGame_ContentRecipe.h"
#include "os/OS_Path.h"
#include "physics/Physics_BodyState.h"
#include "physics/Physics_Force.h"
#include "support/MyGame_TestGame.h"
#include "support/Tundra_NetworkRoles.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace mygametest {
namespace {

std::vector<std::string>& CallLog() {
    static std::vector<std::string> log;
    return log;
}

// The values as a call is logged: each after a space.
std::string Values(std::initializer_list<float> values) {
    std::ostringstream text;
    for (const float value : values) {
        text << ' ' << value;
    }
    return text.str();
}

// The settings every placed object shares, logged in the order they come.
template <class Base>
class Logged : public Base {
public:
    using Base::Base;

    void SetName(const Core::String& name) {
        CallLog().push_back("SetName " + std::string(name.c_str()));
        Base::SetName(name);
    }
    void SetPosition(const Vector2D& position) {
        CallLog().push_back("SetPosition" + Values({position.x, position.y}));
        Base::SetPosition(position);
    }
    void SetLifeTime(float seconds) {
        CallLog().push_back("SetLifeTime" + Values({seconds}));
        Base::SetLifeTime(seconds);
    }
    void SetVisible(bool visible) {
        CallLog().push_back("SetVisible" + Values({float(visible)}));
        Base::SetVisible(visible);
    }
    void SetOpacity(float opacity) {
        CallLog().push_back("SetOpacity" + Values({opacity}));
        Base::SetOpacity(opacity);
    }
    void SetRotationAngle(float degrees) {
        CallLog().push_back("SetRotationAngle" + Values({degrees}));
        Base::SetRotationAngle(degrees);
    }
    void SetScale(float x, float y) {
        CallLog().push_back("SetScale" + Values({x, y}));
        Base::SetScale(x, y);
    }
    void SetCenter(const Vector2D& center) {
        CallLog().push_back("SetCenter" + Values({center.x, center.y}));
        Base::SetCenter(center);
    }
    void SetZOrder(float z) {
        CallLog().push_back("SetZOrder" + Values({z}));
        Base::SetZOrder(z);
    }
    void SetModulationColor(const Color& color) {
        CallLog().push_back("SetModulationColor" + Values({color.r, color.g, color.b, color.a}));
        Base::SetModulationColor(color);
    }
    // Where the mark falls against the layer's adding.
    void SetHUDObject(bool hud) {
        CallLog().push_back("SetHUDObject" + Values({float(hud)}) + (this->GetLayer() != nullptr ? " in a layer" : ""));
        Base::SetHUDObject(hud);
    }
};

class LoggedSprite : public Logged<Tundra::Sprite> {
public:
    using Logged::Logged;

    bool AddCollision(Collision2D::DynamicObject* object, std::uint8_t collisionLayer) {
        CallLog().push_back("AddCollision" + Values({float(collisionLayer)}));
        return Sprite::AddCollision(object, collisionLayer);
    }
    void SetCollisionActorIndex(int index) {
        CallLog().push_back("SetCollisionActorIndex" + Values({float(index)}));
        Sprite::SetCollisionActorIndex(index);
    }
    void Play(bool play) {
        CallLog().push_back("Play" + Values({float(play)}));
        Sprite::Play(play);
    }
    void SetCurrentAnimationIndex(int index, bool restart) {
        CallLog().push_back("SetCurrentAnimationIndex" + Values({float(index), float(restart)}));
        Sprite::SetCurrentAnimationIndex(index, restart);
    }
    void SetCurrentFrameIndex(int index, bool force) {
        CallLog().push_back("SetCurrentFrameIndex" + Values({float(index), float(force)}));
        Sprite::SetCurrentFrameIndex(index, force);
    }
    void SetLoop(bool loop) {
        CallLog().push_back("SetLoop" + Values({float(loop)}));
        Sprite::SetLoop(loop);
    }
    void SetAnimationSpeed(float speed) {
        CallLog().push_back("SetAnimationSpeed" + Values({speed}));
        Sprite::SetAnimationSpeed(speed);
    }
    void SetFlipHorizontal(bool flip) {
        CallLog().push_back("SetFlipHorizontal" + Values({float(flip)}));
        Sprite::SetFlipHorizontal(flip);
    }
    void SetFlipVertical(bool flip) {
        CallLog().push_back("SetFlipVertical" + Values({float(flip)}));
        Sprite::SetFlipVertical(flip);
    }
    // Mass, inertia, centre of mass, solver kind.
    bool AddPhysicalProperties(const Physics2D::MassProperties* mass, int solverKind) {
        const Vector2D& centre = mass->GetCenterOfMass();
        CallLog().push_back("AddPhysicalProperties" +
                            Values({mass->GetMass(), mass->GetInertia(), centre.x, centre.y, float(solverKind)}));
        return Sprite::AddPhysicalProperties(mass, solverKind);
    }
    // The force on a body of mass 1.
    void AddForce(Physics2D::Force* force) {
        const Vector2D pull = force->Evaluate({}, Physics2D::MassProperties(1.0f));
        CallLog().push_back(std::string("AddForce ") + force->GetType() + Values({pull.x, pull.y}));
        Sprite::AddForce(force);
    }
    void SetVelocity(const Vector2D& velocity) {
        CallLog().push_back("SetVelocity" + Values({velocity.x, velocity.y}));
        Sprite::SetVelocity(velocity);
    }
    void SetAngularVelocity(float degreesPerSecond) {
        CallLog().push_back("SetAngularVelocity" + Values({degreesPerSecond}));
        Sprite::SetAngularVelocity(degreesPerSecond);
    }
};

// A class with opacity and visibility operations of its own.
class OwnSetterSprite : public LoggedSprite {
public:
    using LoggedSprite::LoggedSprite;

    void SetOpacity(float opacity) {
        CallLog().push_back("own SetOpacity" + Values({opacity}));
        Sprite::SetOpacity(opacity);
    }
    void SetVisible(bool visible) {
        CallLog().push_back("own SetVisible" + Values({float(visible)}));
        Sprite::SetVisible(visible);
    }
};

using LoggedText = Logged<Tundra::Text>;

class LoggedParticles : public Logged<Tundra::ParticleSystem> {
public:
    using Logged::Logged;

    void SetEmitter(Tundra::ParticleEmitter* emitter) {
        CallLog().push_back(std::string("SetEmitter ") + emitter->GetType());
        ParticleSystem::SetEmitter(emitter);
    }
    void SetRecycleParticles(bool recycle) {
        CallLog().push_back("SetRecycleParticles" + Values({float(recycle)}));
        ParticleSystem::SetRecycleParticles(recycle);
    }
    void SetEmissionRate(float low, float high) {
        CallLog().push_back("SetEmissionRate" + Values({low, high}));
        ParticleSystem::SetEmissionRate(low, high);
    }
    void SetSrcBlendFactor(std::uint32_t factor) {
        CallLog().push_back("SetSrcBlendFactor" + Values({float(factor)}));
        ParticleSystem::SetSrcBlendFactor(factor);
    }
    void SetDstBlendFactor(std::uint32_t factor) {
        CallLog().push_back("SetDstBlendFactor" + Values({float(factor)}));
        ParticleSystem::SetDstBlendFactor(factor);
    }
    void SetParticleStartingColor(const Color& low, const Color& high) {
        CallLog().push_back("SetParticleStartingColor" +
                            Values({low.r, low.g, low.b, low.a, high.r, high.g, high.b, high.a}));
        ParticleSystem::SetParticleStartingColor(low, high);
    }
    void SetParticleEndingColor(const Color& low, const Color& high) {
        CallLog().push_back("SetParticleEndingColor" +
                            Values({low.r, low.g, low.b, low.a, high.r, high.g, high.b, high.a}));
        ParticleSystem::SetParticleEndingColor(low, high);
    }
    void SetParticleLifeTime(float low, float high) {
        CallLog().push_back("SetParticleLifeTime" + Values({low, high}));
        ParticleSystem::SetParticleLifeTime(low, high);
    }
    void SetParticleRotationSpeed(float low, float high) {
        CallLog().push_back("SetParticleRotationSpeed" + Values({low, high}));
        ParticleSystem::SetParticleRotationSpeed(low, high);
    }
    void SetParticleSpeed(float low, float high) {
        CallLog().push_back("SetParticleSpeed" + Values({low, high}));
        ParticleSystem::SetParticleSpeed(low, high);
    }
    void SetParticleDirection(std::int32_t mode) {
        CallLog().push_back("SetParticleDirection" + Values({float(mode)}));
        ParticleSystem::SetParticleDirection(mode);
    }
    void SetParticleStartingScale(const Vector2D& low, const Vector2D& high) {
        CallLog().push_back("SetParticleStartingScale" + Values({low.x, low.y, high.x, high.y}));
        ParticleSystem::SetParticleStartingScale(low, high);
    }
    void SetParticleEndingScale(const Vector2D& low, const Vector2D& high) {
        CallLog().push_back("SetParticleEndingScale" + Values({low.x, low.y, high.x, high.y}));
        ParticleSystem::SetParticleEndingScale(low, high);
    }
    void SetUseLocalCoordinates(bool local) {
        CallLog().push_back("SetUseLocalCoordinates" + Values({float(local)}));
        ParticleSystem::SetUseLocalCoordinates(local);
    }
    void WarmUp(float seconds) {
        CallLog().push_back("WarmUp" + Values({seconds}));
        ParticleSystem::WarmUp(seconds);
    }
    void EngineUpdate(float dt) override {
        CallLog().push_back("step" + Values({dt}));
        ParticleSystem::EngineUpdate(dt);
    }
};

// Levels of synthetic rows, built with the game's collision actors and
// placed by the game's placer.
class RowContent : public LevelContent {
public:
    // The levels of a test are built one after the other in one running
    // game, without its level switch, which alone frees the actors: the
    // first build's serve the later ones.
    void LoadCollisionActors(MyLevelFactory& factory) override {
        const Tundra::Game* game = Tundra::Game::GetInstance();
        if (game != nullptr && game->GetCollisionAssets().empty()) {
            BuildCollisionActors(factory);
        }
    }
    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) override {
        ++builtLayers;
        placer.BuildLayer(factory, level, layer, level < levels.size() ? levels[level] : LevelRows{});
    }
    void ForgetObjects() override { placer.ForgetObjects(); }

    std::array<LevelRows, 3> levels{};
    ContentPlacer placer;
    int builtLayers = 0;
};

constexpr std::uint32_t kTitleLevel = MyLevelFactory::kMenuLevel;

class ContentRecipeTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartGame();
        Step();
        auto content = std::make_unique<RowContent>();
        m_content = content.get();
        m_factory = TUN_NEW(MyLevelFactory, std::move(content));
        CallLog().clear();
    }
    void TearDown() override {
        for (const Core::RefPtr<Tundra::Level>& level : m_levels) {
            level->Shutdown();
        }
        m_levels.clear();
        m_factory = nullptr;
        GameTest::TearDown();
    }

    // Level `index` with the rows given to its layers.
    Tundra::Level& Build(std::uint32_t index, const LevelRows& rows = {}) {
        m_content->levels[index] = rows;
        m_levels.emplace_back(m_factory->CreateLevel(index));
        return *m_levels.back();
    }
    // Builds the title level with the one row on layer `layer`; the object placed.
    template <class Object = Tundra::GameObject>
    Object* BuildOne(std::uint32_t layer, const ContentRow& row) {
        LevelRows rows;
        rows[layer].push_back(row);
        Build(kTitleLevel, rows);
        return dynamic_cast<Object*>(m_content->placer.GetObject(kTitleLevel, 0));
    }
    std::uint8_t CollisionId(std::uint32_t layer) const { return m_factory->GetLayer(layer)->GetCollisionId(); }

    RowContent* m_content = nullptr;
    Core::RefPtr<MyLevelFactory> m_factory;
    std::vector<Core::RefPtr<Tundra::Level>> m_levels;
};

using Log = std::vector<std::string>;

Log Joined(std::initializer_list<Log> parts) {
    Log joined;
    for (const Log& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

// Step 5 of a sprite row left at the recipe's values.
Log DefaultSettings(const char* name, int actor) {
    return {"SetName " + std::string(name),
            "SetCollisionActorIndex" + Values({float(actor)}),
            "SetOpacity 1",
            "Play 1",
            "SetPosition 0 0",
            "SetCurrentAnimationIndex 0 0",
            "SetCurrentFrameIndex 0 0",
            "SetLoop 1",
            "SetAnimationSpeed 1",
            "SetFlipHorizontal 0",
            "SetFlipVertical 0",
            "SetLifeTime 0",
            "SetVisible 1",
            "SetRotationAngle 0",
            "SetScale 1 1",
            "SetCenter 0 0",
            "SetZOrder 0"};
}

const std::vector<SheetAnimation> kTwoAnimations{{"RecipeSheetA", 2, 1, Delays(2)},
                                                 {"RecipeSheetB", 2, 2, DelayRuns({{0.5f, 3}, {1.0f, 1}})}};

// Every value a row can give, on the HUD, with a body falling under 9.8.
SpriteRow FullRow() {
    return {.name = "Full",
            .make = &MakeSprite<LoggedSprite>,
            .animations = kTwoAnimations,
            .actorIndex = 6,
            .collider = ColliderSettings{},
            .position = {3.0f, -4.0f},
            .z = 2.5f,
            .scale = {2.0f, 3.0f},
            .stopped = true,
            .hidden = true,
            .animation = 1,
            .frame = 2,
            .opacity = 0.5f,
            .flipped = true,
            .body = BodySettings{2.0f, 9.8f},
            .color = Color{0.25f, 0.5f, 0.75f, 1.0f}};
}

Log FullSettings() {
    return {"SetName Full",
            "SetCollisionActorIndex 6",
            "SetOpacity 0.5",
            "Play 0",
            "SetPosition 3 -4",
            "SetCurrentAnimationIndex 1 0",
            "SetCurrentFrameIndex 2 0",
            "SetLoop 0",
            "SetAnimationSpeed 1",
            "SetFlipHorizontal 1",
            "SetFlipVertical 0",
            "SetLifeTime 0",
            "SetVisible 0",
            "SetRotationAngle 0",
            "SetScale 2 3",
            "SetCenter 0 0",
            "SetZOrder 2.5",
            "SetModulationColor 0.25 0.5 0.75 1"};
}

const Log kFullBody{"SetCenter 0 0", "AddPhysicalProperties 2 0 0 0 0", "AddForce Physics2D::GravityForce 0 -9.8",
                    "SetVelocity 0 0", "SetAngularVelocity 0"};

TEST_F(ContentRecipeTest, SpriteRowsMakeEverySettingInTheRecipesOrder) {
    struct Case {
        const char* what;
        std::uint32_t layer;
        SpriteRow row;
        // With the layer's collision id where a collider comes.
        Log (*expected)(std::uint8_t collisionId);
    };
    const Case cases[] = {
        {"defaults in the world",
         1,
         {.name = "Plain", .make = &MakeSprite<LoggedSprite>, .animations = kTwoAnimations, .actorIndex = 18},
         [](std::uint8_t) { return DefaultSettings("Plain", 18); }},
        {"every value, hidden on the HUD", 0, FullRow(),
         [](std::uint8_t id) {
             return Joined({{"AddCollision" + Values({float(id)})}, FullSettings(), kFullBody, {"SetHUDObject 1"}});
         }},
        {"a class's own opacity and visibility in their place",
         1,
         {.name = "Own", .make = &MakeSprite<OwnSetterSprite>, .animations = kTwoAnimations, .actorIndex = 15},
         [](std::uint8_t) {
             Log log = DefaultSettings("Own", 15);
             log[2] = "own SetOpacity 1";
             log[12] = "own SetVisible 1";
             return log;
         }},
        {"a body without gravity, no colour",
         1,
         {.name = "Still", .make = &MakeSprite<LoggedSprite>, .animations = kTwoAnimations, .body = BodySettings{1.0f}},
         [](std::uint8_t) {
             return Joined({DefaultSettings("Still", 0),
                            {"SetCenter 0 0", "AddPhysicalProperties 1 0 0 0 0", "SetVelocity 0 0",
                             "SetAngularVelocity 0"}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CallLog().clear();
        auto* sprite = BuildOne<Tundra::Sprite>(c.layer, c.row);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(CallLog(), c.expected(CollisionId(c.layer)));
        EXPECT_EQ(sprite->GetLayer(), m_factory->GetLayer(c.layer));
        EXPECT_EQ(sprite->IsHUDObject(), c.layer == 0);
        ASSERT_EQ(sprite->GetAnimationsCount(), 2);
        EXPECT_EQ(sprite->GetFrameDelay(1, 2), 0.5f);
        EXPECT_EQ(sprite->GetFrameDelay(1, 3), 1.0f);
        m_factory->OnLevelChanged();
    }
}

TEST_F(ContentRecipeTest, CollidersTakeTheRecipesDefaultsAndTheRowsValues) {
    struct Case {
        ColliderSettings collider;
        int actorIndex;
        // Type, thickness, group, idle; the groups 0 to 3 it may meet; the actor.
        std::uint8_t type;
        float thickness;
        std::uint8_t group;
        bool idle;
        std::array<bool, 4> meets;
        std::uint32_t actor;
    };
    const Case cases[] = {
        {{}, 18, 0, 4.0f, 0, false, {true, false, false, false}, 18},
        {{1, 8.0f, 2, {3, 0, 1}, true}, 18, 1, 8.0f, 2, true, {true, true, false, true}, 18},
        {{.collidesWith = {}, .actor = 6}, 51, 0, 4.0f, 0, false, {false, false, false, false}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.actorIndex);
        const SpriteRow row{
            .name = "Collider", .make = "Tundra::Sprite", .actorIndex = c.actorIndex, .collider = c.collider};
        const auto* sprite = BuildOne<Tundra::Sprite>(1, row);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->GetCollisionActorIndex(), c.actorIndex);
        const Collision2D::DynamicObject* object = sprite->GetCollisionObject();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetActor(), m_factory->GetCollisionActors()[c.actor]);
        EXPECT_EQ((std::array<int, 2>{object->GetAnimationIndex(), object->GetFrameIndex()}), (std::array<int, 2>{}));
        EXPECT_EQ(object->GetCollisionType(), c.type);
        EXPECT_EQ(object->GetCollisionThickness(), c.thickness);
        EXPECT_TRUE(object->GetBoundingRectangleCheckingTileMap());
        EXPECT_EQ(object->GetZCollision(), c.group);
        EXPECT_EQ(object->GetUpdateOnIdle(), c.idle);
        for (std::uint8_t group = 0; group < c.meets.size(); ++group) {
            EXPECT_EQ(object->CanCollideWith(group), c.meets[group]) << int(group);
        }
        m_factory->OnLevelChanged();
    }
    // An actor number past the table gives no collision object, but the
    // sprite still carries its index.
    const auto* sprite = BuildOne<Tundra::Sprite>(
        1, SpriteRow{.name = "Lost", .make = "Tundra::Sprite", .actorIndex = 70, .collider = ColliderSettings{}});
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->GetCollisionObject(), nullptr);
    EXPECT_EQ(sprite->GetCollisionActorIndex(), 70);
}

TEST_F(ContentRecipeTest, NetworkClientsGetNeitherColliderNorBodyButEveryOtherSetting) {
    struct Case {
        const char* name;
        testsupport::NetworkRole role;
        bool client;
    };
    const Case cases[] = {{"outside a network game", testsupport::NetworkRole::Outside, false},
                          {"host", testsupport::NetworkRole::Host, false},
                          {"client", testsupport::NetworkRole::Client, true},
                          // Not a network game yet: the machine counts as outside one.
                          {"host not yet open", testsupport::NetworkRole::HostNotOpen, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::SetNetworkRole(c.role);
        CallLog().clear();
        const auto* sprite = BuildOne<Tundra::Sprite>(0, FullRow());
        ASSERT_NE(sprite, nullptr);
        const Log collider{"AddCollision" + Values({float(CollisionId(0))})};
        EXPECT_EQ(CallLog(), c.client ? Joined({FullSettings(), {"SetHUDObject 1"}})
                                      : Joined({collider, FullSettings(), kFullBody, {"SetHUDObject 1"}}));
        EXPECT_EQ(sprite->GetCollisionObject() == nullptr, c.client);
        Vector2D velocity;
        EXPECT_EQ(sprite->GetVelocity(velocity), !c.client);
        m_factory->OnLevelChanged();
    }
}

TEST_F(ContentRecipeTest, TextRowsSetTheirColourVisibilityAndScale) {
    struct Case {
        std::uint32_t layer;
        TextRow row;
        Log expected;
    };
    const Case cases[] = {
        {0,
         {"Black", &MakeText<LoggedText>, "0", {-420.0f, 205.0f}, 5.0f},
         {"SetName Black", "SetPosition -420 205", "SetLifeTime 0", "SetVisible 1", "SetRotationAngle 0",
          "SetScale 1 1", "SetCenter 0 0", "SetOpacity 1", "SetZOrder 5", "SetModulationColor 0 0 0 1",
          "SetHUDObject 1"}},
        {1,
         {"Hidden", &MakeText<LoggedText>, "win", {600.0f, 600.0f}, 5.0f, 2.0f, true, Color{1.0f, 0.0f, 0.0f, 1.0f}},
         {"SetName Hidden", "SetPosition 600 600", "SetLifeTime 0", "SetVisible 0", "SetRotationAngle 0",
          "SetScale 2 2", "SetCenter 0 0", "SetOpacity 1", "SetZOrder 5", "SetModulationColor 1 0 0 1"}},
        {1,
         {.name = "Uncoloured", .make = &MakeText<LoggedText>, .text = "", .color = std::nullopt},
         {"SetName Uncoloured", "SetPosition 0 0", "SetLifeTime 0", "SetVisible 1", "SetRotationAngle 0",
          "SetScale 1 1", "SetCenter 0 0", "SetOpacity 1", "SetZOrder 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.name);
        CallLog().clear();
        const auto* text = BuildOne<Tundra::Text>(c.layer, c.row);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(CallLog(), c.expected);
        EXPECT_EQ(text->GetText(), c.row.text);
        EXPECT_EQ(text->IsHUDObject(), c.layer == 0);
        m_factory->OnLevelChanged();
    }
}

TEST_F(ContentRecipeTest, ParticleRowsGetTheirEmitterFirstAndEverySettingBeforeTheWarmUp) {
    const Log placed{"SetName Smoke", "SetLifeTime 0", "SetZOrder 6.8", "SetPosition 193 306", "SetRotationAngle 0",
                     "SetScale 1 1", "SetCenter 0 0"};
    const Log settings{"SetRecycleParticles 1",
                       "SetEmissionRate 5 10",
                       "SetSrcBlendFactor 6",
                       "SetDstBlendFactor 7",
                       "SetParticleStartingColor 0.6 0.6 0.6 1 0.8 0.8 0.8 1",
                       "SetParticleEndingColor 0.4 0.4 0.4 0 0 0 0 0"};
    const Log scales{"SetParticleStartingScale 0.8 0.3 1 0.35", "SetParticleEndingScale 1 0.8 2 1.2",
                     "SetUseLocalCoordinates 0"};
    struct Case {
        const char* what;
        ParticleRow row;
        Log expected;
    };
    ParticleRow point{"Smoke", &MakeParticles<LoggedParticles>, 45, {0.0f, 9.8f}, {10.0f, 0.0f}, {10.0f, 10.0f},
                      std::nullopt, {193.0f, 306.0f}, 6.8f, {5.0f, 10.0f}, 6, 7,
                      {{0.6f, 0.6f, 0.6f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f}},
                      {{0.4f, 0.4f, 0.4f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}}, {0.0f, 1.0f}, {400.0f, 500.0f},
                      Range<float>{-2.0f, 2.0f}, 1, {{0.8f, 0.3f}, {1.0f, 0.35f}}, {{1.0f, 0.8f}, {2.0f, 1.2f}}, 0.1f};
    ParticleRow disk = point;
    disk.diskRadius = 30.0f;
    disk.rotationSpeed.reset();
    disk.direction = 0;
    disk.warmUp = 0.0f;
    disk.hidden = true;
    const Log warmSteps(10, "step 0.01");
    const Case cases[] = {
        {"point emitter, warmed up",
         point,
         Joined({{"SetEmitter Tundra::PointEmitter"}, placed, {"SetVisible 1"}, settings,
                 {"SetParticleLifeTime 0 1", "SetParticleRotationSpeed -2 2", "SetParticleSpeed 400 500",
                  "SetParticleDirection 1"},
                 scales, {"WarmUp 0.1"}, warmSteps})},
        {"disk emitter, hidden before its settings, no rotation speed, no warm-up",
         disk,
         Joined({{"SetEmitter Tundra::DiskEmitter"}, placed, {"SetVisible 0"}, settings,
                 {"SetParticleLifeTime 0 1", "SetParticleSpeed 400 500", "SetParticleDirection 0"}, scales,
                 {"WarmUp 0"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CallLog().clear();
        const auto* system = BuildOne<Tundra::ParticleSystem>(1, c.row);
        ASSERT_NE(system, nullptr);
        EXPECT_EQ(CallLog(), c.expected);
        EXPECT_EQ(system->GetLayer(), m_factory->GetLayer(1));
        EXPECT_FALSE(system->IsHUDObject());
        m_factory->OnLevelChanged();
    }
}

TEST_F(ContentRecipeTest, RowsNameTheirClassesThroughOneTable) {
    struct Case {
        const char* name;
        SpriteMaker sprite;
        TextMaker text;
        ParticleMaker particles;
    };
    const Case cases[] = {
        {"Tundra::Sprite", &MakeSprite<Tundra::Sprite>, nullptr, nullptr},
        {"LabeledButton", &MakeSprite<LabeledButton>, nullptr, nullptr},
        {"VolumeControl", &MakeSprite<VolumeControl>, nullptr, nullptr},
        {"CenteredText", nullptr, &MakeText<CenteredText>, nullptr},
        {"Tundra::Text", nullptr, &MakeText<Tundra::Text>, nullptr},
        {"PS_FireDebuff", nullptr, nullptr, &MakeParticles<PS_FireDebuff>},
        {"Sprite", nullptr, nullptr, nullptr},
        {"labeledbutton", nullptr, nullptr, nullptr},
        {"", nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpriteClass(c.name).GetMaker(), c.sprite) << c.name;
        EXPECT_EQ(TextClass(c.name).GetMaker(), c.text) << c.name;
        EXPECT_EQ(ParticleClass(c.name).GetMaker(), c.particles) << c.name;
    }
}

TEST_F(ContentRecipeTest, HandlesFollowTheRowsOfTheLevelAndAreForgottenWithIt) {
    LevelRows rows;
    rows[0] = {TextRow{"HudText", "Tundra::Text", "a"}, SpriteRow{.name = "HudSprite", .make = "Tundra::Sprite"}};
    // A class the table does not hold places nothing and keeps its slot.
    rows[1] = {SpriteRow{.name = "Unknown", .make = "NoSuchClass"},
               SpriteRow{.name = "World", .make = "MapTile", .animations = kTwoAnimations}};
    rows[2] = {ParticleRow{.name = "Back", .make = "Tundra::ParticleSystem"}};
    const Tundra::Level& level = Build(kTitleLevel, rows);
    const char* const names[] = {"HudText", "HudSprite", nullptr, "World", "Back"};
    for (std::size_t row = 0; row < std::size(names); ++row) {
        const Tundra::GameObject* object = m_content->placer.GetObject(kTitleLevel, row);
        if (names[row] == nullptr) {
            EXPECT_EQ(object, nullptr);
            continue;
        }
        ASSERT_NE(object, nullptr) << row;
        EXPECT_EQ(object, Tundra::FindObject<Tundra::GameObject>(level, names[row])) << row;
    }
    EXPECT_EQ(Tundra::FindObject<Tundra::GameObject>(level, "Unknown"), nullptr);
    EXPECT_EQ(m_content->placer.GetObject(kTitleLevel, std::size(names)), nullptr);
    EXPECT_EQ(m_content->placer.GetObject(3, 0), nullptr);

    m_factory->OnLevelChanged();
    for (std::size_t row = 0; row < std::size(names); ++row) {
        EXPECT_EQ(m_content->placer.GetObject(kTitleLevel, row), nullptr) << row;
    }
}

TEST_F(ContentRecipeTest, AnIndexPastTheLastLevelBuildsTheActorsAndNoLayer) {
    EXPECT_EQ(m_factory->CreateLevel(3), nullptr);
    EXPECT_EQ(m_content->builtLayers, 0);
    for (const Collision2D::CollisionActor* actor : m_factory->GetCollisionActors()) {
        EXPECT_NE(actor, nullptr);
    }
}

// Which layers' source tags the tracked allocations carried, and whether
// any carried the recipe's own source files. Hooks must not allocate.
struct SeenTags {
    std::array<std::array<bool, 3>, 3> layers{};
    bool recipeFiles = false;
};
SeenTags g_seenTags;

void NoteAllocationTag(void*, Core::AllocationKind, std::size_t, const char* file, int) {
    constexpr std::string_view kPrefix = "MyGame_MyLevelFactory_";
    if (file == nullptr) {
        return;
    }
    const std::string_view tag = file;
    if (tag.size() == kPrefix.size() + 3 && tag.substr(0, kPrefix.size()) == kPrefix) {
        const auto level = static_cast<std::size_t>(tag[kPrefix.size()] - '0');
        const auto layer = static_cast<std::size_t>(tag[kPrefix.size() + 2] - '0');
        if (level < 3 && layer < 3) {
            g_seenTags.layers[level][layer] = true;
        }
    }
    g_seenTags.recipeFiles = g_seenTags.recipeFiles || tag.find("MyGame_ContentRecipe") != std::string_view::npos;
}

TEST_F(ContentRecipeTest, AllocationsCarryTheSourceTagOfTheirLevelAndLayer) {
    LevelRows rows;
    rows[0] = {TextRow{"HudText", "Tundra::Text", "a"}};
    rows[1] = {FullRow(), ParticleRow{.name = "Disk", .make = "Tundra::ParticleSystem", .diskRadius = 5.0f}};
    static constexpr Core::AllocationHooks kHooks{&NoteAllocationTag, [](void*, Core::AllocationKind) {}};
    g_seenTags = {};
    Core::SetAllocationHooks(&kHooks);
    Build(MyLevelFactory::kGameLevel, rows);
    Core::SetAllocationHooks(nullptr);
    const std::array<std::array<bool, 3>, 3> expected{{{}, {}, {true, true, false}}};
    EXPECT_EQ(g_seenTags.layers, expected);
    EXPECT_FALSE(g_seenTags.recipeFiles);
}

// Static-collision files in a folder the game runs beside while it lives.
class CollisionFiles {
public:
    CollisionFiles() { os::SetExecutablePathForTesting(m_folder.Path() + "/game"); }
    ~CollisionFiles() { os::SetExecutablePathForTesting(""); }
    CollisionFiles(const CollisionFiles&) = delete;
    CollisionFiles& operator=(const CollisionFiles&) = delete;

    // level<L>_layer<M>.txt with `segments` segments.
    void Write(std::uint32_t level, std::uint32_t layer, int segments) const {
        const std::filesystem::path folder = m_folder.Path() + "/Resources/Layers Collisions";
        std::filesystem::create_directories(folder);
        std::ofstream file(folder / ("level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt"));
        file << "Segments " << segments;
        for (int i = 0; i < segments; ++i) {
            file << ' ' << i << ",0," << i << ",10,0," << i;
        }
        file << " Circles 0\n";
    }

private:
    testsupport::TempDirectory m_folder;
};

TEST_F(ContentRecipeTest, EachLayerReadsItsOwnCollisionFileAndAMissingFileAddsNothing) {
    const CollisionFiles files;
    // Level, layer, segments; the files not listed are missing.
    const std::array<std::array<int, 3>, 4> written{{{0, 0, 1}, {1, 0, 2}, {1, 2, 3}, {2, 1, 4}}};
    for (const auto& [level, layer, segments] : written) {
        files.Write(level, layer, segments);
    }
    const Collision2D::CollisionEngine& collision = *Tundra::Game::GetInstance()->GetCollisionEngine();
    for (std::uint32_t level = 0; level < 3; ++level) {
        Build(level, {{{SpriteRow{.name = "First", .make = "Tundra::Sprite"}}}});
        for (std::uint32_t layer = 0; layer < 3; ++layer) {
            int expected = 0;
            for (const auto& [l, m, segments] : written) {
                expected += l == static_cast<int>(level) && m == static_cast<int>(layer) ? segments : 0;
            }
            const Collision2D::CollisionLayer* shapes = collision.GetLayer(CollisionId(layer));
            ASSERT_NE(shapes, nullptr);
            // Slot 0 holds no shape.
            EXPECT_EQ(static_cast<int>(shapes->GetStaticLineSegmentSlotCount()) - 1, expected)
                << level << ' ' << layer;
        }
        m_factory->OnLevelChanged();
    }
}

}  // namespace
}  // namespace mygametest
