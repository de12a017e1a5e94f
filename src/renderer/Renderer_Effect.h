#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "renderer/Renderer_CreationNumber.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Technique.h"

#include <array>
#include <cstdint>

namespace Renderer {

// How the fixed-function pipeline is set for a draw: techniques of passes of
// render states, plus texture slots the drawing code binds itself. Only
// technique 0 and its pass 0 are drawn. A draw binds the texture of slot 1
// to unit 0 FIRST, then SaveStates, Pass::Apply, draws, RestoreStates and
// unbinds: a texture-unit state reaches OpenGL only while its unit holds a
// texture, so the other order would leave texturing off.
class Effect : public Core::Object {
    TUN_DECLARE_CLASS(Effect);

    static constexpr std::uint32_t kTextureSlotCount = 32;

    Effect() = default;
    // Clones every technique; the texture slots share the source's textures.
    Effect(const Effect& other);
    Effect& operator=(const Effect&) = delete;

    // An empty reference is ignored.
    void AddTechnique(const Core::RefPtr<Technique>& technique);
    std::uint32_t GetTechniqueCount() const { return static_cast<std::uint32_t>(m_techniques.size()); }
    // Empty for an index past the last technique.
    Core::RefPtr<Technique> GetTechnique(std::uint32_t index) const;

    // Slots from kTextureSlotCount on are ignored (set) or empty (get).
    void SetTexture(std::uint32_t slot, const Core::RefPtr<ITexture>& texture);
    Core::RefPtr<ITexture> GetTexture(std::uint32_t slot) const;

    // Pushes the effect's own parameters into its states before a draw.
    virtual void UpdateStates();

    // Orders effects the same way on every run.
    std::uint64_t GetCreationNumber() const { return m_creation.Get(); }

    // Drawn after the texture-sorted items, in submission order.
    bool blended = false;

private:
    Core::RefPtrVector<Technique> m_techniques;
    std::array<Core::RefPtr<ITexture>, kTextureSlotCount> m_textures;
    CreationNumber m_creation;
};

}  // namespace Renderer
