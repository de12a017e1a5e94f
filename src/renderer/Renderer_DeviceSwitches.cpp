#include "renderer/Renderer_DeviceSwitches.h"

#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"

namespace Renderer {

namespace gl = os::gl;

namespace {

constexpr std::size_t kLightSwitches = 8;

// The place of a context-wide switch (lights last), else untracked.
constexpr std::size_t ContextSlot(GLenum capability, std::size_t untracked) {
    switch (capability) {
        case GL_LIGHTING: return 0;
        case GL_NORMALIZE: return 1;
        case GL_DITHER: return 2;
        case GL_POLYGON_OFFSET_FILL: return 3;
        case GL_STENCIL_TEST: return 4;
        case GL_DEPTH_TEST: return 5;
        case GL_FOG: return 6;
        case GL_CULL_FACE: return 7;
        case GL_ALPHA_TEST: return 8;
        case GL_BLEND: return 9;
        case GL_SCISSOR_TEST: return 10;
        case GL_LINE_STIPPLE: return 11;
        case GL_LINE_SMOOTH: return 12;
        case GL_POINT_SMOOTH: return 13;
        default: break;
    }
    return capability >= GL_LIGHT0 && capability < GL_LIGHT0 + kLightSwitches ? 14 + (capability - GL_LIGHT0)
                                                                               : untracked;
}

// The place of a texture-unit switch within its unit, else untracked.
constexpr std::size_t UnitSlot(GLenum capability, std::size_t untracked) {
    switch (capability) {
        case GL_TEXTURE_1D: return 0;
        case GL_TEXTURE_2D: return 1;
        case GL_TEXTURE_GEN_S: return 2;
        case GL_TEXTURE_GEN_T: return 3;
        case GL_TEXTURE_GEN_R: return 4;
        case GL_TEXTURE_GEN_Q: return 5;
        default: return untracked;
    }
}

// The place of a client array other than texture coordinates, else untracked.
constexpr std::size_t ArraySlot(GLenum array, std::size_t untracked) {
    switch (array) {
        case GL_VERTEX_ARRAY: return 0;
        case GL_NORMAL_ARRAY: return 1;
        case GL_COLOR_ARRAY: return 2;
        case GL_SECONDARY_COLOR_ARRAY: return 3;
        default: return untracked;
    }
}

}  // namespace

DeviceSwitches::DeviceSwitches() {
    m_capabilities.fill(-1);
    m_clientArrays.fill(-1);
}

std::size_t DeviceSwitches::CapabilitySlot(GLenum capability) const {
    static_assert(14 + kLightSwitches == kContextSwitches);
    if (const std::size_t slot = ContextSlot(capability, kUntracked); slot != kUntracked) {
        return slot;
    }
    const std::size_t slot = UnitSlot(capability, kUntracked);
    return slot != kUntracked && m_unit < kUnits ? kContextSwitches + kUnitSwitches * m_unit + slot : kUntracked;
}

std::size_t DeviceSwitches::ClientSlot(GLenum array) const {
    if (array == GL_TEXTURE_COORD_ARRAY) {
        return m_clientUnit < kUnits ? kClientSwitches - kUnits + m_clientUnit : kUntracked;
    }
    return ArraySlot(array, kUntracked);
}

bool DeviceSwitches::Differs(std::int8_t& known, bool enabled) {
    if (known == static_cast<std::int8_t>(enabled)) {
        return false;
    }
    known = static_cast<std::int8_t>(enabled);
    return true;
}

void DeviceSwitches::SetEnabled(GLenum capability, bool enabled) {
    const std::size_t slot = CapabilitySlot(capability);
    if (slot != kUntracked && !Differs(m_capabilities[slot], enabled)) {
        return;
    }
    gl::SetEnabled(capability, enabled);
}

void DeviceSwitches::SetClientState(GLenum array, bool enabled) {
    const std::size_t slot = ClientSlot(array);
    if (slot != kUntracked && !Differs(m_clientArrays[slot], enabled)) {
        return;
    }
    if (enabled) {
        gl::EnableClientState(array);
    } else {
        gl::DisableClientState(array);
    }
}

void DeviceSwitches::SelectUnit(std::uint32_t unit) {
    if (unit == m_unit) {
        return;
    }
    m_unit = unit;
    GetExtensionEntryPoints().glActiveTextureARB(GL_TEXTURE0_ARB + unit);
}

void DeviceSwitches::SelectClientUnit(std::uint32_t unit) {
    if (unit == m_clientUnit) {
        return;
    }
    m_clientUnit = unit;
    GetExtensionEntryPoints().glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
}

}  // namespace Renderer
