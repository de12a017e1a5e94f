#include "engine/Engine_Text.h"

#include "Engine_SceneTestSupport.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_TransformationGroup.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include "os/OS_Path.h"

#include <bit>
#include <cstring>
#include <random>

using Core::RefPtr;
using Engine::Text;
using enginetest::New;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Cells of 16, lines 20 apart, a space advance of 5; A: advance 10, cell offset 1.5, lead 2; B: 12, 2.25, 3.
RefPtr<Engine::BitmapFont> LoadFont(const testsupport::TempDirectory& dir) {
    Engine::FontFile file{{0, 0, 0, 16, 0, 0, 20, 0}};
    file.glyphs[0].advance = 5;
    file.glyphs['A' - 32] = {65, 0, 10, 0, 0, 0, 1.5f, 2, 0};
    file.glyphs['B' - 32] = {66, 0, 12, 0, 0, 0, 2.25f, 3, 0};
    testsupport::WriteBytes(dir.Path() + "/Font.tbf", Engine::EncodeFontFile(file, u"Face"));
    return New<Engine::BitmapFont>(Core::String(dir.Path() + "\\Font"));
}

RefPtr<Text> MakeText(const std::string& string, const RefPtr<Engine::BitmapFont>& font, bool screenFlag = false) {
    const RefPtr<Text> text = New<Text>(string.c_str(), screenFlag);
    text->SetFont(font);
    return text;
}

Bytes Saved(const Text& text) {
    Core::MemoryFile file;
    file << &text;
    return {file.GetData(), file.GetData() + file.GetSize()};
}

RefPtr<Text> ReadText(const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<Text>(Core::File::Reference::Owning);
}

using TextMeshes = testsupport::OffscreenRendererTest;  // fonts with textures (the placeholder image)

TEST_F(TextMeshes, CellsFollowAdvanceLeadAndCellOffsetAndEachByteOwnsSixVertices) {
    const testsupport::TempDirectory dir;
    const RefPtr<Text> text = MakeText("AB\rB\nB \tA\xC8", LoadFont(dir));
    // Each byte's cell by its bottom-left corner; blanks take zero vertices and coordinates. A line's first cell
    // is offset exactly, later ones by the offset rounded up after the lead; byte 200 shows the space.
    const float cells[][2] = {{-1.5f, 0}, {8, 0}, {}, {20, 0}, {}, {-2.25f, -20}, {}, {}, {34, -20}, {44, -20}};
    text->DrawSelf();
    const Engine::Mesh& mesh = *text->GetMesh();
    ASSERT_TRUE(mesh.GetVertices().size() == 60 && mesh.GetTexCoords().size() == 60);
    for (std::size_t i = 0; i < 60; ++i) {
        const int corner = std::array{0, 1, 2, 2, 3, 0}[i % 6];
        const char byte = text->GetText()[i / 6];
        const float shown = std::strchr(" \t\r\n", byte) ? 0.0f : 1.0f;
        Engine::BitmapFont::TexCoords uv{};
        text->GetFont()->GetGlyphTexCoords(static_cast<signed char>(byte), uv);
        const Vector3D& v = mesh.GetVertices()[i];
        EXPECT_EQ((std::array{v.x, v.y, v.z, mesh.GetTexCoords()[i].x, mesh.GetTexCoords()[i].y}),
                  (std::array{shown * (cells[i / 6][0] + (corner % 3 ? 16.0f : 0)),
                              shown * (cells[i / 6][1] + float(corner / 2) * 16), 0.0f, shown * uv[2 * corner],
                              shown * uv[2 * corner + 1]}));
    }
    EXPECT_EQ(text->GetEffect()->GetTexture(1), text->GetFont()->GetTexture());

    // A new string or font is laid out again at the next draw.
    text->SetText("B");
    text->DrawSelf();
    ASSERT_EQ(mesh.GetVertices().size(), 6u);
    EXPECT_EQ(mesh.GetVertices()[1].x, 16.0f - 2.25f);
    text->SetFont(New<Engine::BitmapFont>());
    text->DrawSelf();
    ASSERT_EQ(mesh.GetVertices().size(), 6u);
    EXPECT_EQ(mesh.GetVertices()[1].x, 0.0f) << "still the cells of the first font";
}

TEST_F(TextMeshes, StreamsKeepEveryFieldLoadTheFontByNameMakeANewEffectAndSurviveHostileBytes) {
    const testsupport::TempDirectory dir;
    const RefPtr<Engine::BitmapFont> font = LoadFont(dir);
    // The stream ends with colour, opacity, offset, the screen flag and the four kept values: all set here.
    Bytes bytes = Saved(*MakeText("AB\nA", font, true));
    for (int i = 0; i < 11; ++i)
        os::StoreU32LE(bytes.data() + bytes.size() - 45 + 4 * i + (i >= 7), std::bit_cast<std::uint32_t>(i + 0.5f));
    const RefPtr<Text> text = ReadText(bytes), clone(static_cast<Text*>(text->Clone()));
    EXPECT_TRUE(Saved(*text) == bytes && Saved(*clone) == bytes && text->GetScreenFlag());
    EXPECT_TRUE(text->GetFont() != font && text->GetFont()->GetName() == font->GetName());
    EXPECT_EQ(text->GetFont()->GetTexture(), font->GetTexture());
    // The screen flag's effect, new: the text effect, which has no culling state.
    EXPECT_EQ(text->GetEffect()->GetTechnique(0)->GetPass(0)->GetStateCount(), 5u);
    EXPECT_TRUE(clone->GetFont() == text->GetFont() && clone->GetEffect() == text->GetEffect());
    EXPECT_NE(clone->GetMesh(), text->GetMesh());
    EXPECT_FALSE(ReadText(Saved(*New<Text>()))->GetFont());
    std::mt19937 random(5131);
    for (std::size_t i = 0; i < bytes.size() + 2000; ++i) {
        Bytes hostile(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(i, bytes.size())));
        for (std::size_t flips = i < bytes.size() ? 0 : random() % 8 + 1; flips > 0; --flips)
            hostile[random() % hostile.size()] ^= std::uint8_t(random() % 255 + 1);
        if (const RefPtr<Text> text = ReadText(hostile)) text->DrawTree();
    }
}

using TextQueue = enginetest::SceneTest;  // fonts without textures

TEST_F(TextQueue, OnlyDrawableTextsInViewOrInTheHudAreQueuedWithTheOpacityAsAlpha) {
    const testsupport::TempDirectory dir;
    const RefPtr<Engine::BitmapFont> font = LoadFont(dir);
    const RefPtr<Engine::Camera> camera = New<Engine::Camera>(45.0f, 1.0f, 1000.0f);
    const RefPtr<Engine::TransformationGroup> group = New<Engine::TransformationGroup>();
    group->SetTransformation(Matrix4::Translation(30, 0, -500));
    scene->AddChild(camera);
    scene->AddChild(group);
    // Each text that must not draw has a length of its own, so that a wrong draw names it.
    const std::string outside = std::string(60, '\n') + "A";  // 60 lines down: out of view
    const RefPtr<Text> hidden = MakeText("AAAAAA", font), hud = MakeText(outside, font);
    for (const RefPtr<Text>& text :
         {MakeText("AB", font), MakeText("", font), MakeText("ABC", font, true), MakeText("ABCD", nullptr),
          MakeText(" \t\r\n ", font), hidden, MakeText(outside + "A", font), hud})
        group->AddChild(text);
    hidden->SetVisible(false, false);
    hud->SetHUDObject(true);
    hud->SetOpacity(0.5f);
    scene->SetViewportCount(1);
    scene->Render(camera, New<Engine::Viewport>(0, 0, 512, 384));
    // The HUD text comes last, in the overlay's own projection; its colour and placement are still set.
    EXPECT_EQ(Calls({"DrawIndexRange"}), (std::vector<std::string>{"DrawIndexRange 0 11", "DrawIndexRange 0 365"}));
    EXPECT_NE(renderer->draws.at(1).projection.m, renderer->draws.at(0).projection.m);
    EXPECT_EQ(std::pair(renderer->GetCurrentColor().r, renderer->GetCurrentColor().a), std::pair(1.0f, 0.5f));
    EXPECT_EQ(renderer->GetWorldMatrix().m, Matrix4::Translation(30, 0, -500).m);
}

// A stream keeps a font relative to the resources; reading takes it from
// the font cache, below the resources of the installation that reads.
TEST(TextFonts, StoredRelativeToTheResourcesAndReadThroughTheCache) {
    const testsupport::TempDirectory dir;
    const std::string saving = dir.Path() + "/Old", reading = dir.Path() + "/New", outside = dir.Path() + "\\Font";
    Engine::BitmapFontCache cache;
    Engine::BitmapFontCache::SetInstance(&cache);
    struct Case {
        std::string font, stored, read;
    };
    const Case cases[] = {
        {"", "Fonts\\DefaultFont\\DefaultFont", reading + "\\Resources\\Fonts\\DefaultFont\\DefaultFont"},
        {saving + "\\Resources\\Fonts\\Big\\Big", "Fonts\\Big\\Big", reading + "\\Resources\\Fonts\\Big\\Big"},
        {outside, outside, outside},
        // As older saves keep them: a full path below another installation's resources.
        {"/Moved\\Resources\\Fonts\\A\\A", "/Moved\\Resources\\Fonts\\A\\A", reading + "\\Resources\\Fonts\\A\\A"},
    };
    std::vector<Bytes> saves;
    os::SetExecutablePathForTesting(saving + "/Emberline");
    for (const Case& c : cases) {
        saves.push_back(Saved(*MakeText("A", Engine::BitmapFontCache::Get(c.font.c_str()))));
        const std::string bytes(saves.back().begin(), saves.back().end());
        EXPECT_TRUE(bytes.find(c.stored) != std::string::npos && (c.stored == c.font || bytes.find(saving) == bytes.npos))
            << c.font;
    }
    os::SetExecutablePathForTesting(reading + "/Emberline");
    cache.Clear();
    for (std::size_t i = 0; i < saves.size(); ++i) {
        const RefPtr<Text> first = ReadText(saves[i]), second = ReadText(saves[i]);
        EXPECT_TRUE(first && second && first->GetFont() == second->GetFont()) << i;
        EXPECT_EQ(first->GetFont()->GetName(), cases[i].read.c_str());
    }
    EXPECT_EQ(ReadText(saves[0])->GetFont(), Engine::BitmapFontCache::Get(""));
    os::SetExecutablePathForTesting("");
    Engine::BitmapFontCache::SetInstance(nullptr);
}

}  // namespace
