#include "renderer/Renderer_TextureOGL.h"

#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_PixelStoreScope.h"
#include "renderer/Renderer_TextureLevels.h"
#include "renderer/Renderer_TextureManager.h"

#include <vector>

namespace Renderer {

namespace gl = os::gl;

namespace {

constexpr const char* kNonPowerOfTwoExtension = "GL_ARB_texture_non_power_of_two";

std::int32_t MaxTextureSize() {
    GLint size = 0;
    gl::GetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

void TexImage(GLint level, std::uint32_t width, std::uint32_t height, const void* pixels) {
    gl::TexImage2D(GL_TEXTURE_2D, level, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
                   GL_UNSIGNED_BYTE, pixels);
}

}  // namespace

TextureOGL::TextureOGL(CacheKey, const Core::String& fileName, bool mipmaps) : m_fileName(fileName) {
    Load(m_fileName, mipmaps);
}

TextureOGL::~TextureOGL() {
    TextureManager::Forget(m_fileName, this);
    Unload();
}

void TextureOGL::Reload() {
    Unload();
    Load(m_fileName, m_mipmapsRequested);
}

void TextureOGL::Unload() {
    if (m_textureName != 0) {
        const GLuint name = m_textureName;
        gl::DeleteTextures(1, &name);
        m_textureName = 0;
    }
}

void TextureOGL::Load(const Core::String& fileName, bool mipmaps) {
    const std::int32_t maxTextureSize = MaxTextureSize();
    const bool nonPowerOfTwoSupported = IsExtensionSupported(kNonPowerOfTwoExtension);
    m_mipmapsRequested = mipmaps;
    m_mipmapped = mipmaps;
    if (LoadDirect(fileName, mipmaps, nonPowerOfTwoSupported, maxTextureSize)) {
        return;
    }
    const Core::RefPtr<Surface> surface(TUN_NEW(Surface, fileName));
    UploadSurface(*surface, mipmaps);
}

bool TextureOGL::LoadDirect(const Core::String& fileName, bool mipmaps, bool nonPowerOfTwoSupported,
                            std::int32_t maxTextureSize) {
    m_width = 0;
    m_height = 0;
    m_format = 0;
    TextureLevels levels;
    if (!LoadTextureLevels(fileName, mipmaps, nonPowerOfTwoSupported, maxTextureSize, levels)) {
        return false;
    }
    m_width = levels.width;
    m_height = levels.height;
    UploadLevels(levels.levels);
    return true;
}

void TextureOGL::GenerateAndBind() {
    GLuint name = 0;
    gl::GenTextures(1, &name);
    m_textureName = name;
    gl::BindTexture(GL_TEXTURE_2D, name);
}

void TextureOGL::UploadLevels(const Core::RefPtrVector<Surface>& levels) {
    // Rows of any width upload without gaps.
    const PixelStoreScope packedRows(GL_UNPACK_ALIGNMENT, 1);
    GenerateAndBind();
    GLint level = 0;
    for (const Core::RefPtr<Surface>& surface : levels) {
        TexImage(level++, surface->GetWidth(), surface->GetHeight(), surface->GetPixels());
    }
}

void TextureOGL::UploadSurface(const Surface& surface, bool mipmaps) {
    m_format = surface.GetFormat();
    m_width = surface.GetWidth();
    m_height = surface.GetHeight();
    // Rows of any width upload without gaps.
    const PixelStoreScope packedRows(GL_UNPACK_ALIGNMENT, 1);
    GenerateAndBind();
    m_mipmapped = mipmaps;
    if (mipmaps) {
        // GLU brings the sides to powers of two within the maximum itself.
        gl::Build2DMipmaps(GL_TEXTURE_2D, GL_RGBA, static_cast<GLint>(m_width), static_cast<GLint>(m_height), GL_RGBA,
                           GL_UNSIGNED_BYTE, surface.GetPixels());
        return;
    }
    const TextureSize size =
        SurfaceUploadSize(m_width, m_height, IsExtensionSupported(kNonPowerOfTwoExtension), MaxTextureSize());
    if (size == TextureSize{m_width, m_height}) {
        TexImage(0, m_width, m_height, surface.GetPixels());
        return;
    }
    // Zeroed, so that a scale GLU refuses uploads a transparent level of the right size.
    std::vector<std::uint8_t> scaled(std::size_t{size.width} * size.height * 4, 0);
    gl::ScaleImage(GL_RGBA, static_cast<GLint>(m_width), static_cast<GLint>(m_height), GL_UNSIGNED_BYTE,
                   surface.GetPixels(), static_cast<GLint>(size.width), static_cast<GLint>(size.height),
                   GL_UNSIGNED_BYTE, scaled.data());
    TexImage(0, size.width, size.height, scaled.data());
}

}  // namespace Renderer
