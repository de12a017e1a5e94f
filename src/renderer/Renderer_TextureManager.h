#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <map>

namespace Renderer {
class ITexture;
class TextureOGL;
}  // namespace Renderer

// The process-wide texture cache, one shared texture per file name. It
// belongs to the live renderer, and its textures to that renderer's OpenGL
// context (contexts share no objects): the renderer creates it last in its
// construction and destroys it first in its destruction. A renderer made
// while another lives takes the cache over, so that the textures the game
// holds keep drawing after the old renderer goes.
// The cache adds no reference: a texture lives while someone holds it, and
// leaves the cache when it goes, so the next request loads the file again.
class TextureManager {
public:
    // Makes the cache for the owner, whose context is current. When a cache
    // exists already, the owner takes it over and every cached texture loads
    // its file again into the owner's context (after UnloadAll).
    static void Create(const void* owner);
    // Deletes the OpenGL texture of every cached texture in the current
    // context, which must be the one they were loaded into.
    static void UnloadAll();
    // Only the owner destroys the cache: every cached texture is unloaded
    // while the owner's context is still current; textures still held
    // afterwards have no OpenGL texture (name 0) and delete nothing when they go.
    static void Destroy(const void* owner);
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
    const void* m_owner = nullptr;
};
