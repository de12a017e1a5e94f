#include "support/Renderer_FakeTexture.h"
#include "support/Renderer_OffscreenFixture.h"

#include "renderer/Renderer_Buffer.h"
#include "renderer/Renderer_Light.h"

#include <GL/glext.h>

#include <array>
#include <climits>
#include <numeric>

// Draw calls, arrays, textures per unit, lights, matrices, the viewport and
// clears, checked against what OpenGL holds and draws.
namespace {

using namespace Renderer;
using testsupport::FakeTexture;

class OGLDrawing : public testsupport::OffscreenRendererTest {};

std::set<int> Range(int first, int last) {
    std::set<int> values;
    for (int v = first; v <= last; ++v) {
        values.insert(v);
    }
    return values;
}

class ClientIndexBuffer : public Buffer {
public:
    explicit ClientIndexBuffer(const std::uint16_t* indices) : m_indices(indices) {}
    bool HasIndices32() const override { return false; }
    void Bind() override {}
    void Unbind() override {}
    const void* GetIndexAddress() const override { return m_indices; }

private:
    const std::uint16_t* m_indices;
};

TEST_F(OGLDrawing, DrawArraysTakesTheVertexCountOfItsPrimitives) {
    Renderer().SetVertexArray(VertexGrid());
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawArrays(kLineStrip, 0, 5); }), Range(0, 5));
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawArrays(kTriangleStrip, 0, 1); }), Range(0, 2));
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawArrays(kTriangleFan, 2, 2); }), Range(2, 5));
    EXPECT_EQ(Primitives([] { Renderer().DrawArrays(kTriangleList, 3, 2); }).size(), 2u);
    EXPECT_EQ(Primitives([] { Renderer().DrawArrays(kLineList, 0, 3); }).size(), 3u);
    EXPECT_TRUE(Primitives([] { Renderer().DrawArrays(3, 0, 5); }).empty());
    EXPECT_TRUE(Primitives([] { Renderer().DrawArrays(kLineStrip, -1, 5); }).empty());
    // More vertices than an int holds: nothing, not a wrapped count (3 x 0x55555557 wraps to 5).
    EXPECT_TRUE(Primitives([] { Renderer().DrawArrays(kTriangleList, 0, 0x55555557); }).empty());
    EXPECT_TRUE(Primitives([] { Renderer().DrawArrays(kTriangleStrip, 0, INT_MAX); }).empty());

    // And the points reach the frame: one pixel each.
    Renderer().DrawArrays(kPointList, 0, 5);
    EXPECT_EQ(CountLitPixels(), 5);
}

TEST_F(OGLDrawing, DrawIndexRangeDrawsThePositionsOfTheIndexArray) {
    std::array<std::uint16_t, 16> indices{};
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint16_t>(20 - i);
    }
    Renderer().SetVertexArray(VertexGrid());
    Renderer().SetPrimitiveType(kPointList);
    Renderer().SetIndexArray16(indices.data());
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawIndexRange(4, 9); }), Range(11, 16));
    // A following Draw starts again at element 0.
    EXPECT_EQ(VerticesUsed([] { Renderer().Draw(3); }), Range(18, 20));

    std::array<std::uint32_t, 16> wide{};
    std::iota(wide.begin(), wide.end(), 10u);
    Renderer().SetIndexArray32(wide.data());
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawIndexRange(1, 2); }), Range(11, 12));

    Renderer().SetIndexArray16(nullptr);
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawIndexRange(4, 9); }), Range(4, 9));
    EXPECT_EQ(VerticesUsed([] { Renderer().Draw(2); }), Range(0, 1));
    EXPECT_TRUE(Primitives([] { Renderer().DrawIndexRange(9, 4); }).empty());
    EXPECT_TRUE(Primitives([] { Renderer().DrawIndexRange(-2, 1); }).empty());
    EXPECT_TRUE(Primitives([] { Renderer().Draw(0); }).empty());
    Renderer().SetPrimitiveType(7);
    EXPECT_TRUE(Primitives([] { Renderer().Draw(4); }).empty());
    Renderer().SetPrimitiveType(kPointList);
    Renderer().SetVertexArray(nullptr);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(Primitives([] { Renderer().Draw(4); }).empty());
}

TEST_F(OGLDrawing, DrawElementsReadsTheBoundIndexBuffer) {
    const std::array<std::uint16_t, 6> indices{9, 8, 7, 6, 5, 4};
    Renderer().SetVertexArray(VertexGrid());
    EXPECT_TRUE(Primitives([] { Renderer().DrawElements(kPointList, 0, 3); }).empty()) << "no buffer bound";
    Renderer().BindIndexBuffer(Core::RefPtr<Buffer>(TUN_NEW(ClientIndexBuffer, indices.data())));
    EXPECT_EQ(VerticesUsed([] { Renderer().DrawElements(kPointList, 2, 3); }), Range(5, 7));
    Renderer().BindIndexBuffer(nullptr);
}

TEST_F(OGLDrawing, TexturesBindByDimensionAndAnEmptyUnitBindsNothing) {
    GLuint names[2] = {};
    glGenTextures(2, names);
    const Core::RefPtr<ITexture> flat(TUN_NEW(FakeTexture, 4, 4, names[0]));
    const Core::RefPtr<ITexture> line(TUN_NEW(FakeTexture, 4, 1, names[1], false, 0));
    Renderer().SetTexture(2, flat);
    Renderer().SetTexture(2, line);
    ExpectGL({{GL_ACTIVE_TEXTURE, {GL_TEXTURE2}},
              {GL_TEXTURE_BINDING_2D, {static_cast<GLfloat>(names[0])}},
              {GL_TEXTURE_BINDING_1D, {static_cast<GLfloat>(names[1])}}});
    Renderer().SetTexture(2, nullptr);
    ExpectGL({{GL_TEXTURE_BINDING_2D, {0}}, {GL_TEXTURE_BINDING_1D, {0}}});
    glDeleteTextures(2, names);

    // Client arrays are switched per unit.
    Renderer().SetTexCoordArray(3, VertexGrid());
    Renderer().SetSecondaryColorArray(VertexGrid());
    Renderer().SetColorArray(VertexGrid());
    ExpectGL({{GL_CLIENT_ACTIVE_TEXTURE, {GL_TEXTURE3}}, {GL_TEXTURE_COORD_ARRAY, {1}},
              {GL_SECONDARY_COLOR_ARRAY, {1}}, {GL_COLOR_ARRAY, {1}}});
    Renderer().SetSecondaryColorArray(nullptr);
    ExpectGL({{GL_SECONDARY_COLOR_ARRAY, {0}}});
}

TEST_F(OGLDrawing, MatricesViewportAndClearsReachOpenGL) {
    const Matrix4 world = Matrix4::Translation(3.0f, 4.0f, 0.0f);
    const Matrix4 view = Matrix4::RotationZ(90.0f);
    Renderer().SetViewMatrix(view);
    Renderer().SetWorldMatrix(world);
    std::array<GLfloat, 16> loaded{};
    glGetFloatv(GL_MODELVIEW_MATRIX, loaded.data());
    const Matrix4 expected = view * world;
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(loaded[static_cast<std::size_t>(i)], expected[i], 1e-6f) << i;
    }
    Renderer().SetTextureMatrix(2, Matrix4::Scaling(2.0f, 3.0f, 1.0f));
    glGetFloatv(GL_TEXTURE_MATRIX, loaded.data());
    EXPECT_EQ(loaded[5], 3.0f);
    ExpectGL({{GL_ACTIVE_TEXTURE, {GL_TEXTURE2}}, {GL_MATRIX_MODE, {GL_TEXTURE}}});
    // The viewport is read back from OpenGL, the depth range from the cache.
    Renderer().SetViewport({2, 3, 20, 10, 0.25f, 0.75f});
    glViewport(1, 1, 5, 5);
    EXPECT_EQ(Renderer().GetViewport(), (Viewport{1, 1, 5, 5, 0.25f, 0.75f}));

    Renderer().ClearBuffers({0.0f, 1.0f, 0.0f, 1.0f}, 0.5f, 7);
    Renderer().ClearColorBuffer({1.0f, 0.0f, 0.0f, 1.0f});
    Renderer().ClearStencilBuffer(2);
    EXPECT_EQ(PixelAt(3, 3), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    GLfloat depth = 0.0f;
    glReadPixels(3, 3, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.5f, 1e-3f);
    Renderer().ClearDepthBuffer(1.0f);
    glReadPixels(3, 3, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 1.0f, 1e-3f);
    GLint stencil = 0;
    glReadPixels(3, 3, 1, 1, GL_STENCIL_INDEX, GL_INT, &stencil);
    EXPECT_EQ(stencil, 2);

    Renderer().SetViewport({0, 0, kWidth, kHeight, 0.0f, 1.0f});
    Renderer().SetViewMatrix(Matrix4());
    Renderer().SetWorldMatrix(Matrix4());
    Renderer().SetCurrentColor({0.0f, 0.0f, 1.0f, 1.0f});
    Renderer().ClearColorBuffer({0.0f, 0.0f, 0.0f, 0.0f});
    Renderer().DrawRectangle(10.0f, 10.0f, 14.0f, 13.0f);
    EXPECT_EQ(CountLitPixels(), 12);
}

TEST_F(OGLDrawing, LineStippleAndLightsReachOpenGL) {
    Renderer().SetLineStippleEnabled(true);
    Renderer().SetLineStipplePattern(0x0F0F);
    Renderer().SetLineStippleFactor(3);
    ExpectGL({{GL_LINE_STIPPLE, {1}}, {GL_LINE_STIPPLE_PATTERN, {0x0F0F}}, {GL_LINE_STIPPLE_REPEAT, {3}}});
    Renderer().SetLineStippleEnabled(false);
    ExpectGL({{GL_LINE_STIPPLE, {0}}});

    const Core::RefPtr<DirectionalLight> sun(TUN_NEW(DirectionalLight));
    sun->direction = {0.0f, -1.0f, 0.0f};
    Renderer().SetLight(1, sun);
    ExpectGL({{GL_LIGHT1, {1}}});
    std::array<GLfloat, 4> position{};
    glGetLightfv(GL_LIGHT1, GL_POSITION, position.data());
    EXPECT_EQ(position, (std::array<GLfloat, 4>{0.0f, 1.0f, 0.0f, 0.0f}));

    const Core::RefPtr<SpotLight> spot(TUN_NEW(SpotLight));
    spot->position = {1.0f, 2.0f, 3.0f};
    spot->spotCutoff = 45.0f;
    Renderer().SetLight(2, spot);
    glGetLightfv(GL_LIGHT2, GL_POSITION, position.data());
    EXPECT_EQ(position, (std::array<GLfloat, 4>{1.0f, 2.0f, 3.0f, 1.0f}));
    GLfloat cutoff = 0.0f;
    glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_EQ(cutoff, 45.0f);

    // The base class is no kind of light; an empty slot is a light switched off.
    Renderer().SetLight(1, Core::RefPtr<Light>(TUN_NEW(Light)));
    ExpectGL({{GL_LIGHT1, {1}}});
    Renderer().SetLight(2, nullptr);
    ExpectGL({{GL_LIGHT2, {0}}});
    Renderer().SetLight(1, nullptr);
}

}  // namespace
