#include "renderer/Renderer_Technique.h"

#include "renderer/Renderer_IRenderer.h"

#include <algorithm>
#include <typeindex>
#include <typeinfo>
#include <utility>

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Technique, "Renderer::Technique");

Technique::Technique(const Technique& other)
    : Core::Object(other),
      m_passes(Core::CloneElements(other.m_passes)),
      m_savedStates(Core::CloneElements(other.m_savedStates)) {}

void Technique::AddPass(const Core::RefPtr<Pass>& pass) {
    if (pass) {
        m_passes.push_back(pass);
    }
}

Core::RefPtr<Pass> Technique::GetPass(std::uint32_t index) const {
    return index < m_passes.size() ? m_passes[index] : nullptr;
}

Core::RefPtr<State> Technique::GetSavedState(std::uint32_t index) const {
    return index < m_savedStates.size() ? m_savedStates[index] : nullptr;
}

void Technique::CollectStates() {
    const auto typeOf = [](const Core::RefPtr<State>& state) { return std::type_index(typeid(*state)); };
    for (const Core::RefPtr<Pass>& pass : m_passes) {
        for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i) {
            const Core::RefPtr<State> state = pass->GetState(i);
            const bool saved =
                std::any_of(m_savedStates.begin(), m_savedStates.end(),
                            [&](const Core::RefPtr<State>& kept) { return typeOf(kept) == typeOf(state); });
            if (saved) {
                continue;
            }
            Core::RefPtr<State> snapshot = CloneState(*state);
            snapshot->Reset();
            m_savedStates.push_back(std::move(snapshot));
        }
    }
    // Any order fixed for the run serves; the type's identity is one.
    std::sort(m_savedStates.begin(), m_savedStates.end(),
              [&](const Core::RefPtr<State>& a, const Core::RefPtr<State>& b) { return typeOf(a) < typeOf(b); });
}

void Technique::SaveStates() {
    const Core::RefPtr<IRenderer> renderer = GetRenderer();
    if (!renderer) {
        return;
    }
    for (const Core::RefPtr<State>& state : m_savedStates) {
        state->Capture(*renderer);
    }
}

void Technique::RestoreStates() const { ApplyStates(m_savedStates); }

namespace {

// Where a state of the same exact type lies in the list, or its size. Type
// records are compared by address: one type has one record in this program,
// and two records at worst make the caller fall back to the general way.
std::size_t FindType(const Core::RefPtrVector<State>& states, const State& wanted) {
    const std::type_info& type = typeid(wanted);
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (&typeid(*states[i]) == &type) {
            return i;
        }
    }
    return states.size();
}

}  // namespace

bool Technique::TakeSavedStates(Technique& previous, const Pass& pass) {
    const Core::RefPtr<IRenderer> renderer = GetRenderer();
    if (&previous == this || !renderer) {
        return false;
    }
    for (const Core::RefPtr<State>& state : previous.m_savedStates) {
        if (FindType(pass.GetStates(), *state) == pass.GetStateCount()) {
            state->Apply(*renderer);
        }
    }
    SaveStates();
    for (Core::RefPtr<State>& state : previous.m_savedStates) {
        const std::size_t own = FindType(m_savedStates, *state);
        if (own != m_savedStates.size() && FindType(pass.GetStates(), *state) != pass.GetStateCount()) {
            std::swap(m_savedStates[own], state);
        }
    }
    return true;
}

}  // namespace Renderer
