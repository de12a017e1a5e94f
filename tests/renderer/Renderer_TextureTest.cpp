#include "support/Renderer_OffscreenFixture.h"

#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "renderer/Renderer_TextureLevels.h"
#include "renderer/Renderer_TextureManager.h"
#include "renderer/Renderer_TextureOGL.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <string>
#include <tuple>
#include <vector>

// Textures on a real OpenGL context: the cache, the OpenGL names, and what
// each load uploads (level sizes and texels read back from OpenGL).
namespace {

using Renderer::ITexture;
using Renderer::TextureSize;
using testsupport::Rgba;

constexpr const char* kNonPowerOfTwo = "GL_ARB_texture_non_power_of_two";

Core::RefPtr<ITexture> Load(const std::string& path, bool mipmaps) {
    return TextureManager::GetTexture(Core::String(path), mipmaps);
}

// The size of every level OpenGL holds for the texture, level 0 first.
std::vector<TextureSize> UploadedLevels(const ITexture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.GetTextureName());
    std::vector<TextureSize> levels;
    for (GLint level = 0; level < 16; ++level) {
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        if (width == 0) {
            break;
        }
        levels.push_back({static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)});
    }
    return levels;
}

// Level 0 as OpenGL holds it, rows from texture row 0.
std::vector<Rgba> LevelZeroTexels(const ITexture& texture) {
    const std::vector<TextureSize> levels = UploadedLevels(texture);
    std::vector<Rgba> texels(levels.empty() ? 0 : std::size_t{levels[0].width} * levels[0].height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

Rgba Distinct(std::uint32_t x, std::uint32_t y) {
    return {static_cast<std::uint8_t>(10 + 40 * x), static_cast<std::uint8_t>(20 + 60 * y), 77, 255};
}

class Textures : public testsupport::OffscreenRendererTest {
protected:
    // width x height pixels of Distinct as a PNG (rows top-down) or as a raw
    // surface file (rows as the surface keeps them, bottom-up).
    std::string Save(const std::string& name, std::uint32_t width, std::uint32_t height, bool raw = false) const {
        const std::string path = dir.Path() + "/" + name + (raw ? ".raw" : ".png");
        const os::Image image = testsupport::MakeImage(width, height, Distinct);
        if (raw) {
            testsupport::WriteBytes(path, testsupport::EncodeRawSurface(0, width, height, width * 4, image.pixels));
        } else {
            testsupport::SavePng(image, path);
        }
        return path;
    }

    testsupport::TempDirectory dir;
};

// One texture per exact name, whatever the mipmap flag; the last release
// deletes the OpenGL texture and leaves the cache, and a later request loads
// again. Unload and Reload never delete a name twice (the driver may have
// handed a freed name to another texture).
TEST_F(Textures, NamesLiveAsLongAsTheirTextures) {
    const std::string path = Save("sheet", 8, 8);
    Core::RefPtr<ITexture> first = Load(path, true);
    Core::RefPtr<ITexture> again = Load(path, false);
    EXPECT_EQ(first.Get(), again.Get());
    EXPECT_TRUE(again->IsMipmapped());
    Core::RefPtr<ITexture> otherSpelling = Load(dir.Path() + "/./sheet.png", false);
    EXPECT_NE(otherSpelling->GetTextureName(), first->GetTextureName());
    const GLuint name = first->GetTextureName();
    first = nullptr;
    EXPECT_TRUE(glIsTexture(name));
    again = nullptr;
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(TextureManager::GetTextureCount(), 1u);

    const GLuint freed = otherSpelling->GetTextureName();
    otherSpelling->Unload();
    EXPECT_EQ(otherSpelling->GetTextureName(), 0u);
    EXPECT_FALSE(glIsTexture(freed));
    const Core::RefPtr<ITexture> next = Load(path, true);
    otherSpelling = nullptr;
    const GLuint old = next->GetTextureName();
    next->Reload();
    EXPECT_TRUE(glIsTexture(next->GetTextureName()));
    EXPECT_TRUE(next->GetTextureName() == old || !glIsTexture(old)) << "the old texture was kept";
    EXPECT_EQ(UploadedLevels(*next).size(), 4u);
}

// Level sizes as uploaded, and level 0's texels: texture row 0 is the
// image's bottom row (a raw file lists rows as the surface keeps them). With
// the caller's unpack alignment of 8, which must come back, rows of 3 pixels
// (12 bytes) would be read from the wrong places unless uploaded packed.
TEST_F(Textures, ImagesUploadTheirLevelsBottomRowFirst) {
    ASSERT_TRUE(Renderer::IsExtensionSupported(kNonPowerOfTwo));
    struct Case {
        std::uint32_t width, height;
        bool mipmaps, raw;
        std::vector<TextureSize> levels;
    };
    const Case cases[] = {
        {256, 64, true, false, {{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {100, 60, true, false, {{100, 60}, {50, 30}, {25, 15}, {12, 7}, {6, 3}, {3, 1}, {1, 1}}},
        {3, 2, false, false, {{3, 2}}},
        {3, 2, false, true, {{3, 2}}},
    };
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + (c.mipmaps ? "m" : "") +
                                 (c.raw ? "r" : "");
        const Core::RefPtr<ITexture> texture = Load(Save(what, c.width, c.height, c.raw), c.mipmaps);
        ExpectGL({{GL_UNPACK_ALIGNMENT, {8}}});
        EXPECT_EQ(UploadedLevels(*texture), c.levels) << what;
        EXPECT_EQ(texture->GetWidth() * 1000 + texture->GetHeight(), c.width * 1000 + c.height) << what;
        EXPECT_EQ(texture->IsMipmapped(), c.mipmaps) << what;
        const std::vector<Rgba> texels = LevelZeroTexels(*texture);
        for (std::uint32_t i = 0; i < texels.size(); ++i) {
            const std::uint32_t row = i / c.width;
            ASSERT_EQ(texels[i], Distinct(i % c.width, c.raw ? row : c.height - 1 - row)) << what << " texel " << i;
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(Textures, UnreadableFilesGiveTheDefaultPattern) {
    testsupport::WriteBytes(dir.Path() + "/text.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    testsupport::Bytes cut = testsupport::ReadBytes(Save("whole", 8, 8));
    cut.pop_back();
    testsupport::WriteBytes(dir.Path() + "/cut.png", cut);
    for (const std::string& name :
         {dir.Path() + "/missing.png", dir.Path() + "/text.png", dir.Path() + "/cut.png", dir.Path(), std::string()}) {
        const Core::RefPtr<ITexture> texture = Load(name, false);
        EXPECT_EQ(texture->GetName(), Core::String(name));
        EXPECT_EQ(texture->GetWidth() * 1000 + texture->GetHeight(), 256256u) << name;
        const std::vector<Rgba> texels = LevelZeroTexels(*texture);
        ASSERT_EQ(texels.size(), 256u * 256u) << name;
        EXPECT_EQ(texels[5 * 256 + 3], (Rgba{6, 6, 6, 255})) << name;
    }
    // With mipmaps GLU builds the chain.
    EXPECT_EQ(UploadedLevels(*Load(dir.Path() + "/missing too.png", true)).size(), 9u);
}

// A driver without non-power-of-two textures.
class TexturesWithoutNonPowerOfTwo : public Textures {
protected:
    static void SetUpTestSuite() {
        os::gl::SetHiddenExtensionsForTesting({kNonPowerOfTwo});
        OffscreenRendererTest::SetUpTestSuite();
    }
    static void TearDownTestSuite() {
        OffscreenRendererTest::TearDownTestSuite();
        os::gl::SetHiddenExtensionsForTesting({});
    }
};

// Both the decoded path and the raw surface path (rescaled by GLU).
TEST_F(TexturesWithoutNonPowerOfTwo, SidesBecomeTheNearestPowerOfTwo) {
    ASSERT_FALSE(Renderer::IsExtensionSupported(kNonPowerOfTwo));
    for (const auto& [width, height, levelZero] : {std::tuple{100u, 60u, TextureSize{128, 64}}, {3u, 3u, {4, 4}},
                                                   {5u, 5u, {4, 4}}}) {
        for (const bool raw : {false, true}) {
            const std::string what = std::to_string(width) + "x" + std::to_string(height) + (raw ? "r" : "");
            const Core::RefPtr<ITexture> texture = Load(Save(what, width, height, raw), false);
            EXPECT_EQ(UploadedLevels(*texture), std::vector<TextureSize>{levelZero}) << what;
            EXPECT_EQ(texture->GetWidth() * 1000 + texture->GetHeight(), width * 1000 + height) << what;
            EXPECT_FALSE(texture->IsMipmapped()) << what;
        }
    }
}

}  // namespace
