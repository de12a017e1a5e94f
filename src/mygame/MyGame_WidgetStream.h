#pragma once

#include "core/Core_File.h"
#include "math/Math_Vector2D.h"

#include <cmath>
#include <cstdint>

// Stream fields the HUD widgets share. Each read fails the stream on a value
// the widget could not hold, and leaves the target alone when it fails.

inline void WriteVector(Core::File& file, const Vector2D& value) {
    file.WriteF32(value.x);
    file.WriteF32(value.y);
}

inline void ReadFinite(Core::File& file, float& value) {
    float read = value;
    file.ReadF32(read);
    if (!std::isfinite(read)) {
        file.SetFailed();
        return;
    }
    if (!file.HasFailed()) {
        value = read;
    }
}

inline void ReadVector(Core::File& file, Vector2D& value) {
    Vector2D read = value;
    ReadFinite(file, read.x);
    ReadFinite(file, read.y);
    if (!file.HasFailed()) {
        value = read;
    }
}

// A flag stored as one byte, 0 or 1.
inline void ReadFlagByte(Core::File& file, std::uint8_t& value) {
    std::uint8_t read = value;
    file.ReadU8(read);
    if (read > 1) {
        file.SetFailed();
        return;
    }
    if (!file.HasFailed()) {
        value = read;
    }
}
