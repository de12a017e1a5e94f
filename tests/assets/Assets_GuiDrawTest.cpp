#include "Assets_Tree.h"

#include "core/Core_RefPtr.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Cursor.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_GuiImage.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "os/OS_Path.h"
#include "support/GUI_OffscreenHud.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

// The generated GUI files as the toolkit draws them on SDL's offscreen
// driver: the window, button and radio button show the texels of their
// skins (not the texture cache's stand-in for a missing file), and the
// cursor its arrow.
namespace {

using Core::RefPtr;
using testsupport::Rgba;

constexpr int kTolerance = 6;

class GeneratedGui : public testing::Test {
protected:
    GeneratedGui() {
        const std::filesystem::path resources(TUNDRA_RESOURCES_DIRECTORY);
        os::SetExecutablePathForTesting((resources.parent_path() / "Emberline").string());
        hud = &scene.MakeHud();
    }
    ~GeneratedGui() override { os::SetExecutablePathForTesting(""); }

    // The screen pixel at (x, y) is what the image's texels at that point
    // give, modulated and blended over the black frame (nearest filtering:
    // one of the texels around the mapped one).
    void ExpectTexel(const os::Image& texture, const GUI::TRectangle& piece, float x, float y, const Color& tint,
                     const char* what) const {
        const float s = (x - piece.GetX()) / piece.GetWidth();
        const float t = (y - piece.GetY()) / piece.GetHeight();
        const float u = piece.GetTexCoord(0).x + s * (piece.GetTexCoord(1).x - piece.GetTexCoord(0).x);
        const float v = piece.GetTexCoord(0).y + t * (piece.GetTexCoord(3).y - piece.GetTexCoord(0).y);
        const int column = static_cast<int>(u * static_cast<float>(texture.width));
        const int rowFromBottom = static_cast<int>(v * static_cast<float>(texture.height));
        const auto pixel = scene.PixelAt(static_cast<int>(x), static_cast<int>(y));
        bool matched = false;
        for (int dy = -1; dy <= 1 && !matched; ++dy) {
            for (int dx = -1; dx <= 1 && !matched; ++dx) {
                matched = Shows(pixel, TexelAt(texture, column + dx, rowFromBottom + dy), tint);
            }
        }
        EXPECT_TRUE(matched) << what << " at (" << x << ", " << y << ") shows " << int(pixel[0]) << " "
                             << int(pixel[1]) << " " << int(pixel[2]);
    }

    // The centre of the image's centre piece.
    void ExpectSkinCentre(const GUI::GuiImage& image, const Color& tint, const char* what) const {
        ASSERT_GT(image.GetPieceSetCount(), 0u) << what << ": the skin's descriptor was not read";
        const os::Image texture = Decoded(image.GetName());
        ASSERT_GT(texture.width * texture.height, 0u) << what;
        const GUI::TRectangle& centre = image.GetPiece(GUI::GuiImage::kCenter);
        ExpectTexel(texture, centre, centre.GetX() + centre.GetWidth() / 2, centre.GetY() + centre.GetHeight() / 2,
                    tint, what);
    }

    static os::Image Decoded(const Core::String& skinBasePath) {
        const std::string native = std::string(skinBasePath.c_str());
        const std::string name = native.substr(native.find_last_of("\\/") + 1);
        os::Image image;
        EXPECT_TRUE(os::DecodeImageFile(assettest::ResourcePath("Skins/" + name + "/" + name + ".png"), image));
        return image;
    }

    static Rgba TexelAt(const os::Image& image, int column, int rowFromBottom) {
        const int x = std::clamp(column, 0, static_cast<int>(image.width) - 1);
        const int y = static_cast<int>(image.height) - 1 - std::clamp(rowFromBottom, 0, static_cast<int>(image.height) - 1);
        const std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

    static bool Shows(const std::array<std::uint8_t, 4>& pixel, const Rgba& texel, const Color& tint) {
        const float alpha = static_cast<float>(texel[3]) / 255.0f * tint.a;
        const float channels[3] = {tint.r, tint.g, tint.b};
        for (int c = 0; c < 3; ++c) {
            const float expected = static_cast<float>(texel[c]) * channels[c] * alpha;
            if (std::abs(static_cast<float>(pixel[c]) - expected) > kTolerance) {
                return false;
            }
        }
        return true;
    }

    testsupport::OffscreenHud scene{320, 300};
    GUI::HUD* hud = nullptr;
};

TEST_F(GeneratedGui, AWindowAButtonARadioButtonAndTheArrowDrawTheirFiles) {
    const RefPtr<GUI::Form> form(TUN_NEW(GUI::Form));
    form->SetPosition({20, 20});
    hud->AddForm(form.Get());
    const RefPtr<GUI::Button> button(TUN_NEW(GUI::Button));
    button->SetPosition({20, 20});
    button->SetSize({120, 40});
    form->AddControl(button.Get());
    const RefPtr<GUI::RadioButton> radio(TUN_NEW(GUI::RadioButton));
    radio->SetPosition({20, 100});
    radio->SetSize({26, 26});
    form->AddControl(radio.Get());
    scene.MoveMouse(300, 290);
    scene.Frame();
    scene.Frame();

    ExpectSkinCentre(*button->GetSkinImage(), {1, 1, 1, 1}, "the button's face");
    ExpectSkinCentre(*radio->GetSkinImage(), {1, 1, 1, 1}, "the radio button");
    const GUI::GuiImage& caption = *form->GetCaptionImage();
    const Color active{2 / 255.0f, 106 / 255.0f, 254 / 255.0f, 1};
    ExpectSkinCentre(caption, active, "the caption");

    os::Image gray;
    ASSERT_TRUE(os::DecodeImageFile(assettest::ResourcePath("Skins/Gray.png"), gray));
    const auto client = scene.PixelAt(200, 200);
    EXPECT_TRUE(Shows(client, TexelAt(gray, 4, 4), {1, 1, 1, 1})) << "the client area shows the form's picture";

    os::Image arrow;
    ASSERT_TRUE(os::DecodeImageFile(assettest::ResourcePath("Cursors/Arrow.png"), arrow));
    // The tip is the image's top-left pixel, at the pointer.
    EXPECT_TRUE(Shows(scene.PixelAt(301, 288), TexelAt(arrow, 1, 30), {1, 1, 1, 1})) << "the arrow below the tip";
}

}  // namespace
