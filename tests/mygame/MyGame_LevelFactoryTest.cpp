#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace mygametest {
namespace {

struct ExpectedFrame {
    const char* typeName;
    bool clears;
    // Per layer: the collision grid's origin x and y, width and height.
    std::array<std::array<float, 4>, 3> grids;
    std::array<float, 2> camera;
    std::array<float, 4> viewportColor;
};

const ExpectedFrame kFrames[3] = {
    {"IntroLevel", false, {{{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1776, 805}}}, {0, 0},
     {1, 1, 1, 1}},
    {"MenuLevel", true, {{{-512, -384, 1024, 768}, {-1567, -384, 3109, 1331}, {-512, -384, 1040, 784}}}, {512, 384},
     {64 / 255.0f, 64 / 255.0f, 64 / 255.0f, 1}},
    {"GameLevel", true, {{{-827, -782, 1627, 1868}, {-1140, -367, 2915, 1582}, {-400, -300, 928, 700}}}, {512, 384},
     {156 / 255.0f, 224 / 255.0f, 1, 1}},
};
// Child, parent.
const std::array<const char*, 2> kMounts[5] = {
    {"Volume", "VolumeBG"}, {"Quorvex", "Player"}, {"GasEmitter", "RightWeapon"},
    {"SmokeEmitter", "FlameEmitter"}, {"FlameEmitter", "GasEmitter"}};

// The collision grid a layer was given (origin, width, height, cell size):
// the tail of its stream.
std::array<float, 5> GridOf(const Tundra::Layer& layer) {
    Core::MemoryFile file;
    layer.Save(file);
    float origin[2];
    std::int32_t sizes[3];
    std::memcpy(origin, file.GetData() + file.GetSize() - 20, sizeof origin);
    std::memcpy(sizes, file.GetData() + file.GetSize() - 12, sizeof sizes);
    return {origin[0], origin[1], static_cast<float>(sizes[0]), static_cast<float>(sizes[1]),
            static_cast<float>(sizes[2])};
}

// A factory of its own, building levels beside the game's running intro,
// whose engines their layers use.
class LevelFactoryTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartGame();
        Step();
        auto content = std::make_unique<TestContent>();
        m_content = content.get();
        m_factory = TUN_NEW(MyLevelFactory, std::move(content));
    }
    void TearDown() override {
        for (const Core::RefPtr<Tundra::Level>& level : m_levels) {
            level->Shutdown();
        }
        m_levels.clear();
        m_factory = nullptr;
        GameTest::TearDown();
    }

    Tundra::Level& Build(std::uint32_t index) {
        m_levels.emplace_back(m_factory->CreateLevel(index));
        return *m_levels.back();
    }

    TestContent* m_content = nullptr;
    Core::RefPtr<MyLevelFactory> m_factory;
    std::vector<Core::RefPtr<Tundra::Level>> m_levels;
};

TEST_F(LevelFactoryTest, EachLevelIsFramedAsItsTableSays) {
    for (std::uint32_t index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const ExpectedFrame& expected = kFrames[index];
        m_content->builtLayers.clear();
        const Tundra::Level& level = Build(index);
        EXPECT_EQ(m_content->actorLoads, static_cast<int>(index) + 1);
        EXPECT_EQ(m_content->builtLayers, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                              {index, 0}, {index, 1}, {index, 2}}));
        EXPECT_EQ(level.GetTypeName(), expected.typeName);
        EXPECT_EQ(level.GetClearBackBuffer(), expected.clears);
        EXPECT_EQ(m_factory->GetLevel(index), &level);

        ASSERT_EQ(level.GetLayersCount(), 3u);
        const std::string names[3] = {std::string(expected.typeName) + "_HUD", "layer1", "layer2"};
        for (std::uint32_t i = 0; i < 3; ++i) {
            const Tundra::Layer& layer = *level.GetLayer(i);
            EXPECT_EQ(m_factory->GetLayer(i), &layer);
            EXPECT_EQ(layer.GetName(), names[i].c_str());
            EXPECT_EQ(layer.GetZOrder(), i == 2 ? 927.058f : 0.0f);
            const auto& grid = expected.grids[i];
            EXPECT_EQ(GridOf(layer), (std::array<float, 5>{grid[0], grid[1], grid[2], grid[3], 100}));
        }

        auto* camera = Tundra::FindObject<Tundra::Camera>(level, "camera0");
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(m_factory->GetCamera(index), camera);
        EXPECT_EQ(camera->GetLayer(), level.GetLayer(2));
        EXPECT_EQ(camera->GetFOV(), 45.0f);
        EXPECT_EQ((std::array<float, 2>{camera->GetPositionX(), camera->GetPositionY()}), expected.camera);

        ASSERT_EQ(level.GetViewportsCount(), 1u);
        const Tundra::Viewport& viewport = *level.GetViewport(0);
        EXPECT_EQ(m_factory->GetViewport(), &viewport);
        EXPECT_EQ(viewport.GetCamera(), camera);
        EXPECT_EQ((std::array<int, 4>{viewport.GetX(), viewport.GetY(), viewport.GetWidth(), viewport.GetHeight()}),
                  (std::array<int, 4>{0, 0, 1024, 768}));
        const Color& color = viewport.GetClearColor();
        EXPECT_EQ((std::array<float, 4>{color.r, color.g, color.b, color.a}), expected.viewportColor);
    }
}

TEST_F(LevelFactoryTest, ChildrenRideTheirParentsInTheTitleLevelAndTheStageOnly) {
    // Per level, the names left out; a pair with one missing is skipped.
    const std::pair<std::uint32_t, std::vector<std::string>> cases[] = {
        {0, {}}, {1, {}}, {2, {}}, {1, {"VolumeBG", "GasEmitter"}}};
    for (const auto& [index, missing] : cases) {
        m_content->OnBuild(index, 1, [&missing](const LayerBuild& build) {
            for (const auto& pair : kMounts) {
                for (const char* name : pair) {
                    if (std::find(missing.begin(), missing.end(), name) == missing.end() &&
                        Tundra::FindObject<Tundra::GameObject>(*build.factory.GetLevel(build.level), name) == nullptr) {
                        PlaceSprite<Tundra::Sprite>(build, name);
                    }
                }
            }
        });
        const Tundra::Level& level = Build(index);
        for (const auto& [childName, parentName] : kMounts) {
            const auto* child = Tundra::FindObject<Tundra::GameObject>(level, childName);
            const auto* parent = Tundra::FindObject<Tundra::GameObject>(level, parentName);
            const bool placed = child != nullptr && parent != nullptr;
            EXPECT_EQ(placed && child->GetMount() == parent, placed && index != 0) << index << childName;
        }
    }
}

TEST_F(LevelFactoryTest, LevelNamesAreExactAndNoIndexPastTheLastBuildsALevel) {
    const std::pair<const char*, int> names[] = {{"IntroLevel", 0}, {"MenuLevel", 1}, {"GameLevel", 2},
                                                 {"gamelevel", -1}, {"GameLevel ", -1}, {"", -1}};
    EXPECT_EQ(m_factory->GetLevelsCount(), 3u);
    for (const auto& [name, expected] : names) {
        std::uint32_t index = 77;
        EXPECT_EQ(m_factory->GetLevelIndex(name, index), expected >= 0) << name;
        EXPECT_EQ(index, expected >= 0 ? static_cast<std::uint32_t>(expected) : 77u) << name;
    }
    EXPECT_EQ(m_factory->CreateLevel(3), nullptr);
    EXPECT_EQ(m_content->actorLoads, 1);
    EXPECT_TRUE(m_content->builtLayers.empty());
}

TEST_F(LevelFactoryTest, ALevelChangeForgetsEveryLinkIntoTheOldLevel) {
    const Core::RefPtr<Player> player = TUN_NEW(Player);
    int forgets = 0;
    for (const std::uint32_t index : {1u, 2u, 1u}) {
        SCOPED_TRACE(index);
        const Tundra::Level& level = Build(index);
        const std::string names[3] = {std::string(kFrames[index].typeName) + "_HUD", "layer1", "layer2"};
        for (std::uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(level.GetLayer(i)->GetName(), names[i].c_str());
            EXPECT_EQ(level.GetLayer(i)->GetIndex(), i);
        }
        Globals().player = player.Get();
        m_factory->OnLevelChanged();
        EXPECT_EQ(m_content->forgetCount, ++forgets);
        EXPECT_EQ(Globals().player, nullptr);
        for (std::uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(m_factory->GetLayer(i), nullptr);
            EXPECT_EQ(m_factory->GetCamera(i), nullptr);
            EXPECT_EQ(m_factory->GetLevel(i), nullptr);
        }
        EXPECT_EQ(m_factory->GetViewport(), nullptr);
    }
}

}  // namespace
}  // namespace mygametest
