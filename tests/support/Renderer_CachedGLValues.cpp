#include "support/Renderer_CachedGLValues.h"

#include "renderer/Renderer_Enumerations.h"
#include "renderer/Renderer_States.h"

#include <initializer_list>

namespace testsupport {

// What OpenGL should hold for each cached state, in glGetFloatv's terms.
std::vector<OffscreenRendererTest::GLValue> CachedGLValues(Renderer::OGLRenderer& renderer) {
    using namespace Renderer;
    const auto on = [](bool value) { return std::vector<GLfloat>{value ? 1.0f : 0.0f}; };
    const auto named = [](GLenum value) { return std::vector<GLfloat>{static_cast<GLfloat>(value)}; };
    const auto rgba = [](const Color& c) { return std::vector<GLfloat>{c.r, c.g, c.b, c.a}; };
    DepthBufferState depth;
    CullingState culling;
    AlphaBlendingState blending;
    AlphaTestingState alphaTest;
    StencilBufferState stencil;
    FogState fog;
    ScissorState scissor;
    ColorMaskState mask;
    ShadingState shading;
    FillingState filling;
    TriangleOffsetState offset;
    DitheringState dithering;
    PointState point;
    LineState line;
    LightingState lighting;
    NormalizeNormalsState normalize;
    for (State* state : std::initializer_list<State*>{&depth, &culling, &blending, &alphaTest, &stencil, &fog,
                                                      &scissor, &mask, &shading, &filling, &offset, &dithering,
                                                      &point, &line, &lighting, &normalize}) {
        state->Capture(renderer);
    }
    return {{GL_DEPTH_TEST, on(depth.enabled)},
            {GL_DEPTH_WRITEMASK, on(depth.writeEnabled)},
            {GL_DEPTH_FUNC, named(CompareFunction(depth.compareFunction))},
            {GL_CULL_FACE, on(culling.enabled)},
            {GL_CULL_FACE_MODE, named(culling.face != 0 ? GL_FRONT : GL_BACK)},
            {GL_BLEND, on(blending.enabled)},
            {GL_BLEND_SRC, named(BlendFactor(blending.sourceFactor))},
            {GL_BLEND_DST, named(BlendFactor(blending.destinationFactor))},
            {GL_ALPHA_TEST, on(alphaTest.enabled)},
            {GL_ALPHA_TEST_FUNC, named(CompareFunction(alphaTest.compareFunction))},
            {GL_ALPHA_TEST_REF, {alphaTest.reference}},
            {GL_STENCIL_TEST, on(stencil.enabled)},
            {GL_STENCIL_FUNC, named(CompareFunction(stencil.compareFunction))},
            {GL_STENCIL_FAIL, named(StencilOperation(stencil.stencilFailOperation))},
            {GL_STENCIL_PASS_DEPTH_FAIL, named(StencilOperation(stencil.depthFailOperation))},
            {GL_STENCIL_PASS_DEPTH_PASS, named(StencilOperation(stencil.depthPassOperation))},
            {GL_STENCIL_REF, {static_cast<GLfloat>(stencil.reference)}},
            {GL_FOG, on(fog.enabled)},
            {GL_FOG_MODE, named(FogMode(fog.mode))},
            {GL_FOG_COLOR, rgba(fog.color)},
            {GL_FOG_DENSITY, {fog.density}},
            {GL_FOG_START, {fog.start}},
            {GL_FOG_END, {fog.end}},
            {GL_SCISSOR_TEST, on(scissor.enabled)},
            {GL_SCISSOR_BOX, {GLfloat(scissor.x), GLfloat(scissor.y), GLfloat(scissor.width), GLfloat(scissor.height)}},
            {GL_COLOR_WRITEMASK, {GLfloat(mask.red), GLfloat(mask.green), GLfloat(mask.blue), GLfloat(mask.alpha)}},
            {GL_SHADE_MODEL, named(ShadingMode(shading.mode))},
            {GL_POLYGON_MODE, {GLfloat(FillingMode(filling.mode)), GLfloat(FillingMode(filling.mode))}},
            {GL_POLYGON_OFFSET_FILL, on(offset.enabled)},
            {GL_POLYGON_OFFSET_FACTOR, {offset.factor}},
            {GL_POLYGON_OFFSET_UNITS, {offset.units}},
            {GL_DITHER, on(dithering.enabled)},
            {GL_POINT_SIZE, {point.size}},
            {GL_LINE_WIDTH, {line.width}},
            {GL_LIGHTING, on(lighting.enabled)},
            {GL_LIGHT_MODEL_LOCAL_VIEWER, on(lighting.localViewer)},
            {GL_LIGHT_MODEL_AMBIENT, rgba(lighting.ambient)},
            {GL_NORMALIZE, on(normalize.enabled)},
            {GL_LINE_STIPPLE, on(renderer.IsLineStippleEnabled())},
            {GL_LINE_STIPPLE_PATTERN, {static_cast<GLfloat>(renderer.GetLineStipplePattern())}},
            {GL_LINE_STIPPLE_REPEAT, {static_cast<GLfloat>(renderer.GetLineStippleFactor())}},
            {GL_CURRENT_COLOR, rgba(renderer.GetCurrentColor())}};
}

}  // namespace testsupport
