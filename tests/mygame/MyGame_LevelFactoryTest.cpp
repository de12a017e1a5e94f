#include "core/Core_MemoryFile.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_Player.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Viewport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mygametest {
namespace {

struct Grid {
    float x, y;
    std::int32_t width, height;
};

struct ExpectedFrame {
    const char* typeName;
    const char* hudName;
    bool clears;
    std::array<Grid, 3> grids;
    float cameraX, cameraY;
    std::array<float, 4> viewportColor;
};

const ExpectedFrame kExpected[3] = {
    {"IntroLevel",
     "IntroLevel_HUD",
     false,
     {{{-512, -384, 1024, 768}, {-512, -384, 1024, 768}, {-512, -384, 1776, 805}}},
     0,
     0,
     {1, 1, 1, 1}},
    {"MenuLevel",
     "MenuLevel_HUD",
     true,
     {{{-512, -384, 1024, 768}, {-1567, -384, 3109, 1331}, {-512, -384, 1040, 784}}},
     512,
     384,
     {64.0f / 255, 64.0f / 255, 64.0f / 255, 1}},
    {"GameLevel",
     "GameLevel_HUD",
     true,
     {{{-827, -782, 1627, 1868}, {-1140, -367, 2915, 1582}, {-400, -300, 928, 700}}},
     512,
     384,
     {156.0f / 255, 224.0f / 255, 1, 1}},
};

// Child, parent.
const std::pair<const char*, const char*> kMounts[5] = {
    {"Volume", "VolumeBG"},         {"Quorvex", "Player"},          {"GasEmitter", "RightWeapon"},
    {"SmokeEmitter", "FlameEmitter"}, {"FlameEmitter", "GasEmitter"},
};

// The collision grid a layer was given: the tail of its stream.
Grid GridOf(const Tundra::Layer& layer) {
    Core::MemoryFile file;
    layer.Save(file);
    Grid grid{};
    const std::uint8_t* tail = file.GetData() + file.GetSize() - 20;
    std::memcpy(&grid.x, tail, 4);
    std::memcpy(&grid.y, tail + 4, 4);
    std::memcpy(&grid.width, tail + 8, 4);
    std::memcpy(&grid.height, tail + 12, 4);
    std::int32_t cellSize = 0;
    std::memcpy(&cellSize, tail + 16, 4);
    EXPECT_EQ(cellSize, 100);
    return grid;
}

// A factory of its own, building levels beside the game's running intro
// (whose engines the layers use).
class LevelFactoryTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartGame();
        Step();
        auto content = std::make_unique<TestContent>();
        m_testContent = content.get();
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

    // Places each object of the mount pairs once, but the skipped names,
    // spread over the level's three layers.
    void PlaceMountObjects(std::uint32_t level, const std::vector<std::string>& skipped) {
        std::vector<std::string> names;
        for (const auto& [child, parent] : kMounts) {
            for (const char* name : {child, parent}) {
                if (std::find(names.begin(), names.end(), name) == names.end()) {
                    names.emplace_back(name);
                }
            }
        }
        for (std::uint32_t layer = 0; layer < 3; ++layer) {
            m_testContent->OnBuild(level, layer, [layer, names, skipped](const LayerBuild& build) {
                for (std::size_t i = layer; i < names.size(); i += 3) {
                    if (std::find(skipped.begin(), skipped.end(), names[i]) == skipped.end()) {
                        PlaceSprite<Tundra::Sprite>(build, names[i].c_str());
                    }
                }
            });
        }
    }

    static Tundra::GameObject* FindInLayer(const Tundra::Layer& layer, const char* name) {
        std::vector<Tundra::GameObject*> objects;
        layer.GetGameObjectsByName(name, objects);
        return objects.empty() ? nullptr : objects.front();
    }
    static Tundra::GameObject* Find(const Tundra::Level& level, const char* name) {
        for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
            if (Tundra::GameObject* object = FindInLayer(*level.GetLayer(i), name)) {
                return object;
            }
        }
        return nullptr;
    }

    void ExpectWorkingPointersNull() const {
        for (std::uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(m_factory->GetLayer(i), nullptr) << i;
            EXPECT_EQ(m_factory->GetCamera(i), nullptr) << i;
            EXPECT_EQ(m_factory->GetLevel(i), nullptr) << i;
        }
        EXPECT_EQ(m_factory->GetViewport(), nullptr);
    }

    TestContent* m_testContent = nullptr;
    Core::RefPtr<MyLevelFactory> m_factory;
    std::vector<Core::RefPtr<Tundra::Level>> m_levels;
};

TEST_F(LevelFactoryTest, EachLevelIsFramedAsItsTableSays) {
    for (std::uint32_t index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const ExpectedFrame& expected = kExpected[index];
        m_testContent->builtLayers.clear();
        Tundra::Level& level = Build(index);
        EXPECT_EQ(m_testContent->actorLoads, static_cast<int>(index) + 1);
        EXPECT_EQ(m_testContent->builtLayers,
                  (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{index, 0}, {index, 1}, {index, 2}}));
        EXPECT_STREQ(level.GetType(), expected.typeName);
        EXPECT_EQ(level.GetTypeName(), expected.typeName);
        EXPECT_EQ(level.GetClearBackBuffer(), expected.clears);
        EXPECT_EQ(level.GetClearColor().a, 1.0f);
        EXPECT_EQ(m_factory->GetLevel(index), &level);

        ASSERT_EQ(level.GetLayersCount(), 3u);
        const char* names[3] = {expected.hudName, "layer1", "layer2"};
        const float depths[3] = {0.0f, 0.0f, 927.058f};
        for (std::uint32_t i = 0; i < 3; ++i) {
            const Tundra::Layer& layer = *level.GetLayer(i);
            EXPECT_EQ(m_factory->GetLayer(i), &layer);
            EXPECT_EQ(layer.GetName(), names[i]);
            EXPECT_EQ(layer.GetIndex(), i);
            EXPECT_EQ(layer.GetZOrder(), depths[i]);
            EXPECT_EQ(layer.GetScale().x, 1.0f);
            EXPECT_EQ(layer.GetScale().y, 1.0f);
            EXPECT_EQ(layer.GetRotation(), 0.0f);
            const Grid grid = GridOf(layer);
            EXPECT_EQ(grid.x, expected.grids[i].x);
            EXPECT_EQ(grid.y, expected.grids[i].y);
            EXPECT_EQ(grid.width, expected.grids[i].width);
            EXPECT_EQ(grid.height, expected.grids[i].height);
        }

        auto* camera = dynamic_cast<Tundra::Camera*>(Find(level, "camera0"));
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(m_factory->GetCamera(index), camera);
        EXPECT_EQ(camera->GetLayer(), level.GetLayer(2));
        EXPECT_EQ(camera->GetFOV(), 45.0f);
        EXPECT_EQ(camera->GetPositionX(), expected.cameraX);
        EXPECT_EQ(camera->GetPositionY(), expected.cameraY);

        ASSERT_EQ(level.GetViewportsCount(), 1u);
        const Tundra::Viewport& viewport = *level.GetViewport(0);
        EXPECT_EQ(m_factory->GetViewport(), &viewport);
        EXPECT_EQ(viewport.GetCamera(), camera);
        const std::array<std::int32_t, 4> rectangle{viewport.GetX(), viewport.GetY(), viewport.GetWidth(),
                                                    viewport.GetHeight()};
        EXPECT_EQ(rectangle, (std::array<std::int32_t, 4>{0, 0, 1024, 768}));
        const Color& color = viewport.GetClearColor();
        EXPECT_EQ((std::array<float, 4>{color.r, color.g, color.b, color.a}), expected.viewportColor);
    }
}

TEST_F(LevelFactoryTest, ChildrenRideTheirParentsInTheTitleLevelAndTheStageOnly) {
    struct Case {
        std::uint32_t level;
        std::vector<std::string> skipped;
        // Per pair of kMounts.
        std::array<bool, 5> mounted;
    };
    const Case cases[] = {
        {0, {}, {false, false, false, false, false}},
        {1, {}, {true, true, true, true, true}},
        {2, {}, {true, true, true, true, true}},
        // A pair with one object missing is skipped; the others still mount.
        {1, {"VolumeBG", "GasEmitter"}, {false, true, false, true, false}},
        {2, {"Quorvex", "SmokeEmitter"}, {true, false, true, false, true}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.level);
        PlaceMountObjects(test.level, test.skipped);
        const Tundra::Level& level = Build(test.level);
        for (std::size_t i = 0; i < std::size(kMounts); ++i) {
            Tundra::GameObject* child = Find(level, kMounts[i].first);
            Tundra::GameObject* parent = Find(level, kMounts[i].second);
            if (test.mounted[i]) {
                ASSERT_NE(child, nullptr);
                EXPECT_EQ(child->GetMount(), parent) << kMounts[i].first;
            } else if (child != nullptr && parent != nullptr) {
                EXPECT_NE(child->GetMount(), parent) << kMounts[i].first;
            }
        }
    }
}

TEST_F(LevelFactoryTest, LevelNamesAreExact) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"IntroLevel", 0}, {"MenuLevel", 1}, {"GameLevel", 2},  {"gamelevel", -1},
        {"GameLevel ", -1}, {"Game", -1},     {"", -1},          {"IntroLevel_HUD", -1},
    };
    EXPECT_EQ(m_factory->GetLevelsCount(), 3u);
    for (const auto& [name, expected] : cases) {
        std::uint32_t index = 77;
        EXPECT_EQ(m_factory->GetLevelIndex(name, index), expected >= 0) << name;
        EXPECT_EQ(index, expected >= 0 ? static_cast<std::uint32_t>(expected) : 77u) << name;
    }
}

TEST_F(LevelFactoryTest, AnIndexPastTheLevelsBuildsTheActorsAndNoLevel) {
    EXPECT_EQ(m_factory->CreateLevel(3), nullptr);
    EXPECT_EQ(m_testContent->actorLoads, 1);
    EXPECT_TRUE(m_testContent->builtLayers.empty());
    ExpectWorkingPointersNull();
}

TEST_F(LevelFactoryTest, ALevelChangeForgetsEveryLinkIntoTheOldLevel) {
    const Core::RefPtr<Player> player = TUN_NEW(Player);
    const char* hudNames[3] = {"", "MenuLevel_HUD", "GameLevel_HUD"};
    int forgets = 0;
    for (const std::uint32_t index : {1u, 2u, 1u}) {
        SCOPED_TRACE(index);
        const Tundra::Level& level = Build(index);
        const char* names[3] = {hudNames[index], "layer1", "layer2"};
        for (std::uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(level.GetLayer(i)->GetName(), names[i]);
            EXPECT_EQ(level.GetLayer(i)->GetIndex(), i);
        }
        Globals().player = player.Get();
        m_factory->OnLevelChanged();
        EXPECT_EQ(m_testContent->forgetCount, ++forgets);
        EXPECT_EQ(Globals().player, nullptr);
        ExpectWorkingPointersNull();
    }
}

TEST_F(LevelFactoryTest, TheGameSwitchesBetweenTheTitleLevelAndAStage) {
    for (const std::uint32_t index : {1u, 2u, 1u}) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(GoToLevel(index));
        const Tundra::Level& level = *Game().GetCurrentLevel();
        EXPECT_EQ(level.GetTypeName(), kExpected[index].typeName);
        const char* names[3] = {kExpected[index].hudName, "layer1", "layer2"};
        for (std::uint32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(level.GetLayer(i)->GetName(), names[i]);
        }
    }
}

}  // namespace
}  // namespace mygametest
