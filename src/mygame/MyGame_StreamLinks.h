#pragma once

#include "core/Core_Object.h"
#include "tundra/Tundra_GameObject.h"

// A link read from a stream may only name an object that something beyond
// the stream holds too (the level it was read with): the stream lets go of
// what it read once the load ends.
inline bool HeldBeyondTheStream(const Core::Object* object) {
    return object == nullptr || object->GetReferenceCount() > 1;
}

// A plain link to a level's object must also name one that its layer will
// keep: not destroyed, not about to be, and not timed to expire. A stored
// flag or life time would otherwise free it under the link. (Whether its
// layer holds it is known only once the level is read: the stream checks
// that for plain links inside a read.)
inline bool StaysInItsLayer(const Tundra::GameObject* object) {
    return object == nullptr ||
           (!object->IsDestroyed() && !object->IsDestroyRequested() && !(object->GetLifeTime() > 0.0f));
}

// Both, for a link read once the level's layers are.
inline bool HeldInItsLayer(const Tundra::GameObject* object) {
    return HeldBeyondTheStream(object) && StaysInItsLayer(object);
}
