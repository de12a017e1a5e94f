#include "gui/GUI_NRectangle.h"

#include "math/Math_FloatStream.h"

#include <algorithm>

namespace GUI {

bool NRectangle::IsInside(float px, float py) const {
    return m_x <= px && px <= GetRight() && m_y <= py && py <= GetTop();
}

bool NRectangle::IsValid() const { return m_width >= 1.0f && m_height >= 1.0f; }

bool NRectangle::Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b) {
    const float x = std::max(a.m_x, b.m_x);
    const float y = std::max(a.m_y, b.m_y);
    const float right = std::min(a.GetRight(), b.GetRight());
    const float top = std::min(a.GetTop(), b.GetTop());
    out = NRectangle(x, y, right - x, top - y);
    return out.IsValid();
}

void NRectangle::Write(Core::File& file) const { Math::WriteFloats(file, {m_x, m_y, m_width, m_height}); }

void NRectangle::Read(Core::File& file) {
    NRectangle read = *this;
    Math::ReadFloats(file, read.m_x, read.m_y, read.m_width, read.m_height);
    if (!file.HasFailed()) {
        *this = read;
    }
}

}  // namespace GUI
