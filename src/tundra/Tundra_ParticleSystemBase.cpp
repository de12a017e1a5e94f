#include "tundra/Tundra_ParticleSystemBase.h"

#include "core/Core_File.h"
#include "math/Math_FloatStream.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TextureManager.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Viewport.h"

#include <algorithm>

namespace Tundra {
namespace {

// A render record is its ten floats in order, 40 bytes.
void WriteRecord(Core::File& file, const Engine::Particle& p) {
    Math::WriteFloats(file, {p.position.x, p.position.y, p.position.z, p.scale.x, p.scale.y, p.angle, p.color.r,
                             p.color.g, p.color.b, p.color.a});
}

void ReadRecord(Core::File& file, Engine::Particle& p) {
    Math::ReadFloats(file, p.position.x, p.position.y, p.position.z, p.scale.x, p.scale.y, p.angle, p.color.r,
                     p.color.g, p.color.b, p.color.a);
}

Core::RefPtr<Engine::ParticleSystem> MakeNode(const Core::String& texturePath, std::uint32_t count,
                                              float boundingSize) {
    const Core::RefPtr<Renderer::ITexture> texture =
        texturePath.empty() ? nullptr : TextureManager::GetTexture(texturePath, true);
    Core::RefPtr<Engine::ParticleSystem> node = TUN_NEW(Engine::ParticleSystem, texture, count);
    node->SetBoundingSize(boundingSize);
    return node;
}

}  // namespace

ParticleSystemBase::ParticleSystemBase() = default;

ParticleSystemBase::ParticleSystemBase(const Core::String& texturePath, std::uint32_t count, float boundingSize)
    : m_count(std::min(count, kMaxParticles)), m_boundingSize(boundingSize) {
    ReplaceNode(MakeNode(texturePath, m_count, boundingSize));
    m_node->SetUseLocalCoordinates(true);
}

ParticleSystemBase::ParticleSystemBase(const ParticleSystemBase& other)
    : GameObject(other),
      m_count(other.m_count),
      m_useLocalCoordinates(other.m_useLocalCoordinates),
      m_boundingSize(other.m_boundingSize) {
    if (other.m_node) {
        ReplaceNode(static_cast<Engine::ParticleSystem*>(other.m_node->Clone()));
    }
}

void ParticleSystemBase::PushToLua(lua_State* state) const { PushToLuaAs(state, "ParticleSystem"); }

void ParticleSystemBase::ReplaceNode(const Core::RefPtr<Engine::ParticleSystem>& node) {
    if (m_node) {
        GetSceneNode()->RemoveChild(m_node.Get());
    }
    m_node = node;
    GetSceneNode()->AddChild(m_node);
    // The new node takes the object's visibility.
    GetSceneNode()->SetVisible(GetVisible(), true);
}

void ParticleSystemBase::SetSrcBlendFactor(std::uint32_t factor) {
    if (m_node) {
        m_node->SetSourceBlendFactor(factor);
    }
}

std::uint32_t ParticleSystemBase::GetSrcBlendFactor() const { return m_node ? m_node->GetSourceBlendFactor() : 0; }

void ParticleSystemBase::SetDstBlendFactor(std::uint32_t factor) {
    if (m_node) {
        m_node->SetDestinationBlendFactor(factor);
    }
}

std::uint32_t ParticleSystemBase::GetDstBlendFactor() const {
    return m_node ? m_node->GetDestinationBlendFactor() : 0;
}

void ParticleSystemBase::SetUseLocalCoordinates(bool local) {
    m_useLocalCoordinates = local;
    if (m_node) {
        m_node->SetUseLocalCoordinates(local);
    }
}

void ParticleSystemBase::SetHUDObject(bool hud) {
    if (m_node) {
        m_node->SetHUDObject(hud);
    }
}

bool ParticleSystemBase::IsHUDObject() const { return m_node && m_node->IsHUDObject(); }

bool ParticleSystemBase::IsInViewport(const Viewport* viewport) const {
    if (viewport == nullptr || !m_node) {
        return false;
    }
    BoundingBox box;
    m_node->GetWorldBoundingVolume(box);
    return viewport->IsBoxInView(box);
}

void ParticleSystemBase::Save(Core::File& file) const {
    GameObject::Save(file);
    const Renderer::ITexture* texture = m_node ? m_node->GetTexture().Get() : nullptr;
    // The bare file name: reading looks for it under the particle folder.
    file << (texture != nullptr ? GetFileNameFromPath(texture->GetName()) : Core::String());
    file.WriteU32(m_count);
    if (m_node) {
        for (const Engine::Particle& record : m_node->GetParticles()) {
            WriteRecord(file, record);
        }
    }
    file.WriteF32(m_boundingSize);
    file.WriteU32(GetSrcBlendFactor());
    file.WriteU32(GetDstBlendFactor());
    file.WriteU8(IsHUDObject() ? 1 : 0);
    file.WriteU8(m_useLocalCoordinates ? 1 : 0);
}

void ParticleSystemBase::Load(Core::File& file) {
    GameObject::Load(file);
    Core::String name;
    file >> name;
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > kMaxParticles) {
        file.SetFailed();
    }
    // Everything is read before anything changes: a stream that fails
    // leaves the node as it was, and a short one allocates no node.
    std::vector<Engine::Particle> records;
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        ReadRecord(file, records.emplace_back());
    }
    float boundingSize = 0.0f;
    std::uint32_t sourceFactor = 0;
    std::uint32_t destinationFactor = 0;
    std::uint8_t hud = 0;
    std::uint8_t local = 1;
    file.ReadF32(boundingSize);
    file.ReadU32(sourceFactor);
    file.ReadU32(destinationFactor);
    file.ReadU8(hud);
    file.ReadU8(local);
    if (file.HasFailed()) {
        return;
    }
    const Core::String path =
        name.empty() ? Core::String()
                     : Game::GetDirectory() + "\\Resources\\ParticleSystems\\" + GetFileNameFromPath(name);
    ReplaceNode(MakeNode(path, count, boundingSize));
    m_node->GetParticles() = std::move(records);
    m_count = count;
    m_boundingSize = boundingSize;
    SetSrcBlendFactor(sourceFactor);
    SetDstBlendFactor(destinationFactor);
    SetHUDObject(hud != 0);
    SetUseLocalCoordinates(local != 0);
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::ParticleSystemBase)
