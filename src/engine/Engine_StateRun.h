#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"

namespace Engine {

// Draws consecutive things through one effect (technique 0, pass 0) as if
// each had bound its texture, saved, applied, drawn, restored and unbound
// on its own, with one save and restore for the whole run and one bind and
// one unbind per run of equal textures. OpenGL keeps filter and wrap per texture object,
// so a new texture gets the pass applied again. The next effect, when it has
// a texture, takes the saved states over, with only the types its pass does
// not set restored: restoring the others in between would change nothing a
// draw sees (the old texture keeps its filter and wrap, which every later
// bind through a run sets again).
class StateRun {
public:
    explicit StateRun(Renderer::IRenderer& renderer) : m_renderer(renderer) {}
    ~StateRun() { End(); }
    StateRun(const StateRun&) = delete;
    StateRun& operator=(const StateRun&) = delete;

    // Makes the effect and the texture (none allowed) current for the next
    // draw, ending the run of another effect first. reapply: the effect's
    // states changed since they were applied.
    void Use(Renderer::Effect& effect, const Core::RefPtr<Renderer::ITexture>& texture, bool reapply);
    // Restores the states and unbinds the texture.
    void End();

private:
    // Switches to the effect without restoring in between when it may
    // (true), else changes nothing.
    bool HandOver(Renderer::Effect& effect, const Core::RefPtr<Renderer::ITexture>& texture);

    Renderer::IRenderer& m_renderer;
    const Renderer::Effect* m_effect = nullptr;
    Core::RefPtr<Renderer::Technique> m_technique;
    Core::RefPtr<Renderer::Pass> m_pass;
    const Renderer::ITexture* m_texture = nullptr;
};

}  // namespace Engine
