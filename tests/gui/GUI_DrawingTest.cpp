#include "GUI_TestScene.h"

#include "core/Core_MemoryFile.h"
#include "engine/Engine_BitmapFontCache.h"
#include "gui/GUI_ImageRenderContext.h"
#include "renderer/Renderer_States.h"

#include <cmath>
#include <limits>

using Core::RefPtr;
using GUI::NRectangle;
using GUI::TRectangle;
using guitest::New;

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Rectangles, IntersectWritesTheOverlapAndValidityNeedsOneUnit) {
    const struct {
        NRectangle a, b, overlap;
        bool valid;
    } cases[] = {
        {{0, 0, 10, 10}, {10, 0, 10, 10}, {10, 0, 0, 10}, false},  // touching: written, not valid
        {{0, 0, 10, 10}, {9, 0, 10, 10}, {9, 0, 1, 10}, true},
        {{0, 0, 10, 10}, {20, 30, 5, 5}, {20, 30, -10, -20}, false},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, true},
    };
    for (const auto& c : cases) {
        NRectangle out(7, 7, 7, 7);
        EXPECT_EQ(NRectangle::Intersect(out, c.a, c.b), c.valid);
        EXPECT_EQ(out, c.overlap);
    }
    const NRectangle r(10, 20, 30, 40);
    for (const auto& [x, y, inside] : {std::tuple{10.f, 30.f, true}, {40.f, 30.f, true}, {20.f, 20.f, true},
                                       {20.f, 60.f, true}, {9.9f, 30.f, false}, {20.f, 60.1f, false}}) {
        EXPECT_EQ(r.IsInside(x, y), inside) << x << " " << y;
    }
    EXPECT_FALSE(NRectangle(0, 0, NAN, 5).IsValid());
}

TEST(Rectangles, ClippingCutsTextureCornersInProportion) {
    // A 16-wide cell whose texture spans u 0.5..0.75, v 0.25..0.5, clipped 4 on the left and 8 on top.
    TRectangle cell(0, 0, 16, 16);
    cell.SetTexCoord(0, {0.5f, 0.25f});
    cell.SetTexCoord(1, {0.75f, 0.25f});
    cell.SetTexCoord(2, {0.75f, 0.5f});
    cell.SetTexCoord(3, {0.5f, 0.5f});
    TRectangle out;
    ASSERT_TRUE(GUI::ClipTRectangle(out, cell, NRectangle(4, -10, 100, 18)));
    EXPECT_EQ(NRectangle(out), NRectangle(4, 0, 12, 8));
    const Vector2D expected[] = {{0.5625f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.375f}, {0.5625f, 0.375f}};
    for (std::size_t corner = 0; corner < 4; ++corner) {
        EXPECT_EQ(out.GetTexCoord(corner), expected[corner]) << corner;
    }
    TRectangle untouched(1, 2, 3, 4);
    EXPECT_FALSE(GUI::ClipTRectangle(untouched, cell, NRectangle(16, 0, 10, 10)));
    EXPECT_EQ(untouched, TRectangle(1, 2, 3, 4));
}

TEST(Rectangles, StreamsAreTheFloatsInOrder) {
    TRectangle r(1, 2, 3, 4);
    r.SetTexCoord(2, {5, 6});
    Core::MemoryFile file;
    r.Write(file);
    EXPECT_EQ(file.GetSize(), 48u);
    Core::MemoryFile in(file.GetData(), 47);
    TRectangle read;
    read.Read(in);
    EXPECT_TRUE(in.HasFailed() && read == TRectangle());
    Core::MemoryFile whole(file.GetData(), 48);
    read.Read(whole);
    EXPECT_EQ(read, r);
}

using ImageQuads = guitest::GuiScene;

TEST_F(ImageQuads, CornersFollowTheFlipsAlphaIsTheOpacityAndClippedAwayQuadsAreNotQueued) {
    const RefPtr<Renderer::ITexture> texture = New<testsupport::FakeTexture>(8, 8);
    const std::pair<bool, bool> flips[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    const std::size_t orders[][4] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1}};
    const TRectangle rect(10, 20, 30, 40);
    for (std::size_t i = 0; i < 4; ++i) {
        const RefPtr<GUI::ImageRenderContext> quad = New<GUI::ImageRenderContext>();
        graphics->Reset();
        graphics->SetFlip(flips[i].first, flips[i].second);
        graphics->SetColor(Color(0.1f, 0.2f, 0.3f, 0.9f));
        graphics->SetOpacity(0.4f);
        graphics->SetDepth(7);
        graphics->BuildImageQuad(*quad, rect, texture);
        for (std::size_t corner = 0; corner < 4; ++corner) {
            EXPECT_EQ(quad->texCoords[corner], rect.GetTexCoord(orders[i][corner])) << i << corner;
        }
        EXPECT_TRUE(quad->color.r == 0.1f && quad->color.b == 0.3f && quad->color.a == 0.4f && quad->depth == 7);
        EXPECT_TRUE(quad->corners[0].x == 10 && quad->corners[0].y == 20 && quad->corners[2].x == 40 &&
                    quad->corners[2].y == 60 && quad->corners[3].z == 0);
        EXPECT_TRUE(quad->texture == texture && quad->effect == graphics->GetImageEffect());
    }
    const RefPtr<GUI::ImageRenderContext> quad = New<GUI::ImageRenderContext>();
    graphics->SetClip(NRectangle(100, 100, 10, 10));
    graphics->BuildImageQuad(*quad, rect, texture);
    GUI::Graphics::SubmitImage(quad);
    EXPECT_TRUE(quad->visible == 0 && quad->effect == nullptr && Queued() == 0);
}

// Both image effects are shared by every quad: each quad must carry the
// filter of the effect it was built with, or the linear one turns nearest
// after the first quad drawn with it.
TEST_F(ImageQuads, TheSmoothFlagPicksTheLinearEffectAndTheQuadKeepsItsFilterForTheDraw) {
    const RefPtr<Renderer::ITexture> texture = New<testsupport::FakeTexture>(8, 8);
    const RefPtr<GUI::ImageRenderContext> smooth = New<GUI::ImageRenderContext>();
    const RefPtr<GUI::ImageRenderContext> sharp = New<GUI::ImageRenderContext>();
    graphics->SetSmoothFiltering(true);
    graphics->BuildImageQuad(*smooth, TRectangle(0, 0, 8, 8), texture);
    graphics->Reset();
    graphics->BuildImageQuad(*sharp, TRectangle(0, 0, 8, 8), texture);
    EXPECT_EQ(smooth->effect, graphics->GetSmoothImageEffect());
    for (int frame = 0; frame < 2; ++frame) {
        smooth->UpdateEffect();
        EXPECT_EQ(graphics->GetSmoothImageEffect()->GetTextureUnitState()->filter, 1);
        sharp->UpdateEffect();
        EXPECT_EQ(graphics->GetImageEffect()->GetTextureUnitState()->filter, 0);
    }
    GUI::Graphics::SubmitImage(smooth);
    queue.SetRenderer(renderer.Get());
    queue.DrawScreenObjects();
    EXPECT_EQ(renderer->Count("DrawIndexRange 0 5"), 1);
}

TEST_F(ImageQuads, TheImageEffectHoldsItsFiveStatesAndAppliesTheSelector) {
    const RefPtr<GUI::ImageEffect> effect = New<GUI::ImageEffect>(GUI::ImageEffect::kLinear);
    const RefPtr<Renderer::Pass> pass = effect->GetTechnique(0)->GetPass(0);
    ASSERT_EQ(pass->GetStateCount(), 5u);
    auto* unit = dynamic_cast<Renderer::TextureUnit0State*>(pass->GetState(0).Get());
    auto* depth = dynamic_cast<Renderer::DepthBufferState*>(pass->GetState(1).Get());
    auto* blending = dynamic_cast<Renderer::AlphaBlendingState*>(pass->GetState(2).Get());
    auto* test = dynamic_cast<Renderer::AlphaTestingState*>(pass->GetState(3).Get());
    auto* lighting = dynamic_cast<Renderer::LightingState*>(pass->GetState(4).Get());
    ASSERT_TRUE(unit && depth && blending && test && lighting);
    EXPECT_TRUE(unit == effect->GetTextureUnitState().Get() && unit->enabled && !unit->oneDimensional);
    EXPECT_TRUE(unit->environmentMode == 2 && unit->filter == 1 && unit->wrapS == 2 && unit->wrapT == 2);
    EXPECT_TRUE(depth->enabled && depth->compareFunction == 1 && !depth->writeEnabled);
    EXPECT_TRUE(blending->enabled && blending->sourceFactor == 6 && blending->destinationFactor == 7);
    EXPECT_TRUE(test->enabled && test->compareFunction == 6 && test->reference == 0.0f);
    EXPECT_TRUE(!lighting->enabled && lighting->localViewer && lighting->ambient.r == 0.2f);
    effect->filterSelector = 0;
    effect->UpdateStates();
    EXPECT_EQ(unit->filter, 0);
    // A copy follows its own state.
    const RefPtr<GUI::ImageEffect> copy(static_cast<GUI::ImageEffect*>(effect->Clone()));
    copy->filterSelector = 1;
    copy->UpdateStates();
    EXPECT_TRUE(copy->GetTextureUnitState()->filter == 1 && unit->filter == 0);
    EXPECT_EQ(copy->GetTechnique(0)->GetPass(0)->GetState(0), copy->GetTextureUnitState());
}

// Cells of 16, lines 20 apart, a space advance of 5; A: advance 10, cell offset 1.5, lead 2; B: 12, 2.25, 3.
Engine::FontFile TestFont() {
    Engine::FontFile file{{0, 0, 0, 16, 0, 0, 20, 0}};
    file.glyphs[0].advance = 5;
    file.glyphs['A' - 32] = {65, 10, 10, 16, 0, 0, 1.5f, 2, 0};
    file.glyphs['B' - 32] = {66, 12, 12, 16, 0, 0, 2.25f, 3, 0};
    return file;
}

class Texts : public guitest::GuiScene {
protected:
    // The lower-left corners of the glyph quads of the text drawn at (100, 50).
    std::vector<Vector2D> Cells(std::string_view text) {
        graphics->DrawText(*context, {100, 50}, text, font.Get());
        std::vector<Vector2D> cells;
        for (std::size_t i = 0; i < context->vertices.size(); i += 4) {
            cells.emplace_back(context->vertices[i].x, context->vertices[i].y);
        }
        return cells;
    }

    RefPtr<Engine::BitmapFont> font = resources.WriteFont("TestFont", TestFont());
    RefPtr<Engine::StringRenderContext> context = New<Engine::StringRenderContext>();
};

TEST_F(Texts, GlyphsFollowAdvanceLeadOffsetTabsAndLineFeeds) {
    const struct {
        std::string_view text;
        std::vector<Vector2D> cells;
    } cases[] = {
        // A line's first glyph at x - offset exactly; later ones at pen + lead - ceil(offset).
        {"AB", {{98.5f, 50}, {108, 50}}},
        {"A\rB", {{98.5f, 50}, {108, 50}}},
        {"A\tB", {{98.5f, 50}, {128, 50}}},  // four space advances more
        {"A\n\nB", {{98.5f, 50}, {97.75f, 10}}},
        {" A", {{105 + 2 - 2, 50}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cells(c.text), c.cells) << c.text;
        EXPECT_EQ(context->visible, 1);
    }
    Engine::BitmapFont::TexCoords uv;
    font->GetGlyphTexCoords('B', uv);
    EXPECT_TRUE(context->texCoords[4] == Vector2D(uv[0], uv[1]) && context->texCoords[6] == Vector2D(uv[4], uv[5]));
    EXPECT_TRUE(context->effect == graphics->GetImageEffect() && context->texture == font->GetTexture());
}

TEST_F(Texts, ClippedGlyphsLeaveNoGapAndTextOutsideTheClipQueuesNothing) {
    graphics->SetClip(NRectangle(115, 0, 500, 500));  // cuts A (98.5..114.5) away, B in part
    graphics->SetOpacity(0.5f);
    graphics->SetColor(Color(1, 0, 0, 1));
    EXPECT_EQ(Cells("ABB"), (std::vector<Vector2D>{{115, 50}, {120, 50}}));
    EXPECT_EQ(context->indices, (std::vector<std::uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    EXPECT_TRUE(context->color.r == 1 && context->color.a == 0.5f);
    const RefPtr<Engine::StringRenderContext> drawn = context;
    GUI::Graphics::SubmitText(drawn);
    EXPECT_EQ(Queued(), 1u);

    graphics->SetClip(NRectangle(0, 500, 50, 50));
    EXPECT_TRUE(Cells("AB").empty());
    EXPECT_TRUE(context->visible == 0 && context->indices.empty() && context->texCoords.empty());
    GUI::Graphics::SubmitText(drawn);
    EXPECT_EQ(Queued(), 1u);
    graphics->DrawText(*context, {100, 50}, "AB", nullptr);
    EXPECT_EQ(context->visible, 0);
}

// 16-bit indices reach 4 x 16,384 vertices: further glyphs are dropped
// rather than wrapped onto the first ones.
TEST_F(Texts, IndicesNeverWrap) {
    const std::string text(20000, 'A');
    graphics->SetClip(NRectangle(-1e9f, -1e9f, 3e9f, 3e9f));
    graphics->DrawText(*context, {0, 0}, text, font.Get());
    ASSERT_EQ(context->indices.size(), 6u * GUI::Graphics::kMaxGlyphQuads);
    EXPECT_EQ(context->vertices.size(), 4u * GUI::Graphics::kMaxGlyphQuads);
    EXPECT_EQ(context->indices.back(), 65535);
}

TEST_F(Texts, TheStringContextDrawsOnlyWithEffectAndTexture) {
    EXPECT_EQ(context->GetKind(), 1u);
    EXPECT_TRUE(context->GetVertices() == nullptr && context->GetIndices() == nullptr && !context->IsDrawable());
    Cells("AB");
    EXPECT_TRUE(context->IsDrawable() && context->GetIndexCount() == 12);
    context->Reset();
    EXPECT_TRUE(!context->IsDrawable() && context->GetIndexCount() == 0 && context->color.a == 1);
}

TEST_F(Texts, SaveAndLoadRestoreEveryFieldAndTheFontByName) {
    graphics->SetColor(Color(0.1f, 0.2f, 0.3f, 0.4f));
    graphics->SetClip(NRectangle(1, 2, 3, 4));
    graphics->SetDepth(5);
    graphics->SetOpacity(0.6f);
    graphics->SetFlip(true, false);
    graphics->SetSmoothFiltering(true);
    graphics->SetFont(font);
    Core::MemoryFile file;
    graphics->Save(file);
    const Bytes saved(file.GetData(), file.GetData() + file.GetSize());
    EXPECT_EQ(saved.size(), 16 + 16 + 8 + 4 + 2 + 4 + 4 + 8u);

    graphics = nullptr;
    graphics = std::make_unique<GUI::Graphics>();
    for (std::size_t cut = 0; cut < saved.size(); ++cut) {
        Core::MemoryFile truncated(saved.data(), static_cast<std::uint32_t>(cut));
        graphics->Load(truncated);
        EXPECT_TRUE(graphics->GetDepth() == 0 && graphics->GetFont() == nullptr) << cut;
    }
    Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
    graphics->Load(in);
    Core::MemoryFile again;
    graphics->Save(again);
    EXPECT_EQ(Bytes(again.GetData(), again.GetData() + again.GetSize()), saved);
    EXPECT_EQ(graphics->GetFont(), font);
    EXPECT_TRUE(graphics->GetFlipHorizontal() && !graphics->GetFlipVertical() && graphics->GetSmoothFiltering());
    EXPECT_TRUE(graphics->GetLineFactor() == 1 && graphics->GetLinePattern() == 0xAAAA && !graphics->GetLineFlag());
}

TEST_F(Texts, TheGraphicsObjectIsCurrentUntilItGoesAndResetsTheClipToTheScreen) {
    EXPECT_EQ(GUI::Graphics::GetInstance(), graphics.get());
    graphics->SetClip(NRectangle(1, 2, 3, 4));
    graphics->Reset();
    EXPECT_EQ(graphics->GetClip(), NRectangle(0, 0, 1024, 768));
    EXPECT_NE(graphics->GetWhiteTexture(), nullptr);
    EXPECT_EQ(textures.Requests().front().fileName, resources.Root() + "\\Resources\\Skins\\White.png");
    EXPECT_TRUE(textures.Requests().front().mipmaps);
    graphics = nullptr;
    EXPECT_EQ(GUI::Graphics::GetInstance(), nullptr);
}

}  // namespace
