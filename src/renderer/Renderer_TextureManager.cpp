#include "renderer/Renderer_TextureManager.h"

namespace {
TextureManager* g_manager = nullptr;
}  // namespace

void TextureManager::Create() {
    if (g_manager == nullptr) {
        g_manager = new TextureManager;
    }
}

void TextureManager::Destroy() {
    delete g_manager;
    g_manager = nullptr;
}

bool TextureManager::Exists() { return g_manager != nullptr; }
