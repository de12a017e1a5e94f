#include "Renderer_OffscreenFixture.h"

#include "renderer/Renderer_States.h"
#include "Renderer_FakeTexture.h"

#include <GL/glext.h>

#include <array>

// Each render-state Set reaches OpenGL; read back with glGet and glIsEnabled.
namespace {

using namespace Renderer;

class OGLStates : public testsupport::OffscreenRendererTest {};

GLfloat Float(GLenum name) {
    GLfloat value = 0.0f;
    glGetFloatv(name, &value);
    return value;
}

std::array<GLfloat, 4> Floats4(GLenum name) {
    std::array<GLfloat, 4> values{};
    glGetFloatv(name, values.data());
    return values;
}

TEST_F(OGLStates, BlendingMapsFactorsAndFallsBackToZero) {
    AlphaBlendingState blending;
    blending.sourceFactor = 2;
    blending.destinationFactor = 9;
    blending.enabled = true;
    blending.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_COLOR);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE_MINUS_DST_ALPHA);

    blending.sourceFactor = 12;
    blending.destinationFactor = -1;
    blending.Apply(Renderer());
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_ZERO);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ZERO);
    AlphaBlendingState read;
    read.Capture(Renderer());
    EXPECT_EQ(read.sourceFactor, 12);
    EXPECT_EQ(read.destinationFactor, -1);
}

TEST_F(OGLStates, StencilStateRoundTripsAndSwitchesTheTestOn) {
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
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(Integer(GL_STENCIL_FUNC), GL_GEQUAL);
    EXPECT_EQ(Integer(GL_STENCIL_FAIL), GL_INCR);
    EXPECT_EQ(Integer(GL_STENCIL_PASS_DEPTH_FAIL), GL_DECR);
    EXPECT_EQ(Integer(GL_STENCIL_PASS_DEPTH_PASS), GL_REPLACE);
    EXPECT_EQ(Integer(GL_STENCIL_REF), 6);
    EXPECT_EQ(Integer(GL_STENCIL_VALUE_MASK), 0x3F);
    EXPECT_EQ(Integer(GL_STENCIL_WRITEMASK), 0x0F);

    StencilBufferState read;
    read.Capture(Renderer());
    EXPECT_EQ(read.compareFunction, 5);
    EXPECT_EQ(read.stencilFailOperation, 3);
    EXPECT_EQ(read.depthFailOperation, 4);
    EXPECT_EQ(read.depthPassOperation, 2);
    EXPECT_EQ(read.reference, 6);
    EXPECT_EQ(read.compareMask, 0x3Fu);
    EXPECT_EQ(read.writeMask, 0x0Fu);
    EXPECT_TRUE(read.enabled);
}

TEST_F(OGLStates, FixedFunctionSwitchesAndValuesReachOpenGL) {
    DepthBufferState depth;
    depth.compareFunction = 3;
    depth.writeEnabled = false;
    depth.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_FALSE);

    CullingState culling;
    culling.face = 5;
    culling.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(Integer(GL_CULL_FACE_MODE), GL_FRONT);

    AlphaTestingState alpha;
    alpha.compareFunction = 4;
    alpha.reference = 0.5f;
    alpha.enabled = true;
    alpha.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(Integer(GL_ALPHA_TEST_FUNC), GL_GREATER);
    EXPECT_EQ(Float(GL_ALPHA_TEST_REF), 0.5f);

    FogState fog;
    fog.mode = 9;
    fog.color = {0.5f, 0.25f, 0.0f, 1.0f};
    fog.start = 2.0f;
    fog.end = 20.0f;
    fog.density = 0.125f;
    fog.enabled = true;
    fog.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(Integer(GL_FOG_MODE), GL_EXP2);
    EXPECT_EQ(Floats4(GL_FOG_COLOR), (std::array<GLfloat, 4>{0.5f, 0.25f, 0.0f, 1.0f}));
    EXPECT_EQ(Float(GL_FOG_START), 2.0f);
    EXPECT_EQ(Float(GL_FOG_END), 20.0f);
    EXPECT_EQ(Float(GL_FOG_DENSITY), 0.125f);

    ScissorState scissor;
    scissor.x = 3;
    scissor.y = 4;
    scissor.width = 10;
    scissor.height = 11;
    scissor.enabled = true;
    scissor.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    EXPECT_EQ(box, (std::array<GLint, 4>{3, 4, 10, 11}));

    ColorMaskState mask;
    mask.green = false;
    mask.alpha = false;
    mask.Apply(Renderer());
    std::array<GLboolean, 4> written{};
    glGetBooleanv(GL_COLOR_WRITEMASK, written.data());
    EXPECT_EQ(written, (std::array<GLboolean, 4>{GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE}));

    FillingState filling;
    filling.mode = 1;
    filling.Apply(Renderer());
    std::array<GLint, 2> polygonModes{};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes.data());
    EXPECT_EQ(polygonModes[0], GL_LINE);

    ShadingState shading;
    shading.mode = 0;
    shading.Apply(Renderer());
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);

    TriangleOffsetState offset;
    offset.factor = 1.5f;
    offset.units = 2.0f;
    offset.enabled = true;
    offset.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    EXPECT_EQ(Float(GL_POLYGON_OFFSET_FACTOR), 1.5f);
    EXPECT_EQ(Float(GL_POLYGON_OFFSET_UNITS), 2.0f);

    DitheringState dithering;
    dithering.enabled = false;
    dithering.Apply(Renderer());
    EXPECT_FALSE(glIsEnabled(GL_DITHER));
    NormalizeNormalsState normalize;
    normalize.enabled = true;
    normalize.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));

    LineState line;
    line.width = 3.0f;
    line.Apply(Renderer());
    EXPECT_EQ(Float(GL_LINE_WIDTH), 3.0f);
    PointState point;
    point.size = 4.0f;
    point.Apply(Renderer());
    EXPECT_EQ(Float(GL_POINT_SIZE), 4.0f);

    LightingState lighting;
    lighting.ambient = {0.1f, 0.2f, 0.3f, 0.4f};
    lighting.localViewer = false;
    lighting.enabled = true;
    lighting.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(Integer(GL_LIGHT_MODEL_LOCAL_VIEWER), 0);
    EXPECT_EQ(Floats4(GL_LIGHT_MODEL_AMBIENT), (std::array<GLfloat, 4>{0.1f, 0.2f, 0.3f, 0.4f}));

    Material material;
    material.diffuse = {0.5f, 0.5f, 0.25f, 1.0f};
    material.shininess = 16.0f;
    material.Apply(Renderer());
    std::array<GLfloat, 4> diffuse{};
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, diffuse.data());
    EXPECT_EQ(diffuse, (std::array<GLfloat, 4>{0.5f, 0.5f, 0.25f, 1.0f}));
    GLfloat shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 16.0f);

    // Put back what the suite's later tests expect to find.
    DitheringState().Apply(Renderer());
    NormalizeNormalsState().Apply(Renderer());
    LineState().Apply(Renderer());
    PointState().Apply(Renderer());
    ShadingState().Apply(Renderer());
    TriangleOffsetState().Apply(Renderer());
}

TEST_F(OGLStates, TexturingWithoutATextureChangesOnlyTheCache) {
    TextureUnit0State unit;
    unit.enabled = true;
    unit.filter = 1;
    unit.Apply(Renderer());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    TextureUnit0State read;
    read.Capture(Renderer());
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.filter, 1);
}

TEST_F(OGLStates, TexturingWithATextureSetsItsParametersOnTheActiveUnit) {
    GLuint name = 0;
    glGenTextures(1, &name);
    Renderer().SetTexture(1, Core::RefPtr<ITexture>(TUN_NEW(testsupport::FakeTexture, 8, 8, name, true)));
    TextureUnit1State unit;
    unit.environmentMode = 2;
    unit.filter = 1;
    unit.wrapS = 2;
    unit.wrapT = 3;
    unit.enabled = true;
    unit.coordinateGeneration = 1;
    unit.Apply(Renderer());
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_BORDER);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    for (const GLenum generation : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q}) {
        EXPECT_TRUE(glIsEnabled(generation)) << generation;
    }
    glGetTexGeniv(GL_Q, GL_TEXTURE_GEN_MODE, &value);
    EXPECT_EQ(value, GL_EYE_LINEAR);

    unit.coordinateGeneration = 0;
    unit.enabled = false;
    unit.filter = 7;
    unit.Apply(Renderer());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_Q));
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);

    // A unit beyond the eight with their own state still goes through unit selection.
    TextureUnit3State three;
    three.Apply(Renderer());
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(Renderer().GetActiveTextureUnit(), 3u);
    Renderer().SetTexture(1, nullptr);
    glDeleteTextures(1, &name);
}

TEST_F(OGLStates, OneDimensionalGenerationUsesTheStoredPlane) {
    GLuint name = 0;
    glGenTextures(1, &name);
    Renderer().SetTexture(0, Core::RefPtr<ITexture>(TUN_NEW(testsupport::FakeTexture, 8, 1, name, false, 0)));
    Renderer().StoreColor({0.5f, 0.0f, 0.0f, 0.25f});
    TextureUnit0State unit;
    unit.oneDimensional = true;
    unit.coordinateGeneration = 1;
    unit.enabled = true;
    unit.Apply(Renderer());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    std::array<GLfloat, 4> plane{};
    glGetTexGenfv(GL_S, GL_OBJECT_PLANE, plane.data());
    EXPECT_EQ(plane, (std::array<GLfloat, 4>{0.5f, 0.0f, 0.0f, 0.25f}));
    unit.coordinateGeneration = 0;
    unit.enabled = false;
    unit.Apply(Renderer());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    Renderer().SetTexture(0, nullptr);
    glDeleteTextures(1, &name);
}

}  // namespace
