#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Viewport.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <cstdint>

namespace Tundra {

// A named rectangle of the window into which the scene is drawn through one
// camera, with its own clear colour and optional background image. Width
// and height are never negative, nor so large that an edge passes the
// largest int. The viewport holds its camera: one cleaned up meanwhile
// counts as none.
class Viewport : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Viewport);
    // 0, 0, 800 x 600.
    Viewport();
    // Sizes are brought into range (see above).
    Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;
    ~Viewport() override = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The rectangle; sizes are brought into range.
    void Set(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void SetWidth(std::int32_t width) { Set(GetX(), GetY(), width, GetHeight()); }
    void SetHeight(std::int32_t height) { Set(GetX(), GetY(), GetWidth(), height); }
    void SetPosition(std::int32_t x, std::int32_t y) { Set(x, y, GetWidth(), GetHeight()); }
    std::int32_t GetX() const { return m_viewport->GetX(); }
    std::int32_t GetY() const { return m_viewport->GetY(); }
    std::int32_t GetWidth() const { return m_viewport->GetWidth(); }
    std::int32_t GetHeight() const { return m_viewport->GetHeight(); }
    Point2D GetPosition() const { return {static_cast<float>(GetX()), static_cast<float>(GetY())}; }

    void SetClearColor(const Color& color) { m_viewport->SetClearColor(color); }
    const Color& GetClearColor() const { return m_viewport->GetClearColor(); }
    void SetName(const Core::String& name) { m_name = name; }
    const Core::String& GetName() const { return m_name; }
    // Keeps the path and loads the image as the background.
    void SetBackground(const Core::String& path);
    const Core::String& GetBackground() const { return m_background; }
    void SetCamera(Camera* camera) { m_camera = camera; }
    // Null when none is set or the camera was cleaned up.
    Camera* GetCamera() const;
    const Core::RefPtr<Engine::Viewport>& GetEngineViewport() const { return m_viewport; }

    // Draws the scene graph through the camera into the rectangle; nothing
    // without a camera.
    void Render(Engine::SceneGraph& sceneGraph) const;
    // Whether any of the world-space box may show: false without a camera or
    // with an empty rectangle, and only otherwise when the box lies wholly
    // outside the camera's frustum for this rectangle.
    bool IsBoxInView(const BoundingBox& worldBox) const;

private:
    Core::RefPtr<Engine::Viewport> m_viewport;
    Core::String m_name;
    Core::String m_background;
    Core::RefPtr<Camera> m_camera;
};

}  // namespace Tundra
