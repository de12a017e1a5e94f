#pragma once

#include "core/Core_MemoryFile.h"

namespace Tundra {

class GameObject;

// The byte stream of object data in packets. Reads stop at the end of the
// bytes (a read past it fails the file): check HasFailed after each body.
class NetworkFile : public Core::MemoryFile {
public:
    NetworkFile() = default;
    NetworkFile(const void* data, std::uint32_t count) : Core::MemoryFile(data, count) {}

    // A present flag, then for an object its class name (u32 length, bytes)
    // and its network save.
    void WriteNetworkObject(const GameObject* object);
    // Null for the absent flag, a failed read, or a class name that is not
    // a registered game-object class (decided before anything is created);
    // an object whose network load fails is released.
    GameObject* ReadObject();
};

}  // namespace Tundra
