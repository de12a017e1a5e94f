#pragma once

#include "core/Core_Object.h"

// A link read from a stream may only name an object that something beyond
// the stream holds too (the level it was read with): the stream lets go of
// what it read once the load ends.
inline bool HeldBeyondTheStream(const Core::Object* object) {
    return object == nullptr || object->GetReferenceCount() > 1;
}
