#include "gui/GUI_TRectangle.h"

#include "math/Math_FloatStream.h"

namespace GUI {

void TRectangle::SetTexCoord(std::size_t corner, const Vector2D& coordinate) {
    if (corner < kCornerCount) {
        m_texCoords[corner] = coordinate;
    }
}

Vector2D TRectangle::GetTexCoord(std::size_t corner) const {
    return corner < kCornerCount ? m_texCoords[corner] : Vector2D();
}

void TRectangle::Write(Core::File& file) const {
    NRectangle::Write(file);
    for (const Vector2D& corner : m_texCoords) {
        Math::WriteFloats(file, {corner.x, corner.y});
    }
}

void TRectangle::Read(Core::File& file) {
    TRectangle read = *this;
    read.NRectangle::Read(file);
    for (Vector2D& corner : read.m_texCoords) {
        Math::ReadFloats(file, corner.x, corner.y);
    }
    if (!file.HasFailed()) {
        *this = read;
    }
}

bool ClipTRectangle(TRectangle& out, const TRectangle& source, const NRectangle& clip) {
    NRectangle kept;
    if (!NRectangle::Intersect(kept, source, clip)) {
        return false;
    }
    const Vector2D c0 = source.GetTexCoord(0);
    const Vector2D c1 = source.GetTexCoord(1);
    const Vector2D c2 = source.GetTexCoord(2);
    const Vector2D c3 = source.GetTexCoord(3);
    const float du = c1.x - c0.x;
    const float dv = c3.y - c0.y;
    // The fractions of the source cut away on each side.
    const float left = (kept.GetX() - source.GetX()) / source.GetWidth();
    const float bottom = (kept.GetY() - source.GetY()) / source.GetHeight();
    const float right = (source.GetRight() - kept.GetRight()) / source.GetWidth();
    const float top = (source.GetTop() - kept.GetTop()) / source.GetHeight();
    TRectangle clipped(kept);
    clipped.SetTexCoord(0, {c0.x + left * du, c0.y + bottom * dv});
    clipped.SetTexCoord(1, {c1.x - right * du, c1.y + bottom * dv});
    clipped.SetTexCoord(2, {c2.x - right * du, c2.y - top * dv});
    clipped.SetTexCoord(3, {c3.x + left * du, c3.y - top * dv});
    out = clipped;
    return true;
}

}  // namespace GUI
