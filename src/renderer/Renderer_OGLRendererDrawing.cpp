#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_Buffer.h"
#include "renderer/Renderer_Enumerations.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_OGLRenderer.h"

// Textures, lights, colours, client arrays, draws, line stipple, viewport,
// matrices and clears of the OpenGL renderer.
namespace Renderer {

namespace gl = os::gl;

namespace {

void LightVector(GLenum light, GLenum parameter, const Vector3D& v, float w) {
    const GLfloat values[4] = {v.x, v.y, v.z, w};
    gl::Lightfv(light, parameter, values);
}

}  // namespace

void OGLRenderer::SetTexture(std::uint32_t unit, const Core::RefPtr<ITexture>& texture) {
    if (!IsInRange(unit, kTextureSlots)) {
        return;
    }
    CachingRenderer::SetTexture(unit, texture);
    SelectDeviceUnit(unit);
    if (texture) {
        gl::BindTexture(texture->GetDimension() == 1 ? GL_TEXTURE_2D : GL_TEXTURE_1D, texture->GetTextureName());
    } else {
        gl::BindTexture(GL_TEXTURE_1D, 0);
        gl::BindTexture(GL_TEXTURE_2D, 0);
    }
}

void OGLRenderer::SetLight(std::uint32_t index, const Core::RefPtr<Light>& light) {
    if (!IsInRange(index, kLights)) {
        return;
    }
    CachingRenderer::SetLight(index, light);
    ApplyLight(index);
}

void OGLRenderer::ApplyLight(std::uint32_t index) {
    const std::optional<LightRecord> found = MakeLightRecord(m_lights[index].Get());
    if (!found) {
        return;
    }
    const LightRecord& record = *found;
    const GLenum light = GL_LIGHT0 + index;
    m_switches.SetEnabled(light, record.enabled);
    gl::Lightfv(light, GL_AMBIENT, &record.ambient.r);
    gl::Lightfv(light, GL_DIFFUSE, &record.diffuse.r);
    gl::Lightfv(light, GL_SPECULAR, &record.specular.r);
    if (record.kind == LightRecord::kDirectional) {
        // w = 0: a direction towards the light.
        LightVector(light, GL_POSITION, record.direction * -1.0f, 0.0f);
        return;
    }
    LightVector(light, GL_POSITION, record.position, 1.0f);
    if (record.kind == LightRecord::kSpot) {
        gl::Lightf(light, GL_SPOT_CUTOFF, record.spotCutoff);
        LightVector(light, GL_SPOT_DIRECTION, record.direction, 0.0f);
        gl::Lightf(light, GL_SPOT_EXPONENT, record.spotExponent);
    } else {
        gl::Lightf(light, GL_SPOT_CUTOFF, 180.0f);
    }
    gl::Lightf(light, GL_CONSTANT_ATTENUATION, record.constantAttenuation);
    gl::Lightf(light, GL_LINEAR_ATTENUATION, record.linearAttenuation);
    gl::Lightf(light, GL_QUADRATIC_ATTENUATION, record.quadraticAttenuation);
}

void OGLRenderer::SetCurrentColor(const Color& color) {
    CachingRenderer::SetCurrentColor(color);
    gl::Color4f(color.r, color.g, color.b, color.a);
}

void OGLRenderer::SetVertexArray(const float* vertices) {
    CachingRenderer::SetVertexArray(vertices);
    m_switches.SetClientState(GL_VERTEX_ARRAY, vertices != nullptr);
    if (vertices != nullptr) {
        gl::VertexPointer(3, GL_FLOAT, 0, vertices);
    }
}

void OGLRenderer::SetNormalArray(const float* normals) {
    CachingRenderer::SetNormalArray(normals);
    m_switches.SetClientState(GL_NORMAL_ARRAY, normals != nullptr);
    if (normals != nullptr) {
        gl::NormalPointer(GL_FLOAT, 0, normals);
    }
}

void OGLRenderer::SetColorArray(const float* colors) {
    CachingRenderer::SetColorArray(colors);
    m_switches.SetClientState(GL_COLOR_ARRAY, colors != nullptr);
    if (colors != nullptr) {
        gl::ColorPointer(4, GL_FLOAT, 0, colors);
    }
}

void OGLRenderer::SetSecondaryColorArray(const float* colors) {
    CachingRenderer::SetSecondaryColorArray(colors);
    const auto pointer = GetExtensionEntryPoints().glSecondaryColorPointerEXT;
    // Without the entry point the array cannot be given, so it is not turned on either.
    if (colors == nullptr || pointer == nullptr) {
        m_switches.SetClientState(GL_SECONDARY_COLOR_ARRAY, false);
        return;
    }
    m_switches.SetClientState(GL_SECONDARY_COLOR_ARRAY, true);
    pointer(3, GL_FLOAT, 0, colors);
}

void OGLRenderer::SetTexCoordArray(std::uint32_t unit, const float* coordinates) {
    CachingRenderer::SetTexCoordArray(unit, coordinates);
    // A unit that cannot be selected gets no selection, as for the other unit operations.
    if (IsUnitSelectable(unit)) {
        m_switches.SelectClientUnit(unit);
    }
    m_switches.SetClientState(GL_TEXTURE_COORD_ARRAY, coordinates != nullptr);
    if (coordinates != nullptr) {
        gl::TexCoordPointer(2, GL_FLOAT, 0, coordinates);
    }
}

void OGLRenderer::DrawElementRange(std::int32_t first, std::int32_t count) {
    const std::optional<GLenum> mode = PrimitiveMode(m_primitiveType);
    if (!mode || m_vertexArray == nullptr || first < 0 || count <= 0) {
        return;
    }
    if (m_indexArray == nullptr) {
        gl::DrawArrays(*mode, first, count);
        return;
    }
    const std::size_t width = m_indices16 ? sizeof(std::uint16_t) : sizeof(std::uint32_t);
    const auto* start = static_cast<const std::uint8_t*>(m_indexArray) + static_cast<std::size_t>(first) * width;
    gl::DrawElements(*mode, count, m_indices16 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, start);
}

void OGLRenderer::DrawIndexRange(std::int32_t first, std::int32_t last) {
    CachingRenderer::DrawIndexRange(first, last);
    if (last >= first) {
        const std::int64_t count = static_cast<std::int64_t>(last) - first + 1;
        if (count <= INT32_MAX) {
            DrawElementRange(first, static_cast<std::int32_t>(count));
        }
    }
}

void OGLRenderer::Draw(std::int32_t count) {
    CachingRenderer::Draw(count);
    DrawElementRange(0, count);
}

void OGLRenderer::DrawArrays(std::int32_t type, std::int32_t first, std::int32_t primitives) {
    CachingRenderer::DrawArrays(type, first, primitives);
    const std::int32_t count = VertexCount(type, primitives);
    if (count > 0 && first >= 0) {
        gl::DrawArrays(*PrimitiveMode(type), first, count);
    }
}

void OGLRenderer::DrawElements(std::int32_t type, std::int32_t first, std::int32_t count) {
    CachingRenderer::DrawElements(type, first, count);
    const std::optional<GLenum> mode = PrimitiveMode(type);
    if (!mode || !m_indexBuffer || first < 0 || count <= 0) {
        return;
    }
    const bool wide = m_indexBuffer->HasIndices32();
    const std::size_t offset = static_cast<std::size_t>(first) * (wide ? 4u : 2u);
    const auto* start = static_cast<const std::uint8_t*>(m_indexBuffer->GetIndexAddress()) + offset;
    gl::DrawElements(*mode, count, wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, start);
}

void OGLRenderer::FlushCommands() { gl::Flush(); }

void OGLRenderer::DrawRectangle(float x1, float y1, float x2, float y2) { gl::Rectf(x1, y1, x2, y2); }

void OGLRenderer::SetLineStippleEnabled(bool enabled) {
    CachingRenderer::SetLineStippleEnabled(enabled);
    m_switches.SetEnabled(GL_LINE_STIPPLE, enabled);
}

void OGLRenderer::SetLineStipplePattern(std::uint16_t pattern) {
    CachingRenderer::SetLineStipplePattern(pattern);
    gl::LineStipple(m_lineStippleFactor, m_lineStipplePattern);
}

void OGLRenderer::SetLineStippleFactor(std::int32_t factor) {
    CachingRenderer::SetLineStippleFactor(factor);
    gl::LineStipple(m_lineStippleFactor, m_lineStipplePattern);
}

void OGLRenderer::SetViewport(const Viewport& viewport) {
    CachingRenderer::SetViewport(viewport);
    gl::Viewport(viewport.x, viewport.y, viewport.width, viewport.height);
    gl::DepthRange(viewport.nearDepth, viewport.farDepth);
}

Viewport OGLRenderer::GetViewport() const {
    // What OpenGL holds, which is the cache unless someone set it behind the renderer's back.
    Viewport viewport = CachingRenderer::GetViewport();
    GLint area[4] = {viewport.x, viewport.y, viewport.width, viewport.height};
    GLfloat depths[2] = {viewport.nearDepth, viewport.farDepth};
    gl::GetIntegerv(GL_VIEWPORT, area);
    gl::GetFloatv(GL_DEPTH_RANGE, depths);
    return {area[0], area[1], area[2], area[3], depths[0], depths[1]};
}

void OGLRenderer::LoadModelView() {
    gl::MatrixMode(GL_MODELVIEW);
    gl::LoadMatrixf(m_modelView.m.data());
}

void OGLRenderer::SetWorldMatrix(const Matrix4& matrix) {
    CachingRenderer::SetWorldMatrix(matrix);
    LoadModelView();
}

void OGLRenderer::SetViewMatrix(const Matrix4& matrix) {
    CachingRenderer::SetViewMatrix(matrix);
    LoadModelView();
}

void OGLRenderer::SetProjectionMatrix(const Matrix4& matrix) {
    CachingRenderer::SetProjectionMatrix(matrix);
    gl::MatrixMode(GL_PROJECTION);
    gl::LoadMatrixf(m_projection.m.data());
}

void OGLRenderer::SetTextureMatrix(std::uint32_t unit, const Matrix4& matrix) {
    if (!IsInRange(unit, kTextureUnitStates)) {
        return;
    }
    CachingRenderer::SetTextureMatrix(unit, matrix);
    SelectDeviceUnit(unit);
    gl::MatrixMode(GL_TEXTURE);
    gl::LoadMatrixf(m_textureMatrices[unit].m.data());
}

void OGLRenderer::ClearColorBuffer(const Color& color) {
    gl::ClearColor(color.r, color.g, color.b, color.a);
    gl::Clear(GL_COLOR_BUFFER_BIT);
}

void OGLRenderer::ClearDepthBuffer(float depth) {
    gl::ClearDepth(depth);
    gl::Clear(GL_DEPTH_BUFFER_BIT);
}

void OGLRenderer::ClearStencilBuffer(std::int32_t value) {
    gl::ClearStencil(value);
    gl::Clear(GL_STENCIL_BUFFER_BIT);
}

void OGLRenderer::ClearBuffers(const Color& color, float depth, std::int32_t stencil) {
    gl::ClearColor(color.r, color.g, color.b, color.a);
    gl::ClearDepth(depth);
    gl::ClearStencil(stencil);
    gl::Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

}  // namespace Renderer
