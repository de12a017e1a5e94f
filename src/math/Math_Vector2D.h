#pragma once

// A 2D displacement or direction: two 32-bit floats, computed in float.
struct Vector2D {
    float x = 0.0f;
    float y = 0.0f;

    Vector2D() = default;
    Vector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

    Vector2D operator-() const { return {-x, -y}; }
    Vector2D operator+(const Vector2D& other) const { return {x + other.x, y + other.y}; }
    Vector2D operator-(const Vector2D& other) const { return {x - other.x, y - other.y}; }
    Vector2D operator*(float s) const { return {x * s, y * s}; }
};
