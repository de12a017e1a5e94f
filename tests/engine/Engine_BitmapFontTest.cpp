#include "engine/Engine_BitmapFontCache.h"

#include "os/OS_ByteOrder.h"
#include "os/OS_Path.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using Engine::BitmapFont;
using Engine::BitmapFontCache;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Every field distinct and non-zero, so a field read from the wrong place shows. Top offset 3, cell 32,
// rise 6, line height 40; A: box 43 x 53, advance 45, lead 1, top offset 4; B: 44 x 54, 46, 2, 5.
Engine::FontFile SampleFont() {
    Engine::FontFile font{{101, 3, 103, 32, 105, 6, 40, 108}};
    for (std::int32_t k = 0; k < 96; ++k) {
        font.glyphs[k] = {std::uint16_t(32 + k), 10 + k, 12 + k, 20 + k, -k, 2 * k, k + 0.5f, k % 3 + 1, k % 5 + 1};
    }
    return font;
}

// Whether the parse gave exactly the fields the bytes hold entirely, from where the stored count puts them,
// and 0 for every other field; seen through the encoder, which writes the parsed fields back in order.
bool ParsedAsLaidOut(const Bytes& bytes) {
    const Bytes encoded = Engine::EncodeFontFile(Engine::ParseFontFile(bytes), u"");
    const std::uint64_t start = bytes.size() < 4 ? bytes.size() : Engine::FontBodyOffset(os::LoadU32LE(bytes.data()));
    auto held = std::uint32_t(std::min<std::uint64_t>(start < bytes.size() ? bytes.size() - start : 0, 3296));
    // Fields end every 4 bytes of the metrics, then 2 and every 4 more bytes into each 34-byte record.
    while (held > 32 && (held - 32) % 34 != 0 && (held - 32) % 34 % 4 != 2) {
        --held;
    }
    held -= held <= 32 ? held % 4 : 0;
    Bytes expected(3296, 0);
    std::copy_n(bytes.begin() + std::ptrdiff_t(start), held, expected.begin());
    return std::equal(expected.begin(), expected.end(), encoded.begin() + 4);
}

// A cut, a stored count (0xFFFFFFFF, random, or reaching just past the end) or flipped bytes.
Bytes Mutate(Bytes bytes, std::mt19937& random) {
    auto pick = [&](std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound)(random); };
    const std::uint32_t counts[] = {0xFFFFFFFFu, std::uint32_t(random()), std::uint32_t(bytes.size() / 2 - pick(4))};
    if (const std::size_t kind = pick(2); kind == 0) {
        bytes.resize(pick(bytes.size()));
    } else if (kind == 1) {
        os::StoreU32LE(bytes.data(), counts[pick(2)]);
    } else {
        for (std::size_t flips = pick(16); flips > 0; --flips) {
            bytes[pick(bytes.size() - 1)] ^= std::uint8_t(pick(254) + 1);
        }
    }
    return bytes;
}

// A white 512-pixel image and the sample's metrics file; gives the engine path without extension.
Core::String WriteFont(const testsupport::TempDirectory& dir, const std::string& png, const std::string& tbf) {
    const Bytes bytes = Engine::EncodeFontFile(SampleFont(), u"Test Face");
    dir.WriteFile(tbf, std::string(bytes.begin(), bytes.end()));
    testsupport::SavePng(testsupport::FlatImage(512, 512, {255, 255, 255, 255}), dir.Path() + "/" + png);
    return Core::String(dir.Path() + "\\" + tbf.substr(0, tbf.size() - 4));
}

}  // namespace

TEST(FontFile, FieldsSitWhereTheLayoutPutsThemAndReadBack) {
    const Bytes bytes = Engine::EncodeFontFile(SampleFont(), u"abc");
    const auto at = [&](std::size_t offset) { return std::int32_t(os::LoadU32LE(bytes.data() + offset)); };
    // Size, n, m1, m7, m8, the first record's code and g1, the last record's g8.
    EXPECT_EQ((std::array{int(bytes.size()), at(0), at(10), at(34), at(38), at(42) & 0xFFFF, at(44), at(3302)}),
              (std::array{3306, 3, 101, 40, 108, 32, 10, 1}));
    EXPECT_EQ(Engine::ParseFontFile(bytes), SampleFont());
}

TEST(FontFileHostile, TruncationsStoredCountsAndSeededMutationsReadOnlyWholeFields) {
    const Bytes valid = Engine::EncodeFontFile(SampleFont(), u"Face");
    for (std::size_t size = 0; size <= valid.size(); ++size) {
        EXPECT_TRUE(ParsedAsLaidOut(Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(size)))) << size;
    }
    std::mt19937 random(5130);
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(ParsedAsLaidOut(Mutate(valid, random))) << "mutation " << i;
    }
    const testsupport::TempDirectory dir;
    EXPECT_EQ(Engine::LoadFontFile(dir.Path() + "/missing.tbf"), Engine::FontFile());
    for (int i = 0; i < 300; ++i) {
        const Bytes bytes = Mutate(valid, random);
        testsupport::WriteBytes(dir.Path() + "/Font.tbf", bytes);
        // As bytes: a mutated cell offset may be a NaN.
        ASSERT_EQ(Engine::EncodeFontFile(Engine::LoadFontFile(dir.Path() + "\\FONT.TBF"), u""),
                  Engine::EncodeFontFile(Engine::ParseFontFile(bytes), u"")) << "mutation " << i;
    }
}

using BitmapFontTest = testsupport::OffscreenRendererTest;

TEST_F(BitmapFontTest, CellsMapFromTheImageTopAndOtherCodesToTheSpaceAndStringsMeasure) {
    const testsupport::TempDirectory dir;
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get(WriteFont(dir, "Font.png", "Font.tbf"));
    EXPECT_EQ(std::pair(font->GetCellSize(), font->GetLineHeight()), std::pair(32, 40.0f));
    // Cells are 0.0625 wide and high on the 512-pixel image: (code, u0, v of the bottom edge).
    for (const auto& [code, u, v] : {std::tuple{32, 0.0f, 0.9375f}, {42, 0.0f, 0.875f}, {127, 0.3125f, 0.375f},
                                    {200, 0.0f, 0.9375f}, {-56, 0.0f, 0.9375f}, {7, 0.0f, 0.9375f}}) {
        BitmapFont::TexCoords coords;
        font->GetGlyphTexCoords(code, coords);
        const float u1 = u + 0.0625f, v1 = v + 0.0625f;
        EXPECT_EQ(coords, (BitmapFont::TexCoords{u, v, u1, v, u1, v1, u, v1})) << code;
        Engine::FontGlyph glyph;
        font->GetGlyph(code, glyph);
        EXPECT_EQ(glyph, SampleFont().glyphs[code >= 32 && code < 128 ? code - 32 : 0]) << code;
    }
    // A: x 0..43, y 27..80, the pen then at 44; B from y 28, after its lead of 2.
    for (const auto& [text, width, height] :
         {std::tuple{"", 0.0f, 0.0f}, {"A", 43.0f, 53.0f}, {"AB", 90.0f, 55.0f}, {"A\nB", 90.0f, 95.0f},
          {"A\r\nB", 44.0f, 95.0f}, {"\rA", 43.0f, 80.0f}, {" ", 12.0f, 1.0f}, {"\t", 48.0f, 1.0f},
          {"\xC8", 10.0f, 20.0f}, {"\x07", 10.0f, 20.0f}}) {
        float w = -1, h = -1;
        font->MeasureString(text, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(width, height)) << text;
    }
}

TEST_F(BitmapFontTest, NamesLoadOncePerCacheTheEmptyOneBesideTheExecutableAndMissingFilesGiveDefaults) {
    const testsupport::TempDirectory dir;
    WriteFont(dir, "resources/FONTS/defaultfont/DEFAULTFONT.PNG", "resources/FONTS/defaultfont/DefaultFont.TBF");
    os::SetExecutablePathForTesting(dir.Path() + "/Emberline");
    const Core::RefPtr<BitmapFont> font = BitmapFontCache::Get("");
    os::SetExecutablePathForTesting("");
    EXPECT_EQ(font->GetName(), Core::String(dir.Path() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont"));
    EXPECT_TRUE(font->GetTexture()->GetWidth() == 512 && font->GetMetrics() == SampleFont().metrics);

    BitmapFontCache cache;
    BitmapFontCache::SetInstance(&cache);
    const Core::RefPtr<BitmapFont> first = BitmapFontCache::Get(font->GetName());
    EXPECT_EQ(BitmapFontCache::Get(font->GetName()), first);
    EXPECT_EQ(first->GetReferenceCount(), 2u);  // the cache's and ours
    BitmapFontCache::SetInstance(nullptr);
    EXPECT_TRUE(first != font && first->GetTexture() == font->GetTexture());

    const Core::RefPtr<BitmapFont> missing = BitmapFontCache::Get(Core::String(dir.Path() + "\\Nothing"));
    EXPECT_EQ(missing->GetTexture()->GetName(), Core::String(dir.Path() + "\\Nothing.png"));
    EXPECT_EQ(missing->GetTexture()->GetWidth(), 256u);
    EXPECT_EQ(missing->GetMetrics(), Engine::FontMetrics());
}
