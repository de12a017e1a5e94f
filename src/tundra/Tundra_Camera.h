#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Camera.h"
#include "math/Math_Matrix4.h"
#include "tundra/Tundra_GameObject.h"

#include <cstdint>

namespace Core {
class File;
}

namespace Tundra {

// A game object that owns a perspective camera node placed by the object's
// transform; viewports draw the scene through it. One camera at a time is the
// active listener, where the level puts the sound listener each frame.
class Camera : public GameObject {
    TUN_DECLARE_CLASS(Camera);
    // Field of view 45 degrees.
    Camera();
    // The first camera made while there is no listener becomes it.
    explicit Camera(float fieldOfView);
    // Used only by Clone: a clone of the source's node and its field of
    // view; a copy is not cleaned up and never becomes the listener.
    Camera(const Camera& other);
    Camera& operator=(const Camera&) = delete;
    ~Camera() override;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    // Once: stops being the listener, then the game object's clean-up.
    void Cleanup() override;

    void SetFOV(float degrees);
    float GetFOV() const { return m_fieldOfView; }
    bool IsCleanedUp() const { return m_cleanedUp; }
    const Core::RefPtr<Engine::Camera>& GetCameraNode() const { return m_node; }

    // Projection for a viewport of width x height pixels times the view of
    // the node's world placement (as of the last scene-graph update).
    void GetViewProjectionMatrix(Matrix4& out, std::int32_t width, std::int32_t height) const;

    void MakeActiveListener() { s_activeListener = this; }
    bool IsActiveListener() const { return s_activeListener == this; }
    // Null when there is none.
    static Camera* GetActiveListener() { return s_activeListener; }
    // The listener as one object reference.
    static void SaveActiveListener(Core::File& file);
    static void LoadActiveListener(Core::File& file);

    // One step of the debug keyboard flight: the held keys move and turn a
    // pose shared by every camera, which then places this camera's node.
    void UpdateFromKeyboard();

private:
    void StopListening();

    static Camera* s_activeListener;

    Core::RefPtr<Engine::Camera> m_node;
    float m_fieldOfView;
    bool m_cleanedUp = false;
};

}  // namespace Tundra
