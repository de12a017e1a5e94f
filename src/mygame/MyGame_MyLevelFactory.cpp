#include "mygame/MyGame_MyLevelFactory.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_IntroLevel.h"
#include "mygame/MyGame_MenuLevel.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Viewport.h"

#include <array>

TUN_DEFINE_CLASS(MyLevelFactory)

namespace {

// The collision grid of a layer: where it starts and how far it reaches.
struct LayerGrid {
    Vector2D origin;
    int width;
    int height;
};

// Everything a level's frame is built from, apart from the content.
struct LevelFrame {
    const char* typeName;
    const char* hudLayerName;
    bool clearBackBuffer;
    std::array<LayerGrid, 3> grids;
    Vector2D cameraPosition;
    Color viewportColor;
    // The title level and the stage carry the player's and the menus'
    // composite objects.
    bool mountsChildren;
};

constexpr int kGridCellSize = 100;
constexpr float kBackLayerDepth = 927.058f;
constexpr float kCameraFieldOfView = 45.0f;

const std::array<LevelFrame, 3>& Frames() {
    static const std::array<LevelFrame, 3> frames{{
        {"IntroLevel",
         "IntroLevel_HUD",
         false,
         {{{{-512, -384}, 1024, 768}, {{-512, -384}, 1024, 768}, {{-512, -384}, 1776, 805}}},
         {0, 0},
         {1.0f, 1.0f, 1.0f, 1.0f},
         false},
        {"MenuLevel",
         "MenuLevel_HUD",
         true,
         {{{{-512, -384}, 1024, 768}, {{-1567, -384}, 3109, 1331}, {{-512, -384}, 1040, 784}}},
         {512, 384},
         {64.0f / 255.0f, 64.0f / 255.0f, 64.0f / 255.0f, 1.0f},
         true},
        {"GameLevel",
         "GameLevel_HUD",
         true,
         {{{{-827, -782}, 1627, 1868}, {{-1140, -367}, 2915, 1582}, {{-400, -300}, 928, 700}}},
         {512, 384},
         {156.0f / 255.0f, 224.0f / 255.0f, 1.0f, 1.0f},
         true},
    }};
    return frames;
}

// Child first, then the parent it rides on; in mounting order.
constexpr std::array<std::array<const char*, 2>, 5> kMounts{{
    {"Volume", "VolumeBG"},
    {"Quorvex", "Player"},
    {"GasEmitter", "RightWeapon"},
    {"SmokeEmitter", "FlameEmitter"},
    {"FlameEmitter", "GasEmitter"},
}};

Tundra::Layer* MakeLayer(const char* name, float depth, const LayerGrid& grid) {
    Tundra::Layer* layer = TUN_NEW(Tundra::Layer, depth);
    layer->SetName(name);
    layer->SetScale(1.0f, 1.0f);
    layer->SetRotation(0.0f);
    layer->SetCollisionProperties(grid.origin, grid.width, grid.height, kGridCellSize);
    return layer;
}

}  // namespace

MyLevelFactory::MyLevelFactory(std::unique_ptr<LevelContent> content) : m_content(std::move(content)) {}

MyLevelFactory::MyLevelFactory(const MyLevelFactory& other) : Tundra::LevelFactory(other) {}

MyLevelFactory::~MyLevelFactory() = default;

Tundra::Level* MyLevelFactory::CreateLevel(std::uint32_t index) {
    if (m_content) {
        m_content->LoadCollisionActors(*this);
    }
    Tundra::Level* level = nullptr;
    switch (index) {
    case kIntroLevel:
        level = BuildIntroLevel();
        break;
    case kMenuLevel:
        level = BuildMenuLevel();
        break;
    case kGameLevel:
        level = BuildGameLevel();
        break;
    default:
        return nullptr;
    }
    OnLevelBuilt(static_cast<std::int32_t>(index));
    return level;
}

Tundra::Level* MyLevelFactory::BuildIntroLevel() {
    m_introLevel = TUN_NEW(IntroLevel);
    BuildFrame(*m_introLevel, kIntroLevel);
    return m_introLevel;
}

Tundra::Level* MyLevelFactory::BuildMenuLevel() {
    m_menuLevel = TUN_NEW(MenuLevel);
    BuildFrame(*m_menuLevel, kMenuLevel);
    return m_menuLevel;
}

Tundra::Level* MyLevelFactory::BuildGameLevel() {
    m_gameLevel = TUN_NEW(GameLevel);
    BuildFrame(*m_gameLevel, kGameLevel);
    return m_gameLevel;
}

void MyLevelFactory::BuildFrame(Tundra::Level& level, std::uint32_t index) {
    const LevelFrame& frame = Frames()[index];
    level.SetTypeName(frame.typeName);
    level.SetClearBackBuffer(frame.clearBackBuffer);
    if (frame.clearBackBuffer) {
        level.SetClearColor({0.0f, 0.0f, 0.0f, 1.0f});
    }
    m_hudLayer = MakeLayer(frame.hudLayerName, 0.0f, frame.grids[kHudLayer]);
    m_worldLayer = MakeLayer("layer1", 0.0f, frame.grids[kWorldLayer]);
    m_backLayer = MakeLayer("layer2", kBackLayerDepth, frame.grids[kBackLayer]);

    Tundra::Camera* camera = TUN_NEW(Tundra::Camera, kCameraFieldOfView);
    m_cameras[index] = camera;
    camera->SetName("camera0");
    camera->SetPosition(frame.cameraPosition);
    m_backLayer->AddGameObject(camera);

    m_viewport = TUN_NEW(Tundra::Viewport, 0, 0, static_cast<std::int32_t>(MyGame::kWidth),
                         static_cast<std::int32_t>(MyGame::kHeight));
    m_viewport->SetClearColor(frame.viewportColor);
    m_viewport->SetCamera(camera);

    level.AddLayer(m_hudLayer);
    level.AddLayer(m_worldLayer);
    level.AddLayer(m_backLayer);
    level.AddViewport(m_viewport);
    if (m_content) {
        for (std::uint32_t layer = kHudLayer; layer <= kBackLayer; ++layer) {
            m_content->BuildLayer(*this, index, layer);
        }
    }
    if (frame.mountsChildren) {
        MountObjects(level);
    }
}

void MyLevelFactory::MountObjects(Tundra::Level& level) {
    for (const auto& [childName, parentName] : kMounts) {
        Tundra::GameObject* child = Tundra::FindObject<Tundra::GameObject>(level, childName);
        Tundra::GameObject* parent = Tundra::FindObject<Tundra::GameObject>(level, parentName);
        // Content without one of the pair has nothing to mount.
        if (child != nullptr && parent != nullptr) {
            parent->Mount(child);
        }
    }
}

void MyLevelFactory::OnLevelChanged() {
    if (m_content) {
        m_content->ForgetObjects();
    }
    m_cameras.fill(nullptr);
    m_viewport = nullptr;
    m_hudLayer = nullptr;
    m_worldLayer = nullptr;
    m_backLayer = nullptr;
    m_introLevel = nullptr;
    m_menuLevel = nullptr;
    m_gameLevel = nullptr;
    if (MyGame* game = GetGame()) {
        game->ForgetLevelObjects();
    }
}

bool MyLevelFactory::GetLevelIndex(const Core::String& name, std::uint32_t& index) const {
    const auto& frames = Frames();
    for (std::uint32_t i = 0; i < kLevelCount; ++i) {
        if (name == frames[i].typeName) {
            index = i;
            return true;
        }
    }
    return false;
}

Tundra::Layer* MyLevelFactory::GetLayer(std::uint32_t index) const {
    const std::array<Tundra::Layer*, 3> layers{m_hudLayer, m_worldLayer, m_backLayer};
    return index < layers.size() ? layers[index] : nullptr;
}

Tundra::Camera* MyLevelFactory::GetCamera(std::uint32_t level) const {
    return level < kLevelCount ? m_cameras[level] : nullptr;
}

Tundra::Level* MyLevelFactory::GetLevel(std::uint32_t index) const {
    const std::array<Tundra::Level*, kLevelCount> levels{m_introLevel, m_menuLevel, m_gameLevel};
    return index < kLevelCount ? levels[index] : nullptr;
}
