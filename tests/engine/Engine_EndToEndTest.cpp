#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_EngineRun.h"
#include "engine/Engine_FontFile.h"
#include "engine/Engine_Lines.h"
#include "engine/Engine_ParticleSystem.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_Text.h"
#include "engine/Engine_TransformationGroup.h"
#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

// A whole scene drawn through EngineRun and the application on Mesa (SDL's
// offscreen driver), checked at probe pixels. The first camera stands so
// that world (x, y, 0) is window pixel (x, y).
namespace {

using Core::RefPtr;
using testsupport::Rgba;
constexpr std::int32_t kWidth = 320, kHeight = 240;
const float kEyeDistance = static_cast<float>(kHeight / (2.0 * std::tan(std::numbers::pi / 8.0)));

constexpr Rgba kBackground{60, 60, 60, 255}, kCorner{0, 96, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255},
    kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kWhite{255, 255, 255, 255}, kTeal{0, 128, 128, 255}, kClear{};
// Frames drawn (RGB rows from the bottom), Shutdown calls, run by run.
std::vector<std::vector<std::uint8_t>> g_frames;
int g_shutdowns = 0;

Core::String Asset(const char* name) { return GetExecutableDirectory() + "\\Resources\\Textures\\" + name; }
RefPtr<Renderer::ITexture> Texture(const char* name) { return TextureManager::GetTexture(Asset(name), true); }

RefPtr<Engine::Sprite> SpriteOf(const char* sheet, std::uint32_t side, std::vector<Engine::SpriteFrame> frames) {
    Core::RefPtrVector<Engine::SpriteAnimation> animations;
    animations.push_back(TUN_NEW(Engine::SpriteAnimation, Texture(sheet), side, side, frames));
    return TUN_NEW(Engine::Sprite, animations);
}

// The opaque list's kind of leaf: a two-triangle textured mesh over world
// rectangle (110, 150)-(170, 210), non-blended, sub-range flag 0.
struct MeshLeaf : Engine::Node {
    explicit MeshLeaf(const RefPtr<Renderer::ITexture>& texture) {
        effect->SetTexture(1, texture);
        mesh->AddSubRange({0, 5, 0, 0});
        const float corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0}};
        for (std::uint32_t i = 0; i < 6; ++i) {
            mesh->AddVertex({110 + 60 * corners[i][0], 150 + 60 * corners[i][1], 0});
            mesh->AddTexCoord({corners[i][0], corners[i][1]});
            mesh->AddIndex(i);
        }
    }
    void DrawTree() override { DrawSelf(); }
    void DrawSelf() override {
        RenderItem item;
        std::tie(item.effect, item.mesh, item.subRange) = std::tuple(effect, mesh, 0);
        RenderQueue::GetInstance()->Submit(item);
    }
    RefPtr<Engine::Mesh> mesh = TUN_NEW(Engine::Mesh);
    RefPtr<Renderer::Effect> effect = Renderer::CreateTexturedEffect();
};

// The cached values a frame must leave as it found them (the world matrix
// and current colour are the last item's); after a frame, OpenGL's own
// switches must agree with them.
std::vector<float> CachedStates(Renderer::IRenderer& r, bool afterFrame) {
    Renderer::AlphaBlendingState b;
    Renderer::DepthBufferState d;
    Renderer::AlphaTestingState a;
    Renderer::CullingState c;
    Renderer::LightingState l;
    Renderer::TextureUnit0State u;
    Renderer::ScissorState s;
    r.GetAlphaBlendingState(b), r.GetDepthBufferState(d), r.GetAlphaTestingState(a), r.GetCullingState(c);
    r.GetLightingState(l), r.GetTextureUnit0State(u), r.GetScissorState(s);
    const Renderer::Viewport v = r.GetViewport();
    std::vector<float> values = {float(b.enabled), float(b.sourceFactor), float(b.destinationFactor), float(d.enabled)};
    values.insert(values.end(), {float(d.writeEnabled), float(d.compareFunction), float(a.enabled), a.reference});
    values.insert(values.end(), {float(a.compareFunction), float(c.enabled), float(l.enabled), float(u.enabled)});
    values.insert(values.end(), {float(u.environmentMode), float(u.filter), float(s.enabled), float(s.x), float(s.y)});
    values.insert(values.end(), {float(s.width), float(s.height), float(v.x), float(v.y), float(v.width)});
    values.insert(values.end(), {float(v.height), float(r.GetTexture(0) != nullptr), float(r.GetPrimitiveType())});
    for (const Matrix4& m : {r.GetProjectionMatrix(), r.GetViewMatrix(), r.GetTextureMatrix(0)}) {
        values.insert(values.end(), m.m.begin(), m.m.end());
    }
    const std::array<bool, 4> cached = {b.enabled, d.enabled, u.enabled, s.enabled};
    const std::array<bool, 4> opengl = {glIsEnabled(GL_BLEND) != 0, glIsEnabled(GL_DEPTH_TEST) != 0,
                                        glIsEnabled(GL_TEXTURE_2D) != 0, glIsEnabled(GL_SCISSOR_TEST) != 0};
    EXPECT_TRUE(!afterFrame || cached == opengl) << "GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_SCISSOR_TEST";
    return values;
}

class SceneApplication : public Engine::RenderingApplication {
public:
    SceneApplication() : RenderingApplication({kWidth, kHeight, 60, 0, false, false}) {
        LockFrameRate(false);
        for (int i = 0; i < 2; ++i) {
            cameras[i] = TUN_NEW(Engine::Camera, 45.0f, 1.0f, 10000.0f);
            Place(i == 0 ? 160.0f : 5000.0f, i == 0 ? 120.0f : 5000.0f, cameras[i], kEyeDistance);
        }
        viewports[0] = TUN_NEW(Engine::Viewport, 0, 0, kWidth, kHeight);
        viewports[0]->SetClearColor({0, 0, 1, 1});
        viewports[0]->SetBackground(Asset("background.png"));
        viewports[1] = TUN_NEW(Engine::Viewport, 220, 160, 100, 80);
        viewports[1]->SetClearColor({0, 96 / 255.0f, 0, 1});
        // Two sprites of one sheet, drawn one after the other; the first twice its size.
        const RefPtr<Engine::Sprite> animated = SpriteOf("sheet.png", 32, {{0, 0, 0.1f}, {1, 0, 0.1f}});
        animated->SetPlaying(true);
        Place(60, 60, animated, 0, 2);
        const RefPtr<Engine::Sprite> flipped = SpriteOf("sheet.png", 32, {{0, 1, 1}});
        flipped->SetFlipHorizontal(true);
        Place(160, 60, flipped);
        const RefPtr<Engine::ParticleSystem> particles = TUN_NEW(Engine::ParticleSystem, Texture("white.png"), 2);
        particles->SetBoundingSize(64);
        particles->GetParticles() = {{{-20, 0, 0}, {1, 1}, 0, {1, 0.5f, 0, 1}},
                                     {{20, 0, 0}, {1, 1}, 0, {0.5f, 0, 1, 1}}};
        Place(220, 120, particles);
        const RefPtr<Engine::Lines> line = TUN_NEW(Engine::Lines);
        line->AddLine({20, 130.5f, 0}, {120, 130.5f, 0});
        line->SetColor({0, 1, 1, 1});
        scene->AddChild(line);
        scene->AddChild(RefPtr<Engine::Node>(TUN_NEW(MeshLeaf, Texture("teal.png"))));
        // "AA" in a font whose 16-pixel 'A' cell is solid: cells over (200, 20)-(216, 36) and (224, 20)-(240, 36).
        const RefPtr<Engine::Text> text = TUN_NEW(Engine::Text, "AA", false);
        text->SetFont(TUN_NEW(Engine::BitmapFont, GetExecutableDirectory() + "\\Resources\\Fonts\\Test"));
        text->SetColor({1, 1, 1, 1});
        Place(200, 20, text);
        const RefPtr<Engine::Sprite> hud = SpriteOf("white.png", 16, {{0, 0, 1}});
        hud->SetModulationColor({1, 0, 1, 1});
        hud->SetHUDObject(true);
        Place(28 - kWidth / 2, 188 - kHeight / 2, hud);  // window pixels (20, 180)-(36, 196)
        std::tie(screen->effect, screen->texture, screen->color) =
            std::tuple(Renderer::CreateTexturedEffect(), Texture("white.png"), Color(1, 1, 1, 1));
        screen->corners = {{{5, 5, 0}, {15, 5, 0}, {15, 15, 0}, {5, 15, 0}}};
        screen->texCoords = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    }

    // Updates, draws both viewports as a level does, then the screen
    // objects, and keeps the frame; quits after the second.
    void Frame() override {
        const std::vector<float> before = CachedStates(*GetRenderer(), false);
        scene->UpdateAsCurrent(g_frames.empty() ? 0.05f : 0.1f);
        scene->SetViewportCount(2);
        for (std::uint32_t i = 0; i < 2; ++i) {
            scene->SetViewportIndex(i);
            scene->Render(cameras[i], viewports[i]);
        }
        scene->GetRenderQueue().SubmitScreenObject(screen);
        scene->GetRenderQueue().DrawScreenObjects();
        g_frames.emplace_back(std::size_t{kWidth} * kHeight * 3);
        GetRenderer()->ReadPixels(g_frames.back().data());
        EXPECT_EQ(CachedStates(*GetRenderer(), true), before) << "frame " << g_frames.size();
        if (g_frames.size() == 2) {
            Exit();
        }
    }
    void Shutdown() override { ++g_shutdowns; }

private:
    void Place(float x, float y, const RefPtr<Engine::Node>& node, float z = 0, float scale = 1) {
        const RefPtr<Engine::TransformationGroup> group = TUN_NEW(Engine::TransformationGroup);
        group->SetTransformation(Matrix4::Translation(x, y, z) * Matrix4::Scaling(scale, scale, 1));
        group->AddChild(node);
        scene->AddChild(group);
    }

    RefPtr<Engine::SceneGraph> scene = TUN_NEW(Engine::SceneGraph, GetRenderer());
    RefPtr<Engine::Camera> cameras[2];
    RefPtr<Engine::Viewport> viewports[2];
    RefPtr<Engine::TextRenderContext> screen = TUN_NEW(Engine::TextRenderContext);
};

void CreateScene(RefPtr<Engine::Application>& app, const Core::String&) { app = TUN_NEW(SceneApplication); }

// A 2 x 2 sheet of 32-pixel cells, flat inside 4 transparent pixels but
// for the top-left one, red on its left half and green on its right.
Rgba SheetPixel(std::uint32_t x, std::uint32_t y) {
    const Rgba cells[2][2] = {{x < 16 ? kRed : kGreen, kWhite}, {kBlue, kYellow}};  // rows from the image's top
    const bool border = x % 32 < 4 || x % 32 >= 28 || y % 32 < 4 || y % 32 >= 28;
    return border ? kClear : cells[y / 32][x / 32];
}

void WriteAssets(const testsupport::TempDirectory& dir) {
    const std::string textures = dir.Path() + "/Resources/Textures/", fonts = dir.Path() + "/Resources/Fonts/";
    std::filesystem::create_directories(textures);
    std::filesystem::create_directories(fonts);
    // Ten 16-pixel cells a row: 'A' (cell 33) is column 3, row 3 from the top; every pen step is 24 pixels.
    testsupport::SavePng(testsupport::MakeImage(160, 160, [](std::uint32_t x, std::uint32_t y) {
        return x / 16 == 3 && y / 16 == 3 ? kWhite : kClear;
    }), fonts + "Test.png");
    Engine::FontFile font;
    font.metrics.cellSize = font.metrics.lineHeight = 16;
    for (Engine::FontGlyph& glyph : font.glyphs) glyph.advance = 24;
    const std::vector<std::uint8_t> metrics = Engine::EncodeFontFile(font, u"");
    std::ofstream(fonts + "Test.tbf", std::ios::binary).write(reinterpret_cast<const char*>(metrics.data()),
                                                             static_cast<std::streamsize>(metrics.size()));
    testsupport::SavePng(testsupport::MakeImage(64, 64, &SheetPixel), textures + "sheet.png");
    for (const auto& [name, colour] :
         {std::pair("white.png", kWhite), {"background.png", kBackground}, {"teal.png", kTeal}}) {
        testsupport::SavePng(testsupport::FlatImage(16, 16, colour), textures + name);
    }
}

// Beside the test program, for a look at what failed.
void SaveFrame(const std::vector<std::uint8_t>& frame, const std::string& path) {
    const auto pixel = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint8_t* p = &frame[((kHeight - 1 - y) * std::size_t{kWidth} + x) * 3];
        return Rgba{p[0], p[1], p[2], 255};
    };
    testsupport::SavePng(testsupport::MakeImage(kWidth, kHeight, pixel), path);
    ADD_FAILURE() << "frame written to " << path;
}

TEST(EndToEnd, ASceneDrawnThroughTheRunShowsEachPartWhereItBelongs) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    const testsupport::TempDirectory dir;
    WriteAssets(dir);
    os::SetExecutablePathForTesting(dir.Path() + "/Emberline");
    g_frames.clear();
    g_shutdowns = 0;
    EXPECT_EQ(EngineRun("", &CreateScene), 0);
    os::SetExecutablePathForTesting("");
    EXPECT_EQ(g_shutdowns, 1);
    ASSERT_EQ(g_frames.size(), 2u);
    struct Probe { const char* what; std::size_t frame; int x, y; Rgba colour; };
    const Probe probes[] = {
        {"sprite, frame (0, 0)", 0, 60, 60, kBlue}, {"sprite's border", 0, 32, 60, kBackground},
        {"sprite, next frame", 1, 60, 60, kYellow}, {"flipped sprite's left", 0, 154, 60, kGreen},
        {"flipped sprite's right", 0, 166, 60, kRed}, {"first particle", 0, 200, 120, {255, 128, 0, 255}},
        {"second particle", 0, 240, 120, {128, 0, 255, 255}}, {"line's row", 0, 70, 130, {0, 255, 255, 255}},
        {"above the line", 0, 70, 133, kBackground}, {"opaque mesh", 0, 140, 180, kTeal},
        {"HUD sprite", 1, 28, 188, {255, 0, 255, 255}}, {"left of the HUD sprite", 1, 17, 188, kBackground},
        {"right of the HUD sprite", 1, 39, 188, kBackground}, {"below the HUD sprite", 1, 28, 177, kBackground},
        {"screen object", 1, 10, 10, kWhite}, {"beside the screen object", 1, 18, 10, kBackground},
        {"viewport 1's corner", 1, 270, 200, kCorner}, {"left of the corner", 1, 215, 200, kBackground},
        {"below the corner", 1, 270, 155, kBackground}, {"first 'A'", 0, 208, 28, kWhite},
        {"between the 'A's", 0, 220, 28, kBackground}, {"second 'A'", 0, 232, 28, kWhite}};
    for (const Probe& p : probes) {
        const std::uint8_t* pixel = &g_frames[p.frame][(static_cast<std::size_t>(p.y) * kWidth + p.x) * 3];
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(pixel[c], p.colour[c], 2) << p.what << " at (" << p.x << ", " << p.y << "), channel " << c;
        }
    }
    for (std::size_t f = 0; f < g_frames.size() && testing::Test::HasFailure(); ++f) {
        SaveFrame(g_frames[f], os::ExecutableDirectory() + "/EndToEnd-frame" + std::to_string(f) + ".png");
    }
}

}  // namespace
