#pragma once

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
