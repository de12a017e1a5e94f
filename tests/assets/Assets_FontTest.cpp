// The default font and the particle texture, as the build generated them.
#include "Assets_Tree.h"

#include "AssetGen_BitmapFont.h"
#include "AssetGen_ParticleTexture.h"
#include "core/Core_String.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_FontFile.h"
#include "support/Renderer_OffscreenFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace Font = AssetGen::BitmapFont;

constexpr const char* kFontName = "Fonts/DefaultFont/DefaultFont";

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint8_t AlphaAt(const os::Image& image, std::uint32_t x, std::uint32_t y) {
    return image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4 + 3];
}

// Every pixel with any alpha is white: the game tints these images.
bool IsWhiteWhereInked(const os::Image& image) {
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        if (image.pixels[i + 3] != 0 && (image.pixels[i] != 255 || image.pixels[i + 1] != 255 || image.pixels[i + 2] != 255)) {
            return false;
        }
    }
    return true;
}

}  // namespace

// The menus centre by 8.5 units per character and 9 below the anchor: every
// glyph advances 17 with no lead, measures 17 x 18 from 18 above the pen
// line, the space advances 9; a line is 18 high.
TEST(DefaultFont, MetricsFileHoldsTheMonospacedTable) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(assettest::ResourcePath(std::string(kFontName) + ".tbf"));
    EXPECT_EQ(bytes.size(), 3332u);  // the face name "DejaVu Sans Bold" is 16 units
    const Engine::FontFile font = Engine::ParseFontFile(bytes);
    const Engine::FontMetrics& m = font.metrics;
    EXPECT_EQ((std::array{m.topOffset, m.cellSize, m.rise, m.lineHeight}), (std::array{1, 32, 17, 18}));
    for (std::uint32_t k = 0; k < Engine::kFontGlyphCount; ++k) {
        const Engine::FontGlyph& g = font.glyphs[k];
        const int advance = k == 0 ? 9 : 17;
        EXPECT_EQ((std::array{int(g.code), g.boxWidth, g.advance, g.boxHeight, g.lead, g.topOffset}),
                  (std::array{int(32 + k), 17, advance, 18, 0, 0}))
            << "code " << 32 + k;
        EXPECT_EQ(g.cellOffset, float(Font::kPenColumn)) << "code " << 32 + k;
    }
}

// Glyph ink stays in the bottom 18 rows of its cell and in its 17-unit slot,
// so a text placed 9 below its anchor is centred on it and neighbours never
// overlap; character 127 is a visible box; nothing lies outside the 96 cells.
TEST(DefaultFont, ImageHasInkForEveryCharacterInsideItsSlot) {
    const os::Image image = assettest::DecodeResource(std::string(kFontName) + ".png");
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(512u, 512u));
    EXPECT_TRUE(IsWhiteWhereInked(image));
    std::vector<int> inked(96, 0);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint8_t alpha = AlphaAt(image, x, y);
            if (alpha == 0) {
                continue;
            }
            const std::uint32_t cell = y / 32 * 10 + x / 32;
            const std::uint32_t column = x % 32, row = y % 32;
            ASSERT_TRUE(x / 32 < 10 && cell < 96) << "ink outside the cells at " << x << ", " << y;
            ASSERT_TRUE(row >= 14 && column >= 7 && column < 24)
                << "code " << 32 + cell << " inked outside its slot at cell pixel " << column << ", " << row;
            inked[cell] += alpha >= assettest::Cell::kInkAlpha ? 1 : 0;
        }
    }
    EXPECT_EQ(inked[0], 0) << "the space";
    for (int code = 33; code <= 127; ++code) {
        EXPECT_GE(inked[code - 32], 2) << "code " << code;
    }
    EXPECT_GE(inked['A' - 32], 20) << "A, column 3 of row 3 from the top";
}

using DefaultFontEngine = testsupport::OffscreenRendererTest;

TEST_F(DefaultFontEngine, LoadsAndMeasuresHelloAs85By18) {
    const Core::RefPtr<Engine::BitmapFont> font(TUN_NEW(Engine::BitmapFont, Core::String(assettest::ResourcePath(kFontName))));
    ASSERT_TRUE(font->GetTexture() != nullptr);
    EXPECT_EQ(font->GetTexture()->GetWidth(), 512u);
    for (const auto& [text, width, height] : {std::tuple{"Hello", 85.0f, 18.0f}, {"A B", 43.0f, 18.0f}}) {
        float w = 0.0f, h = 0.0f;
        font->MeasureString(text, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(width, height)) << text;
    }
}

// White, opaque at the centre, clear in the corners, and never more opaque
// one pixel further out (toward the nearer edge on both axes).
TEST(ParticleTexture, IsAWhiteSpotFadingOutward) {
    const os::Image image = assettest::DecodeResource("ParticleSystems/Particle_Texture.png");
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(32u, 32u));
    EXPECT_TRUE(IsWhiteWhereInked(image));
    EXPECT_EQ(AlphaAt(image, 15, 15), 255);
    EXPECT_EQ(AlphaAt(image, 16, 16), 255);
    for (const auto& [x, y] : {std::pair{0u, 0u}, {31u, 0u}, {0u, 31u}, {31u, 31u}}) {
        EXPECT_EQ(AlphaAt(image, x, y), 0) << x << ", " << y;
    }
    // The centre is the corner shared by pixels 15 and 16.
    auto inward = [](std::uint32_t v) { return v < 15 ? v + 1 : v > 16 ? v - 1 : v; };
    for (std::uint32_t y = 0; y < 32; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x) {
            EXPECT_LE(AlphaAt(image, x, y), AlphaAt(image, inward(x), inward(y))) << x << ", " << y;
        }
    }
}
