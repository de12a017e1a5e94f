#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <map>

namespace Renderer {
class ITexture;
class TextureOGL;
}  // namespace Renderer

// The process-wide texture cache, one shared texture per file name. It
// exists while the renderer and its OpenGL context do: the renderer creates
// it last in its construction and destroys it first in its destruction.
// The cache adds no reference: a texture lives while someone holds it, and
// leaves the cache when it goes, so the next request loads the file again.
class TextureManager {
public:
    static void Create();
    // Deletes the OpenGL texture of every cached texture while the context
    // is still current; textures still held afterwards have none (name 0)
    // and delete nothing when they go.
    static void Destroy();
    static bool Exists();

    // The texture of exactly this file name (names written differently are
    // different textures), made and loaded on the first request. mipmaps
    // counts only then. Never empty while the cache exists: an unreadable
    // file gives the default pattern. Empty without a cache (no renderer).
    static Core::RefPtr<Renderer::ITexture> GetTexture(const Core::String& fileName, bool mipmaps);

    // How many textures are cached.
    static std::size_t GetTextureCount();

private:
    friend class Renderer::TextureOGL;

    // A texture's destructor: forgets the entry when it is this texture's.
    static void Forget(const Core::String& fileName, const Renderer::TextureOGL* texture);

    std::map<Core::String, Renderer::TextureOGL*> m_textures;
};
