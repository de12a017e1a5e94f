#include "core/Core_RefPtr.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_StringRenderContext.h"
#include "gui/GUI_ControlProbe.h"
#include "support/GUI_OffscreenHud.h"
#include "support/GUI_TestResources.h"
#include "support/Renderer_CachedGLValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using Core::RefPtr;
using testsupport::Rgba;

// What the GUI draws, read back from OpenGL on SDL's offscreen driver: a
// 320 x 240 window, flat-coloured skins, a white font and a red cursor.
namespace {

constexpr std::uint32_t kPieceSets = 10;

// The button skin's piece set k is a 16 x 16 square of its own colour.
Rgba ButtonColour(std::uint32_t k) {
    return {static_cast<std::uint8_t>(30 + 20 * k), static_cast<std::uint8_t>(200 - 15 * k), 100, 255};
}

class GuiPixels : public testing::Test {
protected:
    static constexpr Rgba kGreen{40, 200, 80, 255};
    static constexpr Rgba kMagenta{220, 40, 200, 255};
    static constexpr Rgba kYellow{255, 255, 0, 255};
    static constexpr Rgba kBlack{0, 0, 0, 0};

    GuiPixels() {
        std::vector<GUI::PieceSet> sets;
        for (std::uint32_t k = 0; k < kPieceSets; ++k) {
            sets.push_back({16.0f * static_cast<float>(k), 0, 16, 16, 0, 16, 0, 16});
        }
        constexpr std::uint32_t kWidth = 16 * kPieceSets;
        resources.WriteSkin("DefaultFormSkin", sets, kWidth, 16);
        resources.WriteSkin("DefaultRadioButtonSkin", sets, kWidth, 16);
        resources.WriteSkin("DefaultButtonSkin", sets,
                            testsupport::MakeImage(kWidth, 16, [](std::uint32_t x, std::uint32_t) {
                                return ButtonColour(x / 16);
                            }));
        // Blue above, yellow below: the piece set counts rows from the bottom.
        const GUI::PieceSet bottomLeft{0, 0, 16, 16, 0, 16, 0, 16};
        resources.WriteSkin("RowSkin", std::span(&bottomLeft, 1),
                            testsupport::MakeImage(16, 32, [](std::uint32_t, std::uint32_t y) {
                                return y < 16 ? Rgba{0, 0, 255, 255} : kYellow;
                            }));
        resources.WriteCursor("Arrow.png", 16, 16);
        Engine::FontFile font{{0, 0, 0, 16, 0, 0, 20, 0}};
        font.glyphs[0].advance = 5;
        font.glyphs['A' - 32] = {65, 10, 10, 16, 0, 0, 1.5f, 2, 0};
        defaultFont = resources.WriteFont("DefaultFont", font);
        for (const auto& [name, colour] : {std::pair("Green.png", kGreen), {"Magenta.png", kMagenta}}) {
            testsupport::SavePng(testsupport::FlatImage(8, 8, colour), resources.Root() + "/" + name);
        }
        hud = &scene.MakeHud();
    }
    ~GuiPixels() override {
        // Drawing went through the renderer's cache: it must agree with OpenGL.
        testsupport::OffscreenRendererTest::ExpectGL(testsupport::CachedGLValues(scene.Renderer()));
    }

    RefPtr<GUI::Form> AddForm(float x, float y, const char* picture) {
        const RefPtr<GUI::Form> form = guitest::New<GUI::Form>();
        form->SetPosition({x, y});
        form->SetSize({150, 150});
        form->SetCaptionHeight(20);
        form->SetPicture(Core::String(resources.Root() + "/" + picture));
        hud->AddForm(form.Get());
        return form;
    }

    // The pixel at the GUI point, within 2 of the colour (alpha not compared).
    void ExpectColour(int x, int y, Rgba colour, const char* what) const {
        const auto pixel = scene.PixelAt(x, y);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_LE(std::abs(pixel[channel] - colour[channel]), 2)
                << what << " at (" << x << ", " << y << ") channel " << channel << ": " << int(pixel[0]) << " "
                << int(pixel[1]) << " " << int(pixel[2]);
        }
    }

    testsupport::GuiTestResources resources;
    testsupport::OffscreenHud scene{320, 240};
    RefPtr<Engine::BitmapFont> defaultFont;
    GUI::HUD* hud = nullptr;
};

// A window's caption is the skin's white times the active colour, its
// client area the picture; of two overlapping windows the one clicked is on
// top one frame later.
TEST_F(GuiPixels, CaptionClientAreaAndTheFrontWindow) {
    const RefPtr<GUI::Form> first = AddForm(10, 10, "Green.png");
    const RefPtr<GUI::Form> second = AddForm(100, 60, "Magenta.png");
    scene.MoveMouse(300, 5);
    scene.Frame();
    ExpectColour(130, 100, kMagenta, "the later window over the overlap");
    scene.Click(40, 50);
    scene.Frame();
    ExpectColour(130, 100, kGreen, "the clicked window over the overlap");
    ExpectColour(40, 50, kGreen, "client area");
    ExpectColour(40, 150, {2, 106, 254, 255}, "active caption");
    ExpectColour(200, 200, {129, 169, 232, 255}, "inactive caption");
}

// A button shows its normal piece set, then the hover one once the pointer
// is on it; a child half outside its parent's client area is cut at the
// edge; a piece set at the image's bottom-left draws that region.
TEST_F(GuiPixels, ButtonLooksClippingAndTheRowConvention) {
    const RefPtr<GUI::Control> parent = guitest::MakeControl(200, 20, 60, 40);
    hud->AddForm(parent.Get());
    const RefPtr<GUI::Button> button = guitest::New<GUI::Button>();
    button->SetPosition({40, 10});
    button->SetSize({40, 20});
    button->SetTabStop(false);  // so that it rests in the normal look, not the focused one
    parent->AddControl(button.Get());
    const RefPtr<GUI::Button> rows = guitest::New<GUI::Button>();
    rows->SetSkin("RowSkin");
    rows->SetPosition({20, 150});
    hud->AddForm(rows.Get());
    scene.MoveMouse(5, 5);
    scene.Frame();
    scene.Frame();
    ExpectColour(250, 40, ButtonColour(button->GetPieceSetOf(GUI::Button::State::Normal)), "normal button");
    ExpectColour(270, 40, kBlack, "beyond the parent's edge");
    ExpectColour(40, 160, kYellow, "bottom-left piece set");
    scene.MoveMouse(250, 40);
    scene.Frame();
    scene.Frame();
    ExpectColour(250, 40, ButtonColour(button->GetPieceSetOf(GUI::Button::State::Hover)), "hovered button");
}

// An "A" lands where DrawText put its quad; the cursor's upper-left corner
// sits at the pointer.
TEST_F(GuiPixels, LabelAndCursor) {
    GUI::Graphics& graphics = *hud->GetGraphics();
    const RefPtr<Engine::StringRenderContext> label = guitest::New<Engine::StringRenderContext>();
    graphics.Reset();
    graphics.DrawText(*label, {100, 100}, "A", defaultFont.Get());
    ASSERT_EQ(label->vertices.size(), 4u);
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
    for (const Vector3D& corner : label->vertices) {
        left = std::min(left, corner.x);
        right = std::max(right, corner.x);
        bottom = std::min(bottom, corner.y);
        top = std::max(top, corner.y);
    }
    EXPECT_EQ(left, 98.5f);
    scene.MoveMouse(200, 120);
    scene.Update();
    GUI::Graphics::SubmitText(label);
    scene.Draw();
    const int x = static_cast<int>((left + right) / 2);
    const int y = static_cast<int>((bottom + top) / 2);
    ExpectColour(x, y, {255, 255, 255, 255}, "the glyph");
    ExpectColour(static_cast<int>(left) - 2, y, kBlack, "left of the glyph");
    ExpectColour(static_cast<int>(right) + 1, y, kBlack, "right of the glyph");
    ExpectColour(201, 118, {255, 0, 0, 255}, "the cursor below and right of the pointer");
    ExpectColour(231, 89, {255, 0, 0, 255}, "the cursor's far corner");
    ExpectColour(198, 118, kBlack, "left of the pointer");
    ExpectColour(201, 121, kBlack, "above the pointer");
}

}  // namespace
