#pragma once

#include "core/Core_File.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "tundra/Tundra_GameObject.h"

#include <cstdint>
#include <utility>
#include <vector>

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

// A list of links: its length, then each link.
template <class T>
void WriteLinks(Core::File& file, const std::vector<Core::RefPtr<T>>& objects) {
    file.WriteU32(static_cast<std::uint32_t>(objects.size()));
    for (const Core::RefPtr<T>& object : objects) {
        file << object;
    }
}

// Links kept in counted references are read as owning references: the
// stream refuses one to an object whose fields are still being read (the
// reader itself, or one reading it), which would close a cycle of counted
// references that nothing frees.
//
// A list of at most `limit` links, none empty, each to an object its layer
// keeps; appended to `objects`, which the caller drops when the stream
// failed.
template <class T>
void ReadLinks(Core::File& file, std::uint32_t limit, std::vector<Core::RefPtr<T>>& objects) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > limit) {
        file.SetFailed();
    }
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<T> object;
        file >> object;
        if (object == nullptr || !StaysInItsLayer(object.Get())) {
            file.SetFailed();
            return;
        }
        objects.push_back(std::move(object));
    }
}

// One link to an object its layer keeps, or none; taken only while the
// stream is sound.
template <class T>
void ReadLink(Core::File& file, Core::RefPtr<T>& link) {
    Core::RefPtr<T> object;
    file >> object;
    if (!StaysInItsLayer(object.Get())) {
        file.SetFailed();
    }
    if (!file.HasFailed()) {
        link = std::move(object);
    }
}
