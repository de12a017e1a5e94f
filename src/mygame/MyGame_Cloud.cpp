#include "mygame/MyGame_Cloud.h"

#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_StageTheme.h"
#include "mygame/MyGame_Templates.h"
#include "tundra/Tundra_Layer.h"

#include <cmath>
#include <iterator>

TUN_DEFINE_CLASS(Cloud)

namespace {

constexpr float kRightEdgeX = 1280.0f;
constexpr float kLeftEdgeX = -256.0f;
constexpr float kGroundSpeed = 100.0f;

// Outside a stage there is no ground to stop.
bool GroundScrolls() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const auto* stage = game != nullptr ? dynamic_cast<const GameLevel*>(game->GetCurrentLevel()) : nullptr;
    return stage == nullptr || !stage->GetTerrain().IsEndReached();
}

// By theme; theme 0 keeps the colour the level content gave the template.
const Color kThemeTints[] = {
    {1.0f, 1.0f, 1.0f, 1.0f},
    {1.0f, 230.0f / 255.0f, 185.0f / 255.0f, 1.0f},
    {180.0f / 255.0f, 205.0f / 255.0f, 210.0f / 255.0f, 1.0f},
};

}  // namespace

Cloud::Cloud(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Cloud::Cloud(const Cloud& other) : Sprite(other) {}

void Cloud::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_speed);
}

void Cloud::Load(Core::File& file) {
    Sprite::Load(file);
    float speed = m_speed;
    file.ReadF32(speed);
    if (!std::isfinite(speed)) {
        file.SetFailed();
        return;
    }
    m_speed = speed;
}

void Cloud::OnStart() {
    Sprite::OnStart();
    const std::int32_t theme = GetCurrentStageTheme();
    if (theme > 0 && theme < static_cast<std::int32_t>(std::size(kThemeTints))) {
        SetModulationColor(kThemeTints[theme]);
    }
}

void Cloud::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0) {
        return;
    }
    const float x = GetPositionX();
    if (x <= kLeftEdgeX) {
        Reset();
        return;
    }
    const float speed = GroundScrolls() ? m_speed : m_speed - kGroundSpeed;
    SetPositionX(x - speed * dt);
}

void Cloud::Reset() {
    SetPositionY(static_cast<float>(RandomInt(50, 450)));
    SetPositionX(kRightEdgeX);
    SetCurrentFrameIndex(RandomInt(0, 1), true);
    m_speed = RandomFloat(90.0f, 130.0f);
}

Cloud* MakeCloud(float depth) {
    MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (world == nullptr) {
        return nullptr;
    }
    // Held while it is placed: a clone of another class goes again here.
    const Core::RefPtr<Tundra::GameObject> clone(game->CloneTemplate(kCloudTemplate));
    auto* cloud = dynamic_cast<Cloud*>(clone.Get());
    if (cloud == nullptr) {
        return nullptr;
    }
    world->AddGameObject(cloud);
    cloud->SetZOrder(depth);
    cloud->Reset();
    cloud->SetPositionX(static_cast<float>(RandomInt(0, 1280)));
    return cloud;
}
