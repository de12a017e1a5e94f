#pragma once

#include "core/Core_MemoryFile.h"

#include <cstdint>
#include <vector>

// A memory stream whose bytes can be compared as a vector.
class ByteFile : public Core::MemoryFile {
public:
    std::vector<std::uint8_t> Bytes() const { return {GetData(), GetData() + GetSize()}; }
};
