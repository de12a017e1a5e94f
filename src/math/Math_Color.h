#pragma once

#include "math/Math_FloatStream.h"

// Red, green, blue and alpha as 32-bit floats, nominally 0..1 and never
// clamped. The default is transparent black.
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    Color() = default;
    Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
};

inline Core::File& operator<<(Core::File& file, const Color& c) {
    Math::WriteFloats(file, {c.r, c.g, c.b, c.a});
    return file;
}

inline Core::File& operator>>(Core::File& file, Color& c) {
    Math::ReadFloats(file, c.r, c.g, c.b, c.a);
    return file;
}
