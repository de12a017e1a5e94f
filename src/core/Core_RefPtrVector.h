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

}  // namespace Core
