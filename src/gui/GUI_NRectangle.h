#pragma once

#include "math/Math_Vector2D.h"

namespace Core {
class File;
}

namespace GUI {

// A rectangle in GUI screen units: origin at the window's lower-left corner,
// y growing upwards, so y is the bottom edge. A plain value: scripts get a
// copy of it.
class NRectangle {
public:
    NRectangle() = default;
    NRectangle(float x, float y, float width, float height) : m_x(x), m_y(y), m_width(width), m_height(height) {}

    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    void SetX(float x) { m_x = x; }
    void SetY(float y) { m_y = y; }
    void SetWidth(float width) { m_width = width; }
    void SetHeight(float height) { m_height = height; }
    Vector2D GetPosition() const { return {m_x, m_y}; }
    void SetPosition(const Vector2D& position) {
        m_x = position.x;
        m_y = position.y;
    }
    float GetRight() const { return m_x + m_width; }
    float GetTop() const { return m_y + m_height; }

    // Points on any of the four edges count as inside.
    bool IsInside(float px, float py) const;
    // At least one unit wide and high (NaN never is).
    bool IsValid() const;

    // The overlap of a and b, written to out even when it is empty; answers
    // whether it is valid. out may be a or b.
    static bool Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b);

    // Exact float comparison: a NaN field differs from everything.
    bool operator==(const NRectangle&) const = default;

    // x, y, width, height as four f32; a failed read leaves the fields as they were.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

private:
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_width = 0.0f;
    float m_height = 0.0f;
};

}  // namespace GUI
