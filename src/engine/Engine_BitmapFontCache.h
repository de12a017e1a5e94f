#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_BitmapFont.h"

#include <map>

namespace Engine {

// Fonts by name (the path without extension, in byte-wise order), each held
// once for everyone who draws or measures with it. The rendering
// application owns the process's cache and installs it as the current one.
class BitmapFontCache {
public:
    BitmapFontCache() = default;
    BitmapFontCache(const BitmapFontCache&) = delete;
    BitmapFontCache& operator=(const BitmapFontCache&) = delete;

    // The current cache (owning nothing); null while no application lives.
    static BitmapFontCache* GetInstance();
    static void SetInstance(BitmapFontCache* cache);

    // The font of that name (the empty name: the default font) from the
    // current cache, loaded and kept there on the first request; without a
    // current cache a font nobody keeps.
    static Core::RefPtr<BitmapFont> Get(const Core::String& name);

    // Null when no font of that name is held.
    Core::RefPtr<BitmapFont> Find(const Core::String& name) const;
    // A name already held keeps its font; a null font is refused.
    void Insert(const Core::String& name, const Core::RefPtr<BitmapFont>& font);
    // Releases every font.
    void Clear() { m_fonts.clear(); }

private:
    std::map<Core::String, Core::RefPtr<BitmapFont>> m_fonts;
};

}  // namespace Engine
