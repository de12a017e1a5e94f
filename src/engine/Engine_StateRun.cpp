#include "engine/Engine_StateRun.h"

namespace Engine {

void StateRun::Use(Renderer::Effect& effect, const Core::RefPtr<Renderer::ITexture>& texture, bool reapply) {
    if (m_effect != nullptr && m_effect != &effect && !HandOver(effect, texture)) {
        End();
    }
    if (m_effect == nullptr) {
        // The texture goes first: a unit's state reaches the device only while it holds one.
        m_renderer.SetTexture(0, texture);
        m_texture = texture.Get();
        m_effect = &effect;
        m_technique = effect.GetTechnique(0);
        m_pass = m_technique ? m_technique->GetPass(0) : nullptr;
        if (m_technique) {
            m_technique->SaveStates();
        }
        if (m_pass) {
            m_pass->Apply();
        }
        return;
    }
    if (texture.Get() != m_texture) {
        // The run's texture is let go before the next is bound, as each
        // thing unbinding its own would.
        if (m_texture != nullptr) {
            m_renderer.SetTexture(0, nullptr);
        }
        if (texture) {
            m_renderer.SetTexture(0, texture);
        }
        m_texture = texture.Get();
        reapply = true;
    }
    if (reapply && m_pass) {
        m_pass->Apply();
    }
}

bool StateRun::HandOver(Renderer::Effect& effect, const Core::RefPtr<Renderer::ITexture>& texture) {
    const Core::RefPtr<Renderer::Technique> technique = effect.GetTechnique(0);
    const Core::RefPtr<Renderer::Pass> pass = technique ? technique->GetPass(0) : nullptr;
    // Without a texture the unit's state would not reach OpenGL, so the
    // restored one must stay there.
    if (!texture || !pass || !m_technique || !technique->TakeSavedStates(*m_technique, *pass)) {
        return false;
    }
    if (texture.Get() != m_texture) {
        if (m_texture != nullptr) {
            m_renderer.SetTexture(0, nullptr);
        }
        m_renderer.SetTexture(0, texture);
        m_texture = texture.Get();
    }
    m_effect = &effect;
    m_technique = technique;
    m_pass = pass;
    m_pass->Apply();
    return true;
}

void StateRun::End() {
    if (m_effect == nullptr) {
        return;
    }
    if (m_technique) {
        m_technique->RestoreStates();
    }
    m_renderer.SetTexture(0, nullptr);
    m_effect = nullptr;
    m_texture = nullptr;
    m_technique = nullptr;
    m_pass = nullptr;
}

}  // namespace Engine
