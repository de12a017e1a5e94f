#include "support/Renderer_FakeTexture.h"
#include "support/Renderer_OffscreenFixture.h"

#include "renderer/Renderer_States.h"

#include <GL/glext.h>

#include <array>
#include <initializer_list>
#include <utility>

// Each render-state Set reaches OpenGL; read back with glGet.
namespace {

using namespace Renderer;

class OGLStates : public testsupport::OffscreenRendererTest {};

// Out-of-range enumerations fall back: blend factors to zero, fog to exp2.
TEST_F(OGLStates, BlendingAndStencilMapTheirEnumerationsAndTheCacheKeepsACopy) {
    ApplyState<AlphaBlendingState>([](auto& s) { s.sourceFactor = 2; s.destinationFactor = 9; s.enabled = true; });
    ExpectGL({{GL_BLEND, {1}}, {GL_BLEND_SRC, {GL_SRC_COLOR}}, {GL_BLEND_DST, {GL_ONE_MINUS_DST_ALPHA}}});
    ApplyState<AlphaBlendingState>([](auto& s) { s.sourceFactor = 12; s.destinationFactor = -1; });
    ExpectGL({{GL_BLEND_SRC, {GL_ZERO}}, {GL_BLEND_DST, {GL_ZERO}}});

    StencilBufferState stencil;
    stencil.compareFunction = 5;
    stencil.stencilFailOperation = 3;
    stencil.depthFailOperation = 4;
    stencil.depthPassOperation = 2;
    stencil.reference = 6;
    stencil.compareMask = 0x3F;
    stencil.writeMask = 0x0F;
    stencil.enabled = true;
    stencil.Apply(Renderer());
    ExpectGL({{GL_STENCIL_TEST, {1}}, {GL_STENCIL_FUNC, {GL_GEQUAL}}, {GL_STENCIL_FAIL, {GL_INCR}},
              {GL_STENCIL_PASS_DEPTH_FAIL, {GL_DECR}}, {GL_STENCIL_PASS_DEPTH_PASS, {GL_REPLACE}},
              {GL_STENCIL_REF, {6}}, {GL_STENCIL_VALUE_MASK, {0x3F}}, {GL_STENCIL_WRITEMASK, {0x0F}}});
    // The renderer keeps a copy: the object changed afterwards changes nothing there.
    stencil.reference = 99;
    StencilBufferState read;
    read.Capture(Renderer());
    EXPECT_TRUE(read.reference == 6 && read.compareMask == 0x3F && read.depthFailOperation == 4 && read.enabled);
}

TEST_F(OGLStates, FixedFunctionSwitchesAndValuesReachOpenGL) {
    ApplyState<DepthBufferState>([](auto& s) { s.compareFunction = 3; s.writeEnabled = false; });
    ExpectGL({{GL_DEPTH_TEST, {1}}, {GL_DEPTH_FUNC, {GL_LEQUAL}}, {GL_DEPTH_WRITEMASK, {0}}});
    ApplyState<CullingState>([](auto& s) { s.face = 5; });
    ExpectGL({{GL_CULL_FACE, {1}}, {GL_CULL_FACE_MODE, {GL_FRONT}}});
    ApplyState<AlphaTestingState>([](auto& s) { s.compareFunction = 4; s.reference = 0.5f; s.enabled = true; });
    ExpectGL({{GL_ALPHA_TEST, {1}}, {GL_ALPHA_TEST_FUNC, {GL_GREATER}}, {GL_ALPHA_TEST_REF, {0.5f}}});
    ApplyState<FogState>([](auto& s) {
        s.mode = 9;
        s.color = {0.5f, 0.25f, 0.0f, 1.0f};
        s.start = 2.0f;
        s.end = 20.0f;
        s.density = 0.125f;
        s.enabled = true;
    });
    ExpectGL({{GL_FOG, {1}}, {GL_FOG_MODE, {GL_EXP2}}, {GL_FOG_COLOR, {0.5f, 0.25f, 0.0f, 1.0f}},
              {GL_FOG_START, {2.0f}}, {GL_FOG_END, {20.0f}}, {GL_FOG_DENSITY, {0.125f}}});
    ApplyState<ScissorState>([](auto& s) { s.x = 3; s.y = 4; s.width = 10; s.height = 11; s.enabled = true; });
    ExpectGL({{GL_SCISSOR_TEST, {1}}, {GL_SCISSOR_BOX, {3, 4, 10, 11}}});
    ApplyState<ColorMaskState>([](auto& s) { s.green = false; s.alpha = false; });
    ExpectGL({{GL_COLOR_WRITEMASK, {1, 0, 1, 0}}});
    ApplyState<FillingState>([](auto& s) { s.mode = 1; });
    ApplyState<ShadingState>([](auto& s) { s.mode = 0; });
    ExpectGL({{GL_POLYGON_MODE, {GL_LINE}}, {GL_SHADE_MODEL, {GL_FLAT}}});
    ApplyState<TriangleOffsetState>([](auto& s) { s.factor = 1.5f; s.units = 2.0f; s.enabled = true; });
    ExpectGL({{GL_POLYGON_OFFSET_FILL, {1}}, {GL_POLYGON_OFFSET_FACTOR, {1.5f}},
              {GL_POLYGON_OFFSET_UNITS, {2.0f}}});
    ApplyState<DitheringState>([](auto& s) { s.enabled = false; });
    ApplyState<NormalizeNormalsState>([](auto& s) { s.enabled = true; });
    ApplyState<LineState>([](auto& s) { s.width = 3.0f; });
    ApplyState<PointState>([](auto& s) { s.size = 4.0f; });
    ExpectGL({{GL_DITHER, {0}}, {GL_NORMALIZE, {1}}, {GL_LINE_WIDTH, {3.0f}}, {GL_POINT_SIZE, {4.0f}}});
    ApplyState<LightingState>([](auto& s) {
        s.ambient = {0.1f, 0.2f, 0.3f, 0.4f};
        s.localViewer = false;
        s.enabled = true;
    });
    ExpectGL({{GL_LIGHTING, {1}}, {GL_LIGHT_MODEL_LOCAL_VIEWER, {0}},
              {GL_LIGHT_MODEL_AMBIENT, {0.1f, 0.2f, 0.3f, 0.4f}}});

    ApplyState<Material>([](auto& s) { s.diffuse = {0.5f, 0.5f, 0.25f, 1.0f}; s.shininess = 16.0f; });
    std::array<GLfloat, 4> diffuse{};
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, diffuse.data());
    EXPECT_EQ(diffuse, (std::array<GLfloat, 4>{0.5f, 0.5f, 0.25f, 1.0f}));
    GLfloat shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 16.0f);
}

// Texture parameters go to the texture bound on the unit.
TEST_F(OGLStates, TexturingWithATextureSetsItsParametersOnTheActiveUnit) {
    GLuint name = 0;
    glGenTextures(1, &name);
    Renderer().SetTexture(1, Core::RefPtr<ITexture>(TUN_NEW(testsupport::FakeTexture, 8, 8, name, true)));
    const auto expectParameters = [](std::initializer_list<std::pair<GLenum, GLint>> parameters) {
        for (const auto& [parameter, expected] : parameters) {
            GLint value = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
            EXPECT_EQ(value, expected) << "parameter 0x" << std::hex << parameter;
        }
    };
    ApplyState<TextureUnit1State>([](auto& s) {
        s.environmentMode = 2;
        s.filter = 1;
        s.wrapS = 2;
        s.wrapT = 3;
        s.enabled = true;
        s.coordinateGeneration = 1;
    });
    ExpectGL({{GL_ACTIVE_TEXTURE, {GL_TEXTURE1}}, {GL_TEXTURE_2D, {1}}, {GL_TEXTURE_GEN_S, {1}},
              {GL_TEXTURE_GEN_T, {1}}, {GL_TEXTURE_GEN_R, {1}}, {GL_TEXTURE_GEN_Q, {1}}});
    expectParameters({{GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR}, {GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                      {GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE}, {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER}});
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexGeniv(GL_Q, GL_TEXTURE_GEN_MODE, &value);
    EXPECT_EQ(value, GL_EYE_LINEAR);

    ApplyState<TextureUnit1State>([](auto& s) { s.filter = 7; });
    ExpectGL({{GL_TEXTURE_2D, {0}}, {GL_TEXTURE_GEN_S, {0}}, {GL_TEXTURE_GEN_Q, {0}}});
    expectParameters({{GL_TEXTURE_MIN_FILTER, GL_NEAREST}});
    Renderer().SetTexture(1, nullptr);
    glDeleteTextures(1, &name);

    // A unit without a texture is still selected, and texturing stays off there.
    ApplyState<TextureUnit3State>([](auto& s) { s.enabled = true; });
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(Renderer().GetActiveTextureUnit(), 3u);
    ExpectGL({{GL_TEXTURE_2D, {0}}});
}

}  // namespace
