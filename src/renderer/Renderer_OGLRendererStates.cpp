#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_Enumerations.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_States.h"

#include <array>

// The render-state operations of the OpenGL renderer: each caches the state
// (CachingRenderer) and then issues its OpenGL calls from the cached copy.
namespace Renderer {

namespace gl = os::gl;

namespace {

const GLfloat* Floats(const Color& color) { return &color.r; }

}  // namespace

void OGLRenderer::SendCachedStates() {
    OGLRenderer::SetMaterial(*m_material);
    OGLRenderer::SetColorMaskState(*m_colorMask);
    OGLRenderer::SetScissorState(*m_scissor);
    OGLRenderer::SetAlphaBlendingState(*m_alphaBlending);
    OGLRenderer::SetAlphaTestingState(*m_alphaTesting);
    OGLRenderer::SetCullingState(*m_culling);
    OGLRenderer::SetFogState(*m_fog);
    OGLRenderer::SetFillingState(*m_filling);
    OGLRenderer::SetShadingState(*m_shading);
    OGLRenderer::SetDepthBufferState(*m_depthBuffer);
    OGLRenderer::SetStencilBufferState(*m_stencilBuffer);
    OGLRenderer::SetTriangleOffsetState(*m_triangleOffset);
    OGLRenderer::SetDitheringState(*m_dithering);
    OGLRenderer::SetPointState(*m_point);
    OGLRenderer::SetLineState(*m_line);
    OGLRenderer::SetLightingState(*m_lighting);
    OGLRenderer::SetNormalizeNormalsState(*m_normalizeNormals);
    OGLRenderer::SetLineStippleEnabled(m_lineStipple);
    OGLRenderer::SetLineStipplePattern(m_lineStipplePattern);
    OGLRenderer::SetCurrentColor(m_currentColor);
}

void OGLRenderer::SetMaterial(const Material& state) {
    CachingRenderer::SetMaterial(state);
    gl::Materialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Floats(m_material->ambient));
    gl::Materialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Floats(m_material->diffuse));
    gl::Materialfv(GL_FRONT_AND_BACK, GL_SPECULAR, Floats(m_material->specular));
    gl::Materialfv(GL_FRONT_AND_BACK, GL_EMISSION, Floats(m_material->emission));
    gl::Materialf(GL_FRONT_AND_BACK, GL_SHININESS, m_material->shininess);
}

void OGLRenderer::SetNormalizeNormalsState(const NormalizeNormalsState& state) {
    CachingRenderer::SetNormalizeNormalsState(state);
    m_switches.SetEnabled(GL_NORMALIZE, m_normalizeNormals->enabled);
}

void OGLRenderer::SetLightingState(const LightingState& state) {
    CachingRenderer::SetLightingState(state);
    m_switches.SetEnabled(GL_LIGHTING, m_lighting->enabled);
    gl::LightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, m_lighting->localViewer ? 1.0f : 0.0f);
    gl::LightModelfv(GL_LIGHT_MODEL_AMBIENT, Floats(m_lighting->ambient));
}

void OGLRenderer::SetTextureUnit7State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit7State(state);
    ApplyTextureUnitState(7);
}

void OGLRenderer::SetTextureUnit6State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit6State(state);
    ApplyTextureUnitState(6);
}

void OGLRenderer::SetTextureUnit5State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit5State(state);
    ApplyTextureUnitState(5);
}

void OGLRenderer::SetTextureUnit4State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit4State(state);
    ApplyTextureUnitState(4);
}

void OGLRenderer::SetTextureUnit3State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit3State(state);
    ApplyTextureUnitState(3);
}

void OGLRenderer::SetTextureUnit2State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit2State(state);
    ApplyTextureUnitState(2);
}

void OGLRenderer::SetTextureUnit1State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit1State(state);
    ApplyTextureUnitState(1);
}

void OGLRenderer::SetTextureUnit0State(const TexturingState& state) {
    CachingRenderer::SetTextureUnit0State(state);
    ApplyTextureUnitState(0);
}

void OGLRenderer::SelectDeviceUnit(std::uint32_t unit) {
    if (IsUnitSelectable(unit)) {
        m_switches.SelectUnit(unit);
    }
}

// The unit's state goes to the active unit (unit 0 when the unit cannot be
// selected), and only when that unit holds a texture.
void OGLRenderer::ApplyTextureUnitState(std::uint32_t unit) {
    SelectDeviceUnit(unit);
    const ITexture* texture = m_textures[m_activeTextureUnit].Get();
    if (texture == nullptr) {
        return;
    }
    const TexturingState& state = TextureUnitState(unit);
    const GLenum target = state.oneDimensional ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    const TextureFilters filters = TextureFilter(state.filter, texture->IsMipmapped());
    m_switches.SetEnabled(target, state.enabled);
    gl::TexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filters.magnification));
    gl::TexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filters.minification));
    gl::TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(TextureEnvironmentMode(state.environmentMode)));
    gl::TexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(TextureWrap(state.wrapS)));
    if (!state.oneDimensional) {
        gl::TexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(TextureWrap(state.wrapT)));
    }

    static constexpr std::array<GLenum, 4> kCoordinates{GL_S, GL_T, GL_R, GL_Q};
    static constexpr std::array<GLenum, 4> kGeneration{GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,
                                                       GL_TEXTURE_GEN_Q};
    const std::size_t generated = state.oneDimensional ? 1 : 4;
    if (state.coordinateGeneration != 1) {
        for (std::size_t i = 0; i < generated; ++i) {
            m_switches.SetEnabled(kGeneration[i], false);
        }
        return;
    }
    if (state.oneDimensional) {
        m_switches.SetEnabled(GL_TEXTURE_GEN_S, true);
        gl::TexGenfv(GL_S, GL_OBJECT_PLANE, Floats(m_texturePlane));
        gl::TexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        return;
    }
    // Eye-linear generation with the identity planes: coordinates follow eye space.
    static constexpr std::array<std::array<GLfloat, 4>, 4> kPlanes{
        {{1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}}};
    for (std::size_t i = 0; i < generated; ++i) {
        m_switches.SetEnabled(kGeneration[i], true);
        gl::TexGenfv(kCoordinates[i], GL_EYE_PLANE, kPlanes[i].data());
        gl::TexGeni(kCoordinates[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    }
}

void OGLRenderer::SetLineState(const LineState& state) {
    CachingRenderer::SetLineState(state);
    gl::LineWidth(m_line->width);
}

void OGLRenderer::SetPointState(const PointState& state) {
    CachingRenderer::SetPointState(state);
    gl::PointSize(m_point->size);
}

void OGLRenderer::SetDitheringState(const DitheringState& state) {
    CachingRenderer::SetDitheringState(state);
    m_switches.SetEnabled(GL_DITHER, m_dithering->enabled);
}

void OGLRenderer::SetTriangleOffsetState(const TriangleOffsetState& state) {
    CachingRenderer::SetTriangleOffsetState(state);
    m_switches.SetEnabled(GL_POLYGON_OFFSET_FILL, m_triangleOffset->enabled);
    gl::PolygonOffset(m_triangleOffset->factor, m_triangleOffset->units);
}

void OGLRenderer::SetStencilBufferState(const StencilBufferState& state) {
    CachingRenderer::SetStencilBufferState(state);
    const StencilBufferState& s = *m_stencilBuffer;
    m_switches.SetEnabled(GL_STENCIL_TEST, s.enabled);
    gl::StencilMask(s.writeMask);
    gl::StencilFunc(CompareFunction(s.compareFunction), s.reference, s.compareMask);
    gl::StencilOp(StencilOperation(s.stencilFailOperation), StencilOperation(s.depthFailOperation),
                  StencilOperation(s.depthPassOperation));
}

void OGLRenderer::SetDepthBufferState(const DepthBufferState& state) {
    CachingRenderer::SetDepthBufferState(state);
    m_switches.SetEnabled(GL_DEPTH_TEST, m_depthBuffer->enabled);
    gl::DepthMask(m_depthBuffer->writeEnabled ? GL_TRUE : GL_FALSE);
    gl::DepthFunc(CompareFunction(m_depthBuffer->compareFunction));
}

void OGLRenderer::SetShadingState(const ShadingState& state) {
    CachingRenderer::SetShadingState(state);
    gl::ShadeModel(ShadingMode(m_shading->mode));
}

void OGLRenderer::SetFillingState(const FillingState& state) {
    CachingRenderer::SetFillingState(state);
    gl::PolygonMode(GL_FRONT_AND_BACK, FillingMode(m_filling->mode));
}

void OGLRenderer::SetFogState(const FogState& state) {
    CachingRenderer::SetFogState(state);
    const FogState& fog = *m_fog;
    m_switches.SetEnabled(GL_FOG, fog.enabled);
    gl::Fogi(GL_FOG_MODE, static_cast<GLint>(FogMode(fog.mode)));
    gl::Fogfv(GL_FOG_COLOR, Floats(fog.color));
    gl::Fogf(GL_FOG_DENSITY, fog.density);
    gl::Fogf(GL_FOG_START, fog.start);
    gl::Fogf(GL_FOG_END, fog.end);
}

void OGLRenderer::SetCullingState(const CullingState& state) {
    CachingRenderer::SetCullingState(state);
    m_switches.SetEnabled(GL_CULL_FACE, m_culling->enabled);
    gl::CullFace(m_culling->face != 0 ? GL_FRONT : GL_BACK);
}

void OGLRenderer::SetAlphaTestingState(const AlphaTestingState& state) {
    CachingRenderer::SetAlphaTestingState(state);
    m_switches.SetEnabled(GL_ALPHA_TEST, m_alphaTesting->enabled);
    gl::AlphaFunc(CompareFunction(m_alphaTesting->compareFunction), m_alphaTesting->reference);
}

void OGLRenderer::SetAlphaBlendingState(const AlphaBlendingState& state) {
    CachingRenderer::SetAlphaBlendingState(state);
    m_switches.SetEnabled(GL_BLEND, m_alphaBlending->enabled);
    gl::BlendFunc(BlendFactor(m_alphaBlending->sourceFactor), BlendFactor(m_alphaBlending->destinationFactor));
}

void OGLRenderer::SetScissorState(const ScissorState& state) {
    CachingRenderer::SetScissorState(state);
    const ScissorState& s = *m_scissor;
    m_switches.SetEnabled(GL_SCISSOR_TEST, s.enabled);
    gl::Scissor(s.x, s.y, s.width, s.height);
}

void OGLRenderer::SetColorMaskState(const ColorMaskState& state) {
    CachingRenderer::SetColorMaskState(state);
    const ColorMaskState& m = *m_colorMask;
    gl::ColorMask(m.red ? GL_TRUE : GL_FALSE, m.green ? GL_TRUE : GL_FALSE, m.blue ? GL_TRUE : GL_FALSE,
                  m.alpha ? GL_TRUE : GL_FALSE);
}

}  // namespace Renderer
