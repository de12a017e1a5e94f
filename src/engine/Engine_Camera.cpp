#include "engine/Engine_Camera.h"

#include "engine/Engine_TransformationGroup.h"
#include "renderer/Renderer_DefaultEffects.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(Camera, "Engine::Camera");

Camera::Camera(float fieldOfView, float nearDistance, float farDistance)
    : m_volumeEffect(Renderer::CreateDefaultEffect()),
      m_fieldOfView(fieldOfView),
      m_near(nearDistance),
      m_far(farDistance) {
    BoundingBox cube;
    Math::SetBoxCorners(cube.corners, {-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f});
    GetBoundingVolume().SetBox(cube);
    GetBoundingVolume().Transform(Matrix4::Scaling(10.0f, 10.0f, 10.0f));
}

Camera::Camera(const Camera& other)
    : Node(other),
      m_volumeEffect(Renderer::CreateDefaultEffect()),
      m_fieldOfView(other.m_fieldOfView),
      m_near(other.m_near),
      m_far(other.m_far) {}

Matrix4 Camera::Projection(std::int32_t width, std::int32_t height) const {
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    return Matrix4::Perspective(m_fieldOfView, static_cast<float>(aspect), m_near, m_far);
}

void Camera::ComputeFrustum(Frustum& out, std::int32_t width, std::int32_t height) const {
    out.SetFromProjection(Projection(width, height));
    out.Transform(m_world);
}

void Camera::Apply(Renderer::IRenderer& renderer, std::int32_t width, std::int32_t height) {
    const Matrix4 projection = Projection(width, height);
    m_frustum.SetFromProjection(projection);
    m_frustum.Transform(m_world);
    m_savedProjection = renderer.GetProjectionMatrix();
    m_savedView = renderer.GetViewMatrix();
    renderer.SetProjectionMatrix(projection);
    renderer.SetViewMatrix(Matrix4::Inverse(m_world));
}

void Camera::Restore(Renderer::IRenderer& renderer) const {
    renderer.SetProjectionMatrix(m_savedProjection);
    renderer.SetViewMatrix(m_savedView);
}

void Camera::GetViewProjectionMatrix(Matrix4& out, std::int32_t width, std::int32_t height) const {
    out = Projection(width, height) * Matrix4::Inverse(m_world);
}

void Camera::GetPosition(Vector3D& out) const { out = Matrix4::TransformPoint(ParentWorldMatrix(), {}); }

void Camera::Update(float dt) {
    RunCallbacks(dt);
    m_world = ParentWorldMatrix();
    GetBoundingVolume().Transform(m_world);
    MergeIntoParent();
}

void Camera::DrawSelf() {
    if (GetShowBoundingVolume()) {
        SubmitBoundingVolume(GetBoundingVolume(), m_volumeEffect);
    }
}

}  // namespace Engine
