#include "renderer/Renderer_Enumerations.h"

#include <array>
#include <limits>

namespace Renderer {
namespace {

// The table entry for value, or the fall-back when it lies outside the table.
template <std::size_t N>
GLenum Lookup(const std::array<GLenum, N>& table, std::int32_t value, GLenum fallback) {
    return value >= 0 && static_cast<std::size_t>(value) < N ? table[static_cast<std::size_t>(value)] : fallback;
}

}  // namespace

GLenum CompareFunction(std::int32_t value) {
    static constexpr std::array<GLenum, 8> kTable{GL_NEVER,   GL_LESS,   GL_EQUAL,    GL_LEQUAL,
                                                  GL_GREATER, GL_GEQUAL, GL_NOTEQUAL, GL_ALWAYS};
    return Lookup(kTable, value, GL_NEVER);
}

GLenum BlendFactor(std::int32_t value) {
    static constexpr std::array<GLenum, 11> kTable{
        GL_ZERO,      GL_ONE,           GL_SRC_COLOR,           GL_ONE_MINUS_SRC_COLOR,
        GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA,     GL_ONE_MINUS_SRC_ALPHA,
        GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE};
    return Lookup(kTable, value, GL_ZERO);
}

GLenum StencilOperation(std::int32_t value) {
    static constexpr std::array<GLenum, 6> kTable{GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT};
    return Lookup(kTable, value, GL_KEEP);
}

GLenum FogMode(std::int32_t value) { return Lookup(std::array<GLenum, 2>{GL_LINEAR, GL_EXP}, value, GL_EXP2); }

GLenum FillingMode(std::int32_t value) { return Lookup(std::array<GLenum, 2>{GL_POINT, GL_LINE}, value, GL_FILL); }

GLenum ShadingMode(std::int32_t value) { return value == 1 ? GL_SMOOTH : GL_FLAT; }

GLenum TextureEnvironmentMode(std::int32_t value) {
    return Lookup(std::array<GLenum, 3>{GL_REPLACE, GL_DECAL, GL_MODULATE}, value, GL_BLEND);
}

GLenum TextureWrap(std::int32_t value) {
    static constexpr std::array<GLenum, 4> kTable{GL_REPEAT, GL_CLAMP, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER};
    return Lookup(kTable, value, GL_CLAMP);
}

TextureFilters TextureFilter(std::int32_t value, bool mipmapped) {
    switch (value) {
        case 0: return {GL_NEAREST, static_cast<GLenum>(mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST)};
        case 1: return {GL_LINEAR, static_cast<GLenum>(mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR)};
        default: return {GL_NEAREST, GL_NEAREST};
    }
}

std::optional<GLenum> PrimitiveMode(std::int32_t type) {
    switch (type) {
        case kPointList: return GL_POINTS;
        case kLineList: return GL_LINES;
        case kLineStrip: return GL_LINE_STRIP;
        case kTriangleList: return GL_TRIANGLES;
        case kTriangleStrip: return GL_TRIANGLE_STRIP;
        case kTriangleFan: return GL_TRIANGLE_FAN;
        default: return std::nullopt;
    }
}

std::int32_t VertexCount(std::int32_t type, std::int32_t primitives) {
    if (!PrimitiveMode(type) || primitives <= 0) {
        return 0;
    }
    const std::int64_t n = primitives;
    std::int64_t count = 0;
    switch (type) {
        case kPointList: count = n; break;
        case kLineList: count = 2 * n; break;
        case kLineStrip: count = n + 1; break;
        case kTriangleList: count = 3 * n; break;
        default: count = n + 2; break;
    }
    return count <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(count) : 0;
}

}  // namespace Renderer
