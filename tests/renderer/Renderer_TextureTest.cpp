#include "support/Renderer_OffscreenFixture.h"
#include "Renderer_TestFiles.h"

#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_TextureLevels.h"
#include "renderer/Renderer_TextureManager.h"
#include "renderer/Renderer_TextureOGL.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <random>
#include <string>
#include <vector>

// Textures on a real OpenGL context: what each load uploads (level sizes and
// texels read back from OpenGL), the cache, and the lifetime of the OpenGL
// texture behind each object.
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
    if (levels.empty()) {
        return {};
    }
    std::vector<Rgba> texels(std::size_t{levels[0].width} * levels[0].height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

Rgba Distinct(std::uint32_t x, std::uint32_t y) {
    return {static_cast<std::uint8_t>(10 + 40 * x), static_cast<std::uint8_t>(20 + 60 * y), 77, 255};
}

class Textures : public testsupport::OffscreenRendererTest {
protected:
    std::string SavePng(const std::string& name, std::uint32_t width, std::uint32_t height) const {
        const std::string path = dir.Path() + "/" + name;
        testsupport::SavePng(testsupport::MakeImage(width, height, Distinct), path);
        return path;
    }

    std::string SaveRaw(const std::string& name, std::uint32_t width, std::uint32_t height) const {
        // Rows as the surface keeps them: texel (x, row) is Distinct(x, row).
        const std::vector<std::uint8_t> pixels = testsupport::MakeImage(width, height, Distinct).pixels;
        const std::string path = dir.Path() + "/" + name;
        testsupport::WriteBytes(path, testsupport::EncodeRawSurface(0, width, height, width * 4, pixels));
        return path;
    }

    testsupport::TempDirectory dir;
};

TEST_F(Textures, OneTexturePerExactNameWhateverTheMipFlag) {
    const std::string path = SavePng("sheet.png", 8, 8);
    const Core::RefPtr<ITexture> first = Load(path, true);
    const Core::RefPtr<ITexture> again = Load(path, false);
    EXPECT_EQ(first.Get(), again.Get());
    EXPECT_TRUE(again->IsMipmapped());
    EXPECT_EQ(first->GetName(), Core::String(path));

    const Core::RefPtr<ITexture> otherSpelling = Load(dir.Path() + "/./sheet.png", true);
    EXPECT_NE(otherSpelling.Get(), first.Get());
    EXPECT_NE(otherSpelling->GetTextureName(), first->GetTextureName());
    EXPECT_EQ(TextureManager::GetTextureCount(), 2u);
}

TEST_F(Textures, TheLastReleaseDeletesTheTextureAndLeavesTheCache) {
    const std::string path = SavePng("once.png", 4, 4);
    Core::RefPtr<ITexture> holder = Load(path, false);
    Core::RefPtr<ITexture> second = Load(path, false);
    const GLuint name = holder->GetTextureName();
    ASSERT_TRUE(glIsTexture(name));
    holder = nullptr;
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(TextureManager::GetTextureCount(), 1u);
    second = nullptr;
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(TextureManager::GetTextureCount(), 0u);

    const Core::RefPtr<ITexture> reloaded = Load(path, false);
    EXPECT_TRUE(glIsTexture(reloaded->GetTextureName()));
    EXPECT_EQ(TextureManager::GetTextureCount(), 1u);
}

TEST_F(Textures, ImagesUploadTheirLevels) {
    ASSERT_TRUE(Renderer::IsExtensionSupported(kNonPowerOfTwo));
    struct Case {
        std::uint32_t width, height;
        bool mipmaps;
        std::vector<TextureSize> levels;
    };
    const Case cases[] = {
        {256, 64, true, {{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {256, 64, false, {{256, 64}}},
        {100, 60, true, {{100, 60}, {50, 30}, {25, 15}, {12, 7}, {6, 3}, {3, 1}, {1, 1}}},
        {100, 60, false, {{100, 60}}},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + (c.mipmaps ? " mip" : "");
        const Core::RefPtr<ITexture> texture = Load(SavePng(what + ".png", c.width, c.height), c.mipmaps);
        EXPECT_EQ(UploadedLevels(*texture), c.levels) << what;
        EXPECT_EQ(texture->GetWidth(), c.width) << what;
        EXPECT_EQ(texture->GetHeight(), c.height) << what;
        EXPECT_EQ(texture->IsMipmapped(), c.mipmaps) << what;
    }
}

// Also proves the rows upload packed: with the caller's alignment of 8,
// rows of 3 pixels (12 bytes) would be read from the wrong places.
TEST_F(Textures, TextureRowZeroIsTheImagesBottomRowAndTheAlignmentComesBack) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    for (const bool raw : {false, true}) {
        const Core::RefPtr<ITexture> texture =
            raw ? Load(SaveRaw("rows.raw", 3, 2), false) : Load(SavePng("rows.png", 3, 2), false);
        ExpectGL({{GL_UNPACK_ALIGNMENT, {8}}});
        // A raw file lists rows as the surface keeps them, bottom row first.
        const std::vector<Rgba> texels = LevelZeroTexels(*texture);
        ASSERT_EQ(texels.size(), 6u);
        for (std::uint32_t row = 0; row < 2; ++row) {
            for (std::uint32_t x = 0; x < 3; ++x) {
                EXPECT_EQ(texels[row * 3 + x], Distinct(x, raw ? row : 1 - row))
                    << (raw ? "raw " : "png ") << x << "," << row;
            }
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(Textures, UnreadableFilesGiveTheDefaultPattern) {
    testsupport::WriteBytes(dir.Path() + "/text.png", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    testsupport::WriteBytes(dir.Path() + "/broken.png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0});
    for (const std::string& name : {dir.Path() + "/missing.png", dir.Path() + "/text.png", dir.Path() + "/broken.png",
                                    dir.Path(), std::string()}) {
        const Core::RefPtr<ITexture> texture = Load(name, false);
        ASSERT_TRUE(texture) << name;
        EXPECT_EQ(texture->GetName(), Core::String(name));
        EXPECT_EQ(texture->GetWidth(), 256u) << name;
        EXPECT_EQ(texture->GetHeight(), 256u) << name;
        const std::vector<Rgba> texels = LevelZeroTexels(*texture);
        ASSERT_EQ(texels.size(), 256u * 256u) << name;
        EXPECT_EQ(texels[5 * 256 + 3], (Rgba{6, 6, 6, 255})) << name;
        EXPECT_EQ(texels[255 * 256 + 0], (Rgba{255, 255, 255, 255})) << name;
    }
    // With mipmaps GLU builds the chain.
    const Core::RefPtr<ITexture> mipmapped = Load(dir.Path() + "/missing too.png", true);
    EXPECT_TRUE(mipmapped->IsMipmapped());
    EXPECT_EQ(UploadedLevels(*mipmapped).size(), 9u);
}

TEST_F(Textures, UnloadAndReloadNeverDeleteANameTwice) {
    Core::RefPtr<ITexture> unloaded = Load(SavePng("a.png", 4, 4), false);
    const GLuint freed = unloaded->GetTextureName();
    unloaded->Unload();
    EXPECT_EQ(unloaded->GetTextureName(), 0u);
    EXPECT_FALSE(glIsTexture(freed));
    // The driver may hand the freed name to the next texture.
    const Core::RefPtr<ITexture> next = Load(SavePng("b.png", 4, 4), false);
    unloaded = nullptr;
    EXPECT_TRUE(glIsTexture(next->GetTextureName()));

    const Core::RefPtr<ITexture> mipmapped = Load(SavePng("c.png", 16, 4), true);
    const GLuint old = mipmapped->GetTextureName();
    mipmapped->Reload();
    const GLuint renewed = mipmapped->GetTextureName();
    EXPECT_TRUE(glIsTexture(renewed));
    EXPECT_TRUE(renewed == old || !glIsTexture(old)) << "the old texture was kept";
    EXPECT_EQ(UploadedLevels(*mipmapped).size(), 5u);
    EXPECT_TRUE(glIsTexture(next->GetTextureName()));
}

// Decoding already has its own fuzz tests; here the whole load runs on the
// real context and must always end with a usable texture.
TEST_F(Textures, MutatedFilesAlwaysGiveATexture) {
    const os::Image image = testsupport::MakeImage(12, 10, Distinct);
    testsupport::SavePng(image, dir.Path() + "/valid.png");
    testsupport::SaveBmp(image, dir.Path() + "/valid.bmp");
    testsupport::SaveJpg(image, dir.Path() + "/valid.jpg", 90);
    SaveRaw("valid.raw", 6, 5);
    std::mt19937 random(7041);
    for (const char* ending : {".png", ".bmp", ".jpg", ".raw"}) {
        const std::vector<std::uint8_t> valid = testsupport::ReadBytes(dir.Path() + "/valid" + ending);
        const std::string path = dir.Path() + "/mutated" + ending;
        for (int i = 0; i < 100; ++i) {
            testsupport::WriteBytes(path, testsupport::MutateFile(valid, random));
            const Core::RefPtr<ITexture> texture = Load(path, i % 2 == 0);
            const std::string what = std::string(ending) + " mutation " + std::to_string(i);
            ASSERT_TRUE(texture) << what;
            ASSERT_TRUE(glIsTexture(texture->GetTextureName())) << what;
            ASSERT_GE(texture->GetWidth(), 1u) << what;
            ASSERT_GE(texture->GetHeight(), 1u) << what;
            ASSERT_FALSE(UploadedLevels(*texture).empty()) << what;
        }
    }
    EXPECT_EQ(TextureManager::GetTextureCount(), 0u);
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

TEST_F(TexturesWithoutNonPowerOfTwo, SidesBecomeTheNearestPowerOfTwo) {
    ASSERT_FALSE(Renderer::IsExtensionSupported(kNonPowerOfTwo));
    struct Case {
        std::uint32_t width, height;
        TextureSize levelZero;
    };
    const Case cases[] = {{100, 60, {128, 64}}, {3, 3, {4, 4}}, {5, 5, {4, 4}}, {6, 6, {8, 8}}};
    for (const Case& c : cases) {
        // Both the decoded path and the raw surface path (rescaled by GLU).
        for (const bool raw : {false, true}) {
            const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + (raw ? " raw" : " png");
            const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height);
            const Core::RefPtr<ITexture> texture = raw ? Load(SaveRaw(name + ".raw", c.width, c.height), false)
                                                       : Load(SavePng(name + ".png", c.width, c.height), false);
            EXPECT_EQ(UploadedLevels(*texture), std::vector<TextureSize>{c.levelZero}) << what;
            EXPECT_EQ(texture->GetWidth(), c.width) << what;
            EXPECT_EQ(texture->GetHeight(), c.height) << what;
            EXPECT_FALSE(texture->IsMipmapped()) << what;
        }
    }
}

// Textures that outlive their renderer: the cache goes with the renderer and
// takes their OpenGL textures with it while the context is still current.
TEST(TextureLifetime, ATextureHeldPastItsRendererHasNothingLeftToDelete) {
    testsupport::TempDirectory dir;
    testsupport::SavePng(testsupport::FlatImage(4, 4, {1, 2, 3, 255}), dir.Path() + "/held.png");
    Core::RefPtr<ITexture> held;
    {
        const testsupport::ScopedVideoDriver driver("offscreen");
        Renderer::AdapterInformation adapter;
        PAL::Window window(16, 16);
        Renderer::DisplaySettings settings(16, 16);
        settings.window = &window;
        Core::RefPtr<Renderer::IRenderer> renderer = Renderer::CreateRenderer(settings);
        held = Load(dir.Path() + "/held.png", false);
        // The renderer's unit holds it too and lets go while its context lives.
        renderer->SetTexture(0, held);
        const GLuint name = held->GetTextureName();
        ASSERT_TRUE(glIsTexture(name));
        renderer = nullptr;
        EXPECT_FALSE(TextureManager::Exists());
    }
    EXPECT_EQ(held->GetTextureName(), 0u);
    EXPECT_FALSE(Load(dir.Path() + "/held.png", false)) << "no cache, no texture";
    const std::uint64_t ignoredBefore = os::gl::IgnoredCallCount();
    held = nullptr;
    EXPECT_EQ(os::gl::IgnoredCallCount(), ignoredBefore) << "a name was deleted without a context";
}

}  // namespace
