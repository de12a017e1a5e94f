#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <optional>

// The engine's small-integer enumerations and the OpenGL constants they
// stand for. A value out of range maps to a fixed fall-back.
namespace Renderer {

// Primitive types (anything else draws nothing).
constexpr std::int32_t kPointList = 0;
constexpr std::int32_t kLineList = 1;
constexpr std::int32_t kLineStrip = 2;
constexpr std::int32_t kTriangleList = 4;
constexpr std::int32_t kTriangleStrip = 5;
constexpr std::int32_t kTriangleFan = 6;

// 0 never, 1 less, 2 equal, 3 less or equal, 4 greater, 5 greater or
// equal, 6 not equal, 7 always; else never.
GLenum CompareFunction(std::int32_t value);
// 0 zero, 1 one, 2 source colour, 3 one minus source colour, 4 destination
// colour, 5 one minus destination colour, 6 source alpha, 7 one minus
// source alpha, 8 destination alpha, 9 one minus destination alpha,
// 10 source alpha saturate; else zero.
GLenum BlendFactor(std::int32_t value);
// 0 keep, 1 zero, 2 replace, 3 increment, 4 decrement, 5 invert; else keep.
GLenum StencilOperation(std::int32_t value);
// 0 linear, 1 exponential, else exponential squared.
GLenum FogMode(std::int32_t value);
// 0 points, 1 lines, else fill.
GLenum FillingMode(std::int32_t value);
// 1 smooth, else flat.
GLenum ShadingMode(std::int32_t value);
// 0 replace, 1 decal, 2 modulate, else blend.
GLenum TextureEnvironmentMode(std::int32_t value);
// 0 repeat, 1 clamp, 2 clamp to edge, 3 clamp to border, else clamp.
GLenum TextureWrap(std::int32_t value);

// Filter 0 nearest, 1 linear (each with mipmaps when the texture has them),
// else nearest without mipmaps.
struct TextureFilters {
    GLenum magnification;
    GLenum minification;
};
TextureFilters TextureFilter(std::int32_t value, bool mipmapped);

// The OpenGL mode of a primitive type; nothing for 3, negative types and
// types above 6, which draw nothing.
std::optional<GLenum> PrimitiveMode(std::int32_t type);
// Vertices that `primitives` primitives of the type take: n points, 2n line
// vertices, n + 1 for a strip of lines, 3n triangle vertices, n + 2 for a
// strip or fan of triangles. 0 when nothing would be drawn or the count does
// not fit a 32-bit int.
std::int32_t VertexCount(std::int32_t type, std::int32_t primitives);

}  // namespace Renderer
