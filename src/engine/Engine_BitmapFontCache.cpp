#include "engine/Engine_BitmapFontCache.h"

#include "engine/Engine_FontNames.h"

namespace Engine {
namespace {
// Written and read on the main thread only.
BitmapFontCache* g_fontCache = nullptr;
}  // namespace

BitmapFontCache* BitmapFontCache::GetInstance() { return g_fontCache; }

void BitmapFontCache::SetInstance(BitmapFontCache* cache) { g_fontCache = cache; }

Core::RefPtr<BitmapFont> BitmapFontCache::Get(const Core::String& name) {
    // Keyed by the full path: the empty name and the default font's path
    // are one font.
    const Core::String path = FontPath(name);
    if (g_fontCache == nullptr) {
        return TUN_NEW(BitmapFont, path);
    }
    Core::RefPtr<BitmapFont> font = g_fontCache->Find(path);
    if (!font) {
        font = TUN_NEW(BitmapFont, path);
        g_fontCache->Insert(path, font);
    }
    return font;
}

Core::RefPtr<BitmapFont> BitmapFontCache::Find(const Core::String& name) const {
    const auto found = m_fonts.find(name);
    return found != m_fonts.end() ? found->second : nullptr;
}

void BitmapFontCache::Insert(const Core::String& name, const Core::RefPtr<BitmapFont>& font) {
    if (font) {
        m_fonts.emplace(name, font);
    }
}

}  // namespace Engine
