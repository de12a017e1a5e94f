#pragma once

#include "engine/Engine_Node.h"
#include "engine/Engine_UnregisteredClass.h"
#include "math/Math_Frustum.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"

namespace Engine {

// A perspective camera placed by its parent: it sets the renderer's
// projection and view for one scene render and gives the world-space
// frustum the leaves test against. Stored as a plain node.
class Camera : public Node {
    TUN_DECLARE_UNREGISTERED_CLASS(Camera);

    // Vertical field of view in degrees, near and far plane distances.
    Camera(float fieldOfView, float nearDistance, float farDistance);
    // Copies the node part and the three lens values.
    Camera(const Camera& other);
    Camera& operator=(const Camera&) = delete;

    void SetFOV(float degrees) { m_fieldOfView = degrees; }
    float GetFOV() const { return m_fieldOfView; }

    // Saves the renderer's projection and view, then sets this camera's for
    // a viewport of width x height pixels and computes its frustum.
    void Apply(Renderer::IRenderer& renderer, std::int32_t width, std::int32_t height);
    // Puts the saved projection, then the saved view, back.
    void Restore(Renderer::IRenderer& renderer) const;
    // The world-space frustum of the last Apply.
    const Frustum& GetFrustum() const { return m_frustum; }
    // The frustum Apply would compute, touching nothing.
    void ComputeFrustum(Frustum& out, std::int32_t width, std::int32_t height) const;
    // Projection times view, as Apply would set them.
    void GetViewProjectionMatrix(Matrix4& out, std::int32_t width, std::int32_t height) const;
    // The parent's placement of the origin.
    void GetPosition(Vector3D& out) const;

    std::uint32_t GetNodeType() const override { return kCamera; }
    void Update(float dt) override;
    void Render(const Frustum& frustum) override {}
    // Queues the bounding-volume mesh when it is shown; nothing else.
    void DrawSelf() override;
    void DrawTree() override { DrawSelf(); }

private:
    Matrix4 Projection(std::int32_t width, std::int32_t height) const;

    Core::RefPtr<Renderer::Effect> m_volumeEffect;
    float m_fieldOfView;
    Matrix4 m_savedProjection;
    Matrix4 m_savedView;
    Frustum m_frustum;
    float m_near;
    float m_far;
};

}  // namespace Engine
