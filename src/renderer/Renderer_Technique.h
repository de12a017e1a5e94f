#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The passes of one way to draw an effect, with a snapshot of every state
// type the passes touch: SaveStates before a draw and RestoreStates after it
// leave each of those render states as the draw found it.
class Technique : public Core::Object {
    TUN_DECLARE_CLASS(Technique);

    Technique() = default;
    // Clones every pass and every saved state.
    Technique(const Technique& other);
    Technique& operator=(const Technique&) = delete;

    // An empty reference is ignored.
    void AddPass(const Core::RefPtr<Pass>& pass);
    std::uint32_t GetPassCount() const { return static_cast<std::uint32_t>(m_passes.size()); }
    // Empty for an index past the last pass.
    Core::RefPtr<Pass> GetPass(std::uint32_t index) const;

    // Adds one object, at its type's reset values, for each state type of
    // the passes not saved yet, and keeps the set ordered by type. Called
    // once the passes are complete; a state type added to a pass later is
    // saved only after another call.
    void CollectStates();
    std::uint32_t GetSavedStateCount() const { return static_cast<std::uint32_t>(m_savedStates.size()); }
    // Empty for an index past the last saved state.
    Core::RefPtr<State> GetSavedState(std::uint32_t index) const;

    // Captures the process-wide renderer's current value of each saved type.
    void SaveStates();
    // Applies the captured values again.
    void RestoreStates() const;
    // Saves as SaveStates would once the previous technique had restored its
    // states, restoring only the types the pass leaves alone: the values of
    // those it sets are taken over instead, and the previous technique keeps
    // stale objects until it saves again. False, changing nothing, for the
    // technique itself or without a renderer.
    bool TakeSavedStates(Technique& previous, const Pass& pass);

private:
    Core::RefPtrVector<Pass> m_passes;
    // The technique's own objects, never those of the passes.
    Core::RefPtrVector<State> m_savedStates;
};

}  // namespace Renderer
