#pragma once

#include "engine/Engine_Mesh.h"
#include "engine/Engine_Node.h"
#include "engine/Engine_UnregisteredClass.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3D.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <vector>

namespace Engine {

// One particle as its owner writes it each frame.
struct Particle {
    Vector3D position;
    Vector2D scale;
    // Degrees about the view axis.
    float angle = 0.0f;
    Color color;
};

// The leaf that draws a list of particles, each a textured quad facing the
// camera, scaled, turned and tinted on its own, with the system's blend
// factors. It does not move them: its owner writes the list each frame. The
// mesh is sized once for the count given at construction; particles listed
// beyond it are not drawn, and quads of particles no longer listed vanish.
// Streams store only the node part.
class ParticleSystem : public Node {
    TUN_DECLARE_UNREGISTERED_CLASS(ParticleSystem);

    // count zeroed particles; the quad's base size is the texture's.
    ParticleSystem(const Core::RefPtr<Renderer::ITexture>& texture, std::uint32_t count);
    // Shares the texture, copies the particles and settings, clones the mesh.
    ParticleSystem(const ParticleSystem& other);
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Only the update callback.
    void Update(float dt) override;
    // Writes the quads and queues them, unless hidden, without a texture or,
    // for a scene system, outside the view.
    void DrawSelf() override;
    void DrawTree() override { DrawSelf(); }

    std::vector<Particle>& GetParticles() { return m_particles; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    const Core::RefPtr<Mesh>& GetMesh() const { return m_mesh; }
    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return m_texture; }

    // Engine blend-factor codes.
    void SetSourceBlendFactor(std::uint32_t factor) { m_sourceBlendFactor = factor; }
    std::uint32_t GetSourceBlendFactor() const { return m_sourceBlendFactor; }
    void SetDestinationBlendFactor(std::uint32_t factor) { m_destinationBlendFactor = factor; }
    std::uint32_t GetDestinationBlendFactor() const { return m_destinationBlendFactor; }

    // Particles in the parent's space (true) or in world space.
    void SetUseLocalCoordinates(bool local) { m_localCoordinates = local; }
    bool GetUseLocalCoordinates() const { return m_localCoordinates; }

    // The bounding volume becomes the cube of that side around the origin.
    void SetBoundingSize(float size);
    // The bounding volume placed by the parent's world matrix.
    void GetWorldBoundingVolume(BoundingBox& out);

private:
    Matrix4 ParentPlacement() const;
    // Six vertices and colours per listed particle, turned to face the view.
    void WriteQuads();

    Core::RefPtr<Renderer::ITexture> m_texture;
    std::vector<Particle> m_particles;
    Core::RefPtr<Mesh> m_mesh;
    std::uint32_t m_sourceBlendFactor = 6;
    std::uint32_t m_destinationBlendFactor = 7;
    float m_imageWidth = 0.0f;
    float m_imageHeight = 0.0f;
    bool m_localCoordinates = true;
    std::uint32_t m_capacity = 0;
};

}  // namespace Engine
