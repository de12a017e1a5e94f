#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "core/Core_String.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Surface.h"

#include <cstdint>

class TextureManager;

namespace Renderer {

// An OpenGL 2D texture made from an image file. Only the texture cache
// makes them (TextureManager::GetTexture), so that one file name gives one
// texture. Loading never fails: a file that cannot be decoded is read as a
// raw surface file, and failing that the texture shows the default pattern.
// Uploads set no texture parameters (the texturing states do) and leave the
// new texture bound to the active unit's 2D target.
class TextureOGL : public ITexture {
public:
    // Only the cache can name this, so only the cache constructs textures.
    class CacheKey {
        friend class ::TextureManager;
        CacheKey() = default;
    };

    // Loads the file at once.
    TextureOGL(CacheKey, const Core::String& fileName, bool mipmaps);
    // Leaves the cache (when it still holds this texture) and deletes the
    // OpenGL texture.
    ~TextureOGL() override;
    TextureOGL(const TextureOGL&) = delete;
    TextureOGL& operator=(const TextureOGL&) = delete;

    std::uint32_t GetWidth() const override { return m_width; }
    std::uint32_t GetHeight() const override { return m_height; }
    std::uint32_t GetFormat() const override { return m_format; }
    std::uint32_t GetDimension() const override { return 1; }
    std::uint32_t GetTextureName() const override { return m_textureName; }
    // Deletes the OpenGL texture and loads the file again with the flag the
    // texture was made with.
    void Reload() override;
    // Deletes the OpenGL texture; the name becomes 0 (no texture).
    void Unload() override;
    bool IsMipmapped() const override { return m_mipmapped; }
    const Core::String& GetName() const override { return m_fileName; }

private:
    void Load(const Core::String& fileName, bool mipmaps);
    // Decodes the image file and uploads its levels; false when it cannot be decoded.
    bool LoadDirect(const Core::String& fileName, bool mipmaps, bool nonPowerOfTwoSupported,
                    std::int32_t maxTextureSize);
    // Level i of the list becomes mipmap level i, uploaded as it is.
    void UploadLevels(const Core::RefPtrVector<Surface>& levels);
    // A whole chain built by GLU with mipmaps; without, level 0 rescaled to
    // powers of two and the maximum size when the driver needs it.
    void UploadSurface(const Surface& surface, bool mipmaps);
    void GenerateAndBind();

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_textureName = 0;
    std::uint32_t m_format = 0;
    Core::String m_fileName;
    bool m_mipmapsRequested = false;
    bool m_mipmapped = false;
};

}  // namespace Renderer
