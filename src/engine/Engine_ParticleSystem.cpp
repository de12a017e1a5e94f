#include "engine/Engine_ParticleSystem.h"

#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"

#include <algorithm>

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(ParticleSystem, "Engine::ParticleSystem");

static_assert(sizeof(Particle) == 40, "a particle is ten floats");

namespace {

const Vector2D kQuadCoordinates[6] = {{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0}};

// The rotation part of the inverted view: quads built in it face the camera.
Matrix4 Billboard() {
    Matrix4 billboard;
    if (const Core::RefPtr<Renderer::IRenderer> renderer = Renderer::GetRenderer()) {
        billboard = Matrix4::Inverse(renderer->GetViewMatrix());
        billboard[12] = billboard[13] = billboard[14] = 0.0f;
    }
    return billboard;
}

}  // namespace

ParticleSystem::ParticleSystem(const Core::RefPtr<Renderer::ITexture>& texture, std::uint32_t count)
    : m_texture(texture),
      m_particles(count),
      m_mesh(TUN_NEW(Mesh)),
      m_imageWidth(texture ? static_cast<float>(texture->GetWidth()) : 0.0f),
      m_imageHeight(texture ? static_cast<float>(texture->GetHeight()) : 0.0f),
      m_capacity(count) {
    const std::uint32_t vertices = 6 * count;
    if (count > 0) {
        m_mesh->AddSubRange({0, vertices - 1, -1, 1});
    }
    m_mesh->ReserveVertices(vertices);
    m_mesh->ReserveColors(vertices);
    m_mesh->ReserveTexCoords(vertices);
    for (std::uint32_t i = 0; i < vertices; ++i) {
        m_mesh->AddVertex({});
        m_mesh->AddColor({0.0f, 0.0f, 0.0f, 1.0f});
        m_mesh->AddIndex(i);
        m_mesh->AddTexCoord(kQuadCoordinates[i % 6]);
    }
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : Node(other),
      m_texture(other.m_texture),
      m_particles(other.m_particles),
      m_mesh(static_cast<Mesh*>(other.m_mesh->Clone())),
      m_sourceBlendFactor(other.m_sourceBlendFactor),
      m_destinationBlendFactor(other.m_destinationBlendFactor),
      m_imageWidth(other.m_imageWidth),
      m_imageHeight(other.m_imageHeight),
      m_localCoordinates(other.m_localCoordinates),
      m_capacity(other.m_capacity) {}

void ParticleSystem::Update(float dt) { RunUpdateCallback(dt); }

void ParticleSystem::SetBoundingSize(float size) {
    BoundingBox box;
    Math::SetBoxCorners(box.corners, {-size / 2, -size / 2, -size / 2}, {size / 2, size / 2, size / 2});
    GetBoundingVolume().SetBox(box);
}

Matrix4 ParticleSystem::ParentPlacement() const {
    Matrix4 world;
    if (GetParent() != nullptr) {
        GetParent()->GetWorldMatrix(world);
    }
    return world;
}

void ParticleSystem::GetWorldBoundingVolume(BoundingBox& out) {
    GetBoundingVolume().Transform(ParentPlacement());
    out = GetBoundingVolume().GetBox();
}

void ParticleSystem::WriteQuads() {
    const Matrix4 billboard = Billboard();
    const std::uint32_t listed = std::min(static_cast<std::uint32_t>(m_particles.size()), m_capacity);
    for (std::uint32_t i = 0; i < listed; ++i) {
        const Particle& particle = m_particles[i];
        const float hw = 0.5f * m_imageWidth * particle.scale.x;
        const float hh = 0.5f * m_imageHeight * particle.scale.y;
        const Matrix4 placement = Matrix4::Translation(particle.position.x, particle.position.y, particle.position.z) *
                                  billboard * Matrix4::RotationZ(particle.angle);
        const Vector3D corners[6] = {{-hw, -hh, 0}, {hw, -hh, 0}, {hw, hh, 0},
                                     {hw, hh, 0},   {-hw, hh, 0}, {-hw, -hh, 0}};
        for (std::uint32_t k = 0; k < 6; ++k) {
            m_mesh->SetVertex(6 * i + k, Matrix4::TransformPoint(placement, corners[k]));
            m_mesh->SetColor(6 * i + k, particle.color);
        }
    }
    // Quads of particles no longer listed collapse to a point: nothing of
    // an earlier frame stays on screen.
    for (std::uint32_t vertex = 6 * listed; vertex < 6 * m_capacity; ++vertex) {
        m_mesh->SetVertex(vertex, {});
    }
}

void ParticleSystem::DrawSelf() {
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!GetVisible() || !m_texture || m_capacity == 0 || queue == nullptr) {
        return;
    }
    const Matrix4 parentWorld = ParentPlacement();
    const SceneGraph* scene = SceneGraph::GetCurrent();
    if (!IsHUDObject() && scene != nullptr) {
        GetBoundingVolume().Transform(parentWorld);
        if (scene->GetFrustum().IsBoxOutside(GetBoundingVolume().GetBox())) {
            return;
        }
    }
    WriteQuads();
    RenderItem item;
    item.mesh = m_mesh;
    item.subRange = 0;
    item.texture = m_texture;
    item.screenSpace = IsHUDObject();
    item.primitiveType = Renderer::kTriangleList;
    item.particle = true;
    item.sourceBlendFactor = m_sourceBlendFactor;
    item.destinationBlendFactor = m_destinationBlendFactor;
    item.worldMatrix = m_localCoordinates ? parentWorld : Matrix4();
    queue->Submit(item);
}

}  // namespace Engine
