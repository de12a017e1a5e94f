#include "engine/Engine_Text.h"

#include "Engine_SceneTestSupport.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_TransformationGroup.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"

#include <array>
#include <bit>
#include <cstring>
#include <random>

using Core::RefPtr;
using Engine::Text;
using enginetest::New;

namespace {

// Cells of 16 pixels, lines 20 apart, a space advance of 5; A: advance 10, cell offset 1.5, lead 2;
// B: advance 12, cell offset 2.25, lead 3. No image: with a renderer the font shows the placeholder.
Core::String WriteFont(const testsupport::TempDirectory& dir) {
    Engine::FontFile file{{0, 0, 0, 16, 0, 0, 20, 0}};
    file.glyphs[0].advance = 5;
    file.glyphs['A' - 32] = {65, 0, 10, 0, 0, 0, 1.5f, 2, 0};
    file.glyphs['B' - 32] = {66, 0, 12, 0, 0, 0, 2.25f, 3, 0};
    const std::vector<std::uint8_t> bytes = Engine::EncodeFontFile(file, u"Test");
    dir.WriteFile("Font.tbf", std::string(bytes.begin(), bytes.end()));
    return Core::String(dir.Path() + "\\Font");
}

RefPtr<Text> MakeText(const char* string, const RefPtr<Engine::BitmapFont>& font, bool screenFlag = false) {
    const RefPtr<Text> text = New<Text>(string, screenFlag);
    text->SetFont(font);
    return text;
}

std::vector<std::uint8_t> Saved(const Core::Object& object) {
    Core::MemoryFile file;
    file.WriteObject(&object);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

RefPtr<Text> Read(const std::vector<std::uint8_t>& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<Text>(Core::File::Reference::Owning);
}

class TextLayout : public testsupport::OffscreenRendererTest {
protected:
    testsupport::TempDirectory dir;
    RefPtr<Engine::BitmapFont> font = New<Engine::BitmapFont>(WriteFont(dir));
};

// Each byte's six vertices (x, y, z) and coordinates (u, v): zero for a blank (code 0), else the cell of
// the code's corners 0, 1, 2, 2, 3, 0 from its bottom-left corner.
struct Cell {
    int code;
    float left, bottom;
};
std::vector<float> Expected(const Engine::BitmapFont& font, std::initializer_list<Cell> cells) {
    std::vector<float> out;
    for (const Cell& cell : cells) {
        Engine::BitmapFont::TexCoords uv{};
        font.GetGlyphTexCoords(cell.code, uv);
        for (const int corner : {0, 1, 2, 2, 3, 0}) {
            const float x = cell.left + (corner == 1 || corner == 2 ? 16.0f : 0.0f);
            const float y = cell.bottom + (corner >= 2 ? 16.0f : 0.0f);
            out.insert(out.end(), cell.code == 0
                                      ? std::initializer_list<float>{0, 0, 0, 0, 0}
                                      : std::initializer_list<float>{x, y, 0, uv[2 * corner], uv[2 * corner + 1]});
        }
    }
    return out;
}

TEST_F(TextLayout, CellsFollowTheAdvanceLeadAndCellOffsetAndEveryByteOwnsSixVertices) {
    // B after A: 10 - 2 + 3 - ceil(2.25); after a blank the pen has moved, so the offset is rounded up.
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"AB", Expected(*font, {{'A', -1.5f, 0}, {'B', 8, 0}})},
        {"A\nB", Expected(*font, {{'A', -1.5f, 0}, {0, 0, 0}, {'B', -2.25f, -20}})},
        {"A\rB", Expected(*font, {{'A', -1.5f, 0}, {0, 0, 0}, {'B', 8, 0}})},
        {" \tA", Expected(*font, {{0, 0, 0}, {0, 0, 0}, {'A', 25, 0}})},
        {"\xC8\x07", Expected(*font, {{' ', 0, 0}, {' ', 5, 0}})},
    };
    for (const auto& [string, expected] : cases) {
        const RefPtr<Text> text = MakeText(string, font);
        text->DrawSelf();
        const Engine::Mesh& mesh = *text->GetMesh();
        ASSERT_EQ(mesh.GetVertices().size(), mesh.GetTexCoords().size());
        std::vector<float> laid;
        for (std::size_t i = 0; i < mesh.GetVertices().size(); ++i) {
            const Vector3D& v = mesh.GetVertices()[i];
            laid.insert(laid.end(), {v.x, v.y, v.z, mesh.GetTexCoords()[i].x, mesh.GetTexCoords()[i].y});
        }
        EXPECT_EQ(laid, expected) << string;
        EXPECT_EQ(mesh.GetSubRange(0).last, 6 * std::strlen(string) - 1);
        EXPECT_EQ(text->GetEffect()->GetTexture(1), font->GetTexture());
    }
}

using TextStream = TextLayout;

std::uint32_t PassStates(const RefPtr<Renderer::Effect>& effect) {
    return effect->GetTechnique(0)->GetPass(0)->GetStateCount();
}

TEST_F(TextStream, ReadBackEveryFieldIsEqualWithTheFontLoadedByNameAndANewEffect) {
    Engine::BitmapFontCache cache;
    Engine::BitmapFontCache::SetInstance(&cache);
    const RefPtr<Text> text = MakeText("AB", Engine::BitmapFontCache::Get(WriteFont(dir)));
    Engine::BitmapFontCache::SetInstance(nullptr);
    text->SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    text->SetOpacity(0.5f);
    text->SetName("label");
    // The stream ends with the offset (x, y), the screen flag and the four kept values.
    std::vector<std::uint8_t> bytes = Saved(*text);
    for (int i = 0; i < 6; ++i) {
        os::StoreU32LE(bytes.data() + bytes.size() - 25 + 4 * i + (i >= 2), std::bit_cast<std::uint32_t>(i + 0.5f));
    }
    for (const std::uint8_t screenFlag : {0, 1}) {
        bytes[bytes.size() - 17] = screenFlag;
        const RefPtr<Text> read = Read(bytes);
        ASSERT_TRUE(read);
        EXPECT_EQ(Saved(*read), bytes);
        EXPECT_TRUE(read->GetFont() != text->GetFont() && read->GetFont()->GetName() == text->GetFont()->GetName());
        EXPECT_EQ(read->GetFont()->GetTexture(), text->GetFont()->GetTexture());
        EXPECT_TRUE(read->GetEffect() != text->GetEffect() && PassStates(read->GetEffect()) == 6u - screenFlag);

        const RefPtr<Text> clone(static_cast<Text*>(read->Clone()));
        EXPECT_EQ(Saved(*clone), bytes);
        EXPECT_TRUE(clone->GetFont() == read->GetFont() && clone->GetEffect() == read->GetEffect());
        EXPECT_NE(clone->GetMesh(), read->GetMesh());
    }
    EXPECT_FALSE(Read(Saved(*New<Text>()))->GetFont());
}

class TextQueue : public enginetest::SceneTest {
protected:
    // The text under a group placed at (x, 0, 0), drawn from 500 units up the z axis.
    RefPtr<Text> Placed(const RefPtr<Text>& text, float x) {
        const RefPtr<Engine::TransformationGroup> group = New<Engine::TransformationGroup>();
        group->SetTransformation(Matrix4::Translation(x, 0, 0));
        scene->AddChild(group);
        group->AddChild(text);
        return text;
    }
    std::size_t Queued() const {
        return scene->GetRenderQueue().GetBlendedCount() + scene->GetRenderQueue().GetOverlayCount();
    }

    testsupport::TempDirectory dir;
    RefPtr<Engine::BitmapFont> font = New<Engine::BitmapFont>(WriteFont(dir));
};

TEST_F(TextQueue, OnlyVisibleFlaglessTextsWithFontAndCellsAreQueued) {
    const std::pair<RefPtr<Text>, std::size_t> cases[] = {{MakeText("AB", font), 1},       {MakeText("", font), 0},
                                                          {MakeText("AB", font, true), 0}, {MakeText("AB", nullptr), 0},
                                                          {MakeText(" \t\r\n ", font), 0}, {MakeText("AB", font), 0}};
    cases[5].first->SetVisible(false, false);
    for (const auto& [text, queued] : cases) {
        text->DrawTree();
        EXPECT_EQ(Queued(), queued) << text->GetText() << " " << text->GetScreenFlag();
        Queue().EndFrame();
    }
}

TEST_F(TextQueue, TextsOutsideTheViewAreDroppedUnlessHudAndDrawWithTheOpacityAsAlpha) {
    const RefPtr<Engine::Camera> camera = New<Engine::Camera>(45.0f, 1.0f, 1000.0f);
    const RefPtr<Engine::TransformationGroup> stand = New<Engine::TransformationGroup>();
    stand->SetTransformation(Matrix4::Translation(0, 0, 500));
    stand->AddChild(camera);
    scene->AddChild(stand);
    scene->SetViewportCount(1);
    const RefPtr<Text> seen = Placed(MakeText("AB", font), 30), hud = Placed(MakeText("A", font), 5000);
    Placed(MakeText("B", font), 5000);
    hud->SetHUDObject(true);
    hud->SetColor({0.25f, 0.5f, 0.75f, 0.0f});
    hud->SetOpacity(0.5f);
    scene->UpdateAsCurrent(0.0f);
    scene->Render(camera, New<Engine::Viewport>(0, 0, 512, 384));
    // The overlay is drawn last, in the colour of its item and placed by the HUD text's parent.
    EXPECT_EQ(Calls({"DrawIndexRange"}), (std::vector<std::string>{"DrawIndexRange 0 11", "DrawIndexRange 0 5"}));
    const Color color = renderer->GetCurrentColor();
    EXPECT_EQ((std::array{color.r, color.g, color.b, color.a}), (std::array{0.25f, 0.5f, 0.75f, 0.5f}));
    EXPECT_EQ(renderer->GetWorldMatrix().m, Matrix4::Translation(5000, 0, 0).m);
}

TEST_F(TextQueue, HostileStreamsReadIntoTextsThatDrawOrIntoNothing) {
    const RefPtr<Text> text = MakeText("AB\nA", font);
    text->SetHUDObject(true);
    const std::vector<std::uint8_t> valid = Saved(*text);
    std::mt19937 random(5131);
    for (std::size_t i = 0; i < valid.size() + 2000; ++i) {
        std::vector<std::uint8_t> bytes(valid.begin(), valid.begin() + std::ptrdiff_t(std::min(i, valid.size())));
        for (std::size_t flips = i < valid.size() ? 0 : random() % 8 + 1; flips > 0; --flips) {
            bytes[random() % bytes.size()] ^= std::uint8_t(random() % 255 + 1);
        }
        if (const RefPtr<Text> read = Read(bytes)) {
            read->DrawTree();
            Queue().Flush();
            Queue().EndFrame();
        }
    }
}

}  // namespace
