#pragma once

#include "core/Core_RefPtr.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {

// Hangs node under the object's scene node in place of the one the slot held.
template <class T>
void ReplaceChildNode(GameObject& owner, Core::RefPtr<T>& slot, const Core::RefPtr<T>& node) {
    if (slot) {
        owner.GetSceneNode()->RemoveChild(slot.Get());
    }
    slot = node;
    if (slot) {
        owner.GetSceneNode()->AddChild(slot);
    }
}

// A copy of the source's node, or none when the source has none.
template <class T>
Core::RefPtr<T> CloneNode(const Core::RefPtr<T>& source) {
    return source ? Core::RefPtr<T>(static_cast<T*>(source->Clone())) : Core::RefPtr<T>();
}

}  // namespace Tundra
