#pragma once

#include "core/Core_File.h"

#include <initializer_list>
#include <span>

namespace Math {

// Math values are stored as a run of 32-bit little-endian floats, one field
// at a time and nothing else: no tag, no count, no padding.
inline void WriteFloatArray(Core::File& file, std::span<const float> values) {
    for (const float value : values) {
        file.WriteF32(value);
    }
}

inline void WriteFloats(Core::File& file, std::initializer_list<float> values) {
    WriteFloatArray(file, {values.begin(), values.size()});
}

// A field whose bytes cannot be read keeps its value.
template <class... Floats>
void ReadFloats(Core::File& file, Floats&... values) {
    (file.ReadF32(values), ...);
}

inline void ReadFloatArray(Core::File& file, std::span<float> values) {
    for (float& value : values) {
        file.ReadF32(value);
    }
}

}  // namespace Math
