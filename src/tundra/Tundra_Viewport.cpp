#include "tundra/Tundra_Viewport.h"

#include "core/Core_File.h"
#include "math/Math_Frustum.h"
#include "tundra/Tundra_Game.h"

#include <algorithm>
#include <limits>

namespace Tundra {
namespace {

// A size from 0 up to what keeps the far edge (start + size) an int.
std::int32_t FittingSize(std::int32_t start, std::int32_t size) {
    const std::int64_t room = std::int64_t{std::numeric_limits<std::int32_t>::max()} - start;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, 0, room));
}

Core::RefPtr<Engine::Viewport> MakeEngineViewport(std::int32_t x, std::int32_t y, std::int32_t width,
                                                  std::int32_t height) {
    return TUN_NEW(Engine::Viewport, x, y, FittingSize(x, width), FittingSize(y, height));
}

Core::String CurrentLevelTypeName() {
    const Game* game = Game::GetInstance();
    const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    return level != nullptr ? level->GetTypeName() : Core::String();
}

}  // namespace

Viewport::Viewport() : Viewport(0, 0, 800, 600) {}

Viewport::Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
    : m_viewport(MakeEngineViewport(x, y, width, height)) {}

void Viewport::PushToLua(lua_State* state) const { PushToLuaAs(state, "Viewport"); }

void Viewport::Set(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    // The engine's rectangle is fixed at construction: a new one takes over
    // the colour and the (cached) background.
    const Core::RefPtr<Engine::Viewport> reshaped = MakeEngineViewport(x, y, width, height);
    reshaped->SetClearColor(m_viewport->GetClearColor());
    if (!m_background.empty()) {
        reshaped->SetBackground(m_background);
    }
    m_viewport = reshaped;
}

void Viewport::SetBackground(const Core::String& path) {
    m_background = path;
    m_viewport->SetBackground(path);
}

Camera* Viewport::GetCamera() const { return m_camera && !m_camera->IsCleanedUp() ? m_camera.Get() : nullptr; }

void Viewport::Render(Engine::SceneGraph& sceneGraph) const {
    if (const Camera* camera = GetCamera()) {
        sceneGraph.Render(camera->GetCameraNode(), m_viewport);
    }
}

bool Viewport::IsBoxInView(const BoundingBox& worldBox) const {
    const Camera* camera = GetCamera();
    if (camera == nullptr || GetWidth() == 0 || GetHeight() == 0) {
        return false;
    }
    Matrix4 viewProjection;
    camera->GetViewProjectionMatrix(viewProjection, GetWidth(), GetHeight());
    // The planes of a view-projection matrix are the world-space frustum's.
    Frustum frustum;
    frustum.SetFromProjection(viewProjection);
    return frustum.ClassifyBox(worldBox) != Math::ClassifyOutside;
}

void Viewport::Save(Core::File& file) const {
    file << m_name;
    file << m_camera;
    for (const std::int32_t field : {GetX(), GetY(), GetWidth(), GetHeight()}) {
        file.WriteI32(field);
    }
    file << GetClearColor();
    file << CurrentLevelTypeName();
    file << GetFileNameFromPath(m_background);
}

void Viewport::Load(Core::File& file) {
    Core::String name;
    file >> name;
    Core::RefPtr<Camera> camera;
    file >> camera;
    // x, y, width, height.
    std::int32_t rectangle[4] = {};
    for (std::int32_t& field : rectangle) {
        file.ReadI32(field);
    }
    Color clearColor;
    file >> clearColor;
    Core::String levelName;
    file >> levelName;
    Core::String backgroundFile;
    file >> backgroundFile;
    if (file.HasFailed()) {
        return;
    }
    m_name = name;
    m_camera = camera;
    m_background.clear();
    m_viewport = MakeEngineViewport(rectangle[0], rectangle[1], rectangle[2], rectangle[3]);
    m_viewport->SetClearColor(clearColor);
    // Backgrounds are kept per level, in a folder named after it.
    if (!backgroundFile.empty()) {
        SetBackground(Game::GetDirectory() + "\\Resources\\Viewports Backgrounds\\" + levelName + "\\" +
                      backgroundFile);
    }
}

}  // namespace Tundra

TUN_DEFINE_UNCLONABLE_CLASS(Tundra::Viewport)
