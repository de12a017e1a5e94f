#include "renderer/Renderer_Pass.h"

#include "renderer/Renderer_IRenderer.h"

#include <typeinfo>

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Pass, "Renderer::Pass");

Core::RefPtr<State> CloneState(const State& state) {
    // Clone makes an object of the state's dynamic type, so it is a State.
    return Core::RefPtr<State>(static_cast<State*>(state.Clone()));
}

void ApplyStates(const Core::RefPtrVector<State>& states) {
    const Core::RefPtr<IRenderer> renderer = GetRenderer();
    if (!renderer) {
        return;
    }
    for (const Core::RefPtr<State>& state : states) {
        state->Apply(*renderer);
    }
}

Pass::Pass(const Pass& other) : Core::Object(other), m_states(Core::CloneElements(other.m_states)) {}

std::uint32_t Pass::AddState(const Core::RefPtr<State>& state) {
    if (!state) {
        return GetStateCount();
    }
    for (std::uint32_t i = 0; i < GetStateCount(); ++i) {
        // The exact dynamic type: TextureUnit0State and TextureUnit1State differ.
        if (typeid(*m_states[i]) == typeid(*state)) {
            m_states[i] = state;
            return i;
        }
    }
    m_states.push_back(state);
    return GetStateCount() - 1;
}

Core::RefPtr<State> Pass::GetState(std::uint32_t index) const {
    return index < m_states.size() ? m_states[index] : nullptr;
}

void Pass::Apply() const { ApplyStates(m_states); }

}  // namespace Renderer
