#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderingApplication.h"

#include "os/OS_Path.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <string>

using Engine::BitmapFont;
using Engine::BitmapFontCache;
using Engine::FontFile;

namespace {

constexpr std::uint32_t kSpace = 0, kA = 33, kB = 34;

// Top offset 3, cell 32, rise 6, line height 40; the space, A and B with
// boxes and leads that keep every measured edge apart.
FontFile MeasuredFont() {
    FontFile font;
    font.metrics = {0, 3, 0, 32, 0, 6, 40, 0};
    font.glyphs[kSpace] = {32, 5, 8, 9, 0, 0, 0.0f, 3, 0};
    font.glyphs[kA] = {65, 14, 16, 20, 0, 0, 1.5f, 2, 4};
    font.glyphs[kB] = {66, 12, 15, 18, 0, 0, 2.5f, 1, 5};
    return font;
}

// Fonts written at test time: "<base>.png" of size x size and "<base>.tbf".
class BitmapFontTest : public testsupport::OffscreenRendererTest {
protected:
    // Returns the engine path of the font (without extension).
    Core::String WriteFont(const std::string& pngPath, const std::string& tbfPath, std::uint32_t size = 512) {
        m_dir.WriteFile(tbfPath, "");
        const std::vector<std::uint8_t> bytes = Engine::EncodeFontFile(MeasuredFont(), u"Test Face");
        testsupport::WriteBytes(m_dir.Path() + "/" + tbfPath, bytes);
        testsupport::SavePng(testsupport::FlatImage(size, size, {255, 255, 255, 255}), m_dir.Path() + "/" + pngPath);
        return Core::String(m_dir.Path() + "\\" + tbfPath.substr(0, tbfPath.size() - 4));
    }
    testsupport::TempDirectory m_dir;
};

struct ProbeFont : BitmapFont {
    explicit ProbeFont(const Core::String& name, bool* sawTextureCache) : BitmapFont(name), saw(sawTextureCache) {}
    ~ProbeFont() override { *saw = TextureManager::Exists() && GetTexture()->GetWidth() == 512; }
    bool* saw;
};

}  // namespace

TEST_F(BitmapFontTest, CellsMapToTextureCornersFromTheImageTop) {
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get(WriteFont("Font.png", "Font.tbf"));
    ASSERT_EQ(font->GetTexture()->GetWidth(), 512u);
    EXPECT_EQ(font->GetCellSize(), 32);
    EXPECT_EQ(font->GetLineHeight(), 40.0f);
    struct Case {
        std::int32_t code;
        BitmapFont::TexCoords expected;
    };
    const Case cases[] = {
        {32, {0, 0.9375f, 0.0625f, 0.9375f, 0.0625f, 1, 0, 1}},
        {42, {0, 0.875f, 0.0625f, 0.875f, 0.0625f, 0.9375f, 0, 0.9375f}},
        {43, {0.0625f, 0.875f, 0.125f, 0.875f, 0.125f, 0.9375f, 0.0625f, 0.9375f}},
        {127, {0.3125f, 0.375f, 0.375f, 0.375f, 0.375f, 0.4375f, 0.3125f, 0.4375f}},
        // Bytes outside the printable range take the space's cell.
        {200, {0, 0.9375f, 0.0625f, 0.9375f, 0.0625f, 1, 0, 1}},
        {-56, {0, 0.9375f, 0.0625f, 0.9375f, 0.0625f, 1, 0, 1}},
        {7, {0, 0.9375f, 0.0625f, 0.9375f, 0.0625f, 1, 0, 1}},
    };
    for (const Case& c : cases) {
        BitmapFont::TexCoords coords;
        font->GetGlyphTexCoords(c.code, coords);
        EXPECT_EQ(coords, c.expected) << c.code;
    }
    Engine::FontGlyph glyph;
    font->GetGlyph(200, glyph);
    EXPECT_EQ(glyph, MeasuredFont().glyphs[kSpace]);
    font->GetGlyph('A', glyph);
    EXPECT_EQ(glyph, MeasuredFont().glyphs[kA]);
}

TEST_F(BitmapFontTest, MeasuredBoxesFollowPenLeadsAndLines) {
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get(WriteFont("Font.png", "Font.tbf"));
    struct Case {
        const char* text;
        float width, height;
    };
    // A: x 0..14, y 27..47; after it the pen stands at 14. B: 12 x 18, 28 down.
    const Case cases[] = {
        {"", 0, 0},         {"A", 14, 20},  {"AB", 27, 20},  // B's lead puts it at 15
        {"A\nB", 27, 59},                                    // a line lower, the pen kept
        {"A\r\nB", 14, 59},                                  // back to the line's start, without B's lead
        {"\rA", 14, 47},                                     // the empty box at the origin stays in force
        {" ", 8, 1},                                         // blanks are a pixel high, under the top offset
        {"\t", 32, 1},      {"\xC8", 5, 9},                  // the space's box
        {"\x07", 5, 9},
    };
    for (const Case& c : cases) {
        float width = -1, height = -1;
        font->MeasureString(c.text, width, height);
        EXPECT_EQ(width, c.width) << c.text;
        EXPECT_EQ(height, c.height) << c.text;
    }
}

TEST_F(BitmapFontTest, EmptyNameOpensTheDefaultFontBesideTheExecutableWhateverTheCase) {
    WriteFont("resources/FONTS/defaultfont/DEFAULTFONT.PNG", "resources/FONTS/defaultfont/DefaultFont.TBF");
    os::SetExecutablePathForTesting(m_dir.Path() + "/Emberline");
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get("");
    os::SetExecutablePathForTesting("");
    EXPECT_EQ(font->GetName(), Core::String(m_dir.Path() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont"));
    EXPECT_EQ(font->GetTexture()->GetWidth(), 512u);
    EXPECT_EQ(font->GetMetrics(), MeasuredFont().metrics);
}

TEST_F(BitmapFontTest, OneNameIsLoadedOnceWhileACacheIsCurrent) {
    const Core::String name = WriteFont("Font.png", "Font.tbf");
    {
        BitmapFontCache cache;
        BitmapFontCache::SetInstance(&cache);
        const Core::RefPtr<BitmapFont> first = BitmapFontCache::Get(name);
        const Core::RefPtr<BitmapFont> second = BitmapFontCache::Get(name);
        EXPECT_EQ(first, second);
        EXPECT_EQ(first->GetReferenceCount(), 3u);  // the cache's and ours
        BitmapFontCache::SetInstance(nullptr);
        const Core::RefPtr<BitmapFont> uncached = BitmapFontCache::Get(name);
        EXPECT_NE(uncached, first);
        EXPECT_EQ(uncached->GetReferenceCount(), 1u);
        EXPECT_EQ(uncached->GetTexture(), first->GetTexture());
    }
    EXPECT_EQ(TextureManager::GetTextureCount(), 0u);
}

TEST_F(BitmapFontTest, MissingImageShowsThePlaceholderAndMissingMetricsAreZero) {
    const Core::String name(m_dir.Path() + "\\Nothing");
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get(name);
    ASSERT_TRUE(font->GetTexture());
    EXPECT_EQ(font->GetTexture()->GetName(), Core::String(name + ".png"));
    EXPECT_EQ(font->GetTexture()->GetWidth(), 256u);
    EXPECT_EQ(font->GetMetrics(), Engine::FontMetrics());
    Engine::FontGlyph glyph;
    font->GetGlyph('A', glyph);
    EXPECT_EQ(glyph, Engine::FontGlyph());
}

TEST(BitmapFontLifetime, ApplicationReleasesItsFontsWhileTheTextureCacheExists) {
    testsupport::TempDirectory dir;
    testsupport::SavePng(testsupport::FlatImage(512, 512, {255, 255, 255, 255}), dir.Path() + "/Font.png");
    bool sawTextureCache = false;
    {
        const testsupport::ScopedVideoDriver driver("offscreen");
        const Core::RefPtr<Engine::RenderingApplication> app =
            TUN_NEW(Engine::RenderingApplication, Engine::StartupSettings{64, 48, 60, 0, false, false});
        BitmapFontCache::GetInstance()->Insert(
            "Probe", TUN_NEW(ProbeFont, Core::String(dir.Path() + "/Font"), &sawTextureCache));
    }
    EXPECT_TRUE(sawTextureCache);
    // With the application gone nothing caches, and without a renderer a
    // font has no texture and no cell corners.
    ASSERT_EQ(BitmapFontCache::GetInstance(), nullptr);
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get(Core::String(dir.Path() + "/Font"));
    EXPECT_FALSE(font->GetTexture());
    BitmapFont::TexCoords coords;
    font->GetGlyphTexCoords('A', coords);
    EXPECT_EQ(coords, BitmapFont::TexCoords{});
}
