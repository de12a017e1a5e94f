#pragma once

#include "gui/GUI_NRectangle.h"

#include <array>
#include <cstddef>

namespace GUI {

// A rectangle with the texture corners drawn on it, in the order lower-left,
// lower-right, upper-right, upper-left; new ones show the whole texture.
class TRectangle : public NRectangle {
public:
    static constexpr std::size_t kCornerCount = 4;

    TRectangle() = default;
    TRectangle(float x, float y, float width, float height) : NRectangle(x, y, width, height) {}
    explicit TRectangle(const NRectangle& rectangle) : NRectangle(rectangle) {}

    // Corners from kCornerCount on are ignored (set) or (0, 0) (get).
    void SetTexCoord(std::size_t corner, const Vector2D& coordinate);
    Vector2D GetTexCoord(std::size_t corner) const;
    const std::array<Vector2D, kCornerCount>& GetTexCoords() const { return m_texCoords; }

    bool operator==(const TRectangle& other) const {
        return NRectangle::operator==(other) && m_texCoords == other.m_texCoords;
    }

    // The rectangle's four f32, then the corners' (u, v): twelve f32.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

private:
    std::array<Vector2D, kCornerCount> m_texCoords{Vector2D(0.0f, 0.0f), Vector2D(1.0f, 0.0f), Vector2D(1.0f, 1.0f),
                                                   Vector2D(0.0f, 1.0f)};
};

// The part of source inside clip, with its texture corners cut in the same
// proportion as its edges. False (out unchanged) when that part is not valid.
bool ClipTRectangle(TRectangle& out, const TRectangle& source, const NRectangle& clip);

}  // namespace GUI
