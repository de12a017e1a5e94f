#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The render states of one way to draw, at most one of each exact state
// type. A pass holds the very objects it was given: whoever keeps a state
// and changes it changes what the pass applies next.
class Pass : public Core::Object {
    TUN_DECLARE_CLASS(Pass);

    Pass() = default;
    // Clones every state: the copy shares no state object with its source.
    Pass(const Pass& other);
    Pass& operator=(const Pass&) = delete;

    // Puts the state in place of the one of the same exact type (the old one
    // is released) or appends it; the answer is its index. An empty
    // reference is refused and answered with the state count.
    std::uint32_t AddState(const Core::RefPtr<State>& state);
    std::uint32_t GetStateCount() const { return static_cast<std::uint32_t>(m_states.size()); }
    // Empty for an index past the last state.
    Core::RefPtr<State> GetState(std::uint32_t index) const;
    const Core::RefPtrVector<State>& GetStates() const { return m_states; }

    // Hands every state, in order, to the process-wide renderer.
    void Apply() const;

private:
    Core::RefPtrVector<State> m_states;
};

// A new object of the state's own type with the same values.
Core::RefPtr<State> CloneState(const State& state);
// Hands every state, in order, to the process-wide renderer (none: nothing).
void ApplyStates(const Core::RefPtrVector<State>& states);

}  // namespace Renderer
