#include "renderer/Renderer_TextureManager.h"

#include "renderer/Renderer_TextureManagerTestHooks.h"
#include "renderer/Renderer_TextureOGL.h"

namespace {
TextureManager* g_manager = nullptr;

Renderer::TextureFactory& TestFactory() {
    static Renderer::TextureFactory factory;
    return factory;
}
}  // namespace

void Renderer::SetTextureFactoryForTesting(TextureFactory factory) { TestFactory() = std::move(factory); }

void TextureManager::Create(const void* owner) {
    if (g_manager == nullptr) {
        g_manager = new TextureManager;
    } else {
        for (const auto& [name, texture] : g_manager->m_textures) {
            texture->Reload();
        }
    }
    g_manager->m_owner = owner;
}

void TextureManager::UnloadAll() {
    if (g_manager == nullptr) {
        return;
    }
    for (const auto& [name, texture] : g_manager->m_textures) {
        texture->Unload();
    }
}

void TextureManager::Destroy(const void* owner) {
    if (g_manager == nullptr || g_manager->m_owner != owner) {
        return;
    }
    // A name deleted later could belong to another context by then.
    UnloadAll();
    delete g_manager;
    g_manager = nullptr;
}

bool TextureManager::Exists() { return g_manager != nullptr; }

Core::RefPtr<Renderer::ITexture> TextureManager::GetTexture(const Core::String& fileName, bool mipmaps) {
    if (TestFactory()) {
        return TestFactory()(fileName, mipmaps);
    }
    if (g_manager == nullptr) {
        return nullptr;
    }
    const auto found = g_manager->m_textures.find(fileName);
    if (found != g_manager->m_textures.end()) {
        return Core::RefPtr<Renderer::ITexture>(found->second);
    }
    Core::RefPtr<Renderer::ITexture> texture(
        TUN_NEW(Renderer::TextureOGL, Renderer::TextureOGL::CacheKey(), fileName, mipmaps));
    g_manager->m_textures.emplace(fileName, static_cast<Renderer::TextureOGL*>(texture.Get()));
    return texture;
}

std::size_t TextureManager::GetTextureCount() { return g_manager != nullptr ? g_manager->m_textures.size() : 0; }

void TextureManager::Forget(const Core::String& fileName, const Renderer::TextureOGL* texture) {
    if (g_manager == nullptr) {
        return;
    }
    const auto found = g_manager->m_textures.find(fileName);
    if (found != g_manager->m_textures.end() && found->second == texture) {
        g_manager->m_textures.erase(found);
    }
}
