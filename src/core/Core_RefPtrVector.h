#pragma once

#include "core/Core_RefPtr.h"

#include <vector>

namespace Core {

// A vector of counted pointers released as a whole by Destroy.
template <class T>
class RefPtrVector : public std::vector<RefPtr<T>> {
public:
    // Releases every non-null element (destroying those that reach 0), frees
    // the storage and leaves the vector empty.
    void Destroy() {
        std::vector<RefPtr<T>> released;
        released.swap(*this);
    }
};

// A clone of every element (each made by its own Clone, so of the element's
// own class), in order. Every element must be set.
template <class T>
RefPtrVector<T> CloneElements(const RefPtrVector<T>& source) {
    RefPtrVector<T> clones;
    clones.reserve(source.size());
    for (const RefPtr<T>& element : source) {
        clones.emplace_back(static_cast<T*>(element->Clone()));
    }
    return clones;
}

}  // namespace Core
