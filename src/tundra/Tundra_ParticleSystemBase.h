#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_ParticleSystem.h"
#include "tundra/Tundra_GameObject.h"

#include <cstdint>
#include <vector>

namespace Tundra {

class Viewport;

// The game-object side of a particle system: it owns one scene-graph
// particle node under its own scene node and reaches that node's drawing
// settings. It emits nothing itself; a derived system writes the node's
// records (one per particle, hidden while both scales are 0).
//
// A system made by the class registry has no node until it is read: its
// setters do nothing and its getters give the defaults below.
class ParticleSystemBase : public GameObject {
    TUN_DECLARE_CLASS(ParticleSystemBase);
    // The most particles a system holds.
    static constexpr std::uint32_t kMaxParticles = 65536;

    ParticleSystemBase();
    // texturePath is a full file name; count is capped at kMaxParticles; the
    // node's bounding box is the cube of side boundingSize around its origin.
    ParticleSystemBase(const Core::String& texturePath, std::uint32_t count, float boundingSize);
    // A copy with a clone of the node (texture, settings and records).
    ParticleSystemBase(const ParticleSystemBase& other);
    ParticleSystemBase& operator=(const ParticleSystemBase&) = delete;

    void PushToLua(lua_State* state) const override;
    // After the game object: the texture's file name, the records, the
    // bounding size, the blend factors and the two flags. Reading fetches
    // the texture from "\Resources\ParticleSystems\" and replaces the node.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    std::uint32_t GetParticleCount() const { return m_count; }
    const Core::RefPtr<Engine::ParticleSystem>& GetParticleNode() const { return m_node; }

    // Renderer blend-factor codes, 0 without a node.
    void SetSrcBlendFactor(std::uint32_t factor);
    std::uint32_t GetSrcBlendFactor() const;
    void SetDstBlendFactor(std::uint32_t factor);
    std::uint32_t GetDstBlendFactor() const;
    // Particles placed in the system's space (true, the default) or in the world.
    void SetUseLocalCoordinates(bool local);
    bool GetUseLocalCoordinates() const { return m_useLocalCoordinates; }
    // Screen space: drawn without the view test.
    void SetHUDObject(bool hud);
    bool IsHUDObject() const;
    // False without a viewport or camera, or when the node's world bounding
    // box lies wholly outside the camera's view.
    bool IsInViewport(const Viewport* viewport) const;

protected:
    // The node's records, one per particle; null without a node.
    std::vector<Engine::Particle>* GetRenderParticles() { return m_node ? &m_node->GetParticles() : nullptr; }

private:
    // Hangs the node under the object's scene node in place of the old one.
    void ReplaceNode(const Core::RefPtr<Engine::ParticleSystem>& node);

    std::uint32_t m_count = 0;
    bool m_useLocalCoordinates = true;
    Core::RefPtr<Engine::ParticleSystem> m_node;
    float m_boundingSize = 0.0f;
};

}  // namespace Tundra
