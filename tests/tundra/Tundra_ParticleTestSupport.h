#pragma once

#include "Tundra_HostileRead.h"

// Shared by the emitter and particle-system tests: object streams and
// bodies as bytes, and hostile copies of them.
namespace particletest {

using tundratest::Bytes;
using tundratest::ReadHostile;
using tundratest::Saved;

// The object's body alone, as its Save writes it.
inline Bytes Body(const Core::Object& object) {
    Core::MemoryFile file;
    object.Save(file);
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

}  // namespace particletest
