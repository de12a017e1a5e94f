#include "AssetGen_GuiSkins.h"

#include <array>
#include <numbers>
#include <span>

#include "AssetGen_Style.h"

namespace AssetGen {
namespace {

using namespace Style;

// A piece set's area in the texture, from the image's top-left corner, and
// the size of the borders that keep their size while the rest stretches.
struct SkinArea {
    int x;
    int top;
    int width;
    int height;
    int borderX;  // the left and right columns
    int borderY;  // the bottom and top rows
};

// The form: 0 caption, 1 left, 2 right, 3 bottom border, drawn light for
// the form to tint; 4 to 6 its close button: normal, pressed, hover.
constexpr std::array kFormAreas{
    SkinArea{0, 0, 32, 32, 8, 8},   SkinArea{32, 0, 8, 16, 0, 0},  SkinArea{40, 0, 8, 16, 0, 0},
    SkinArea{0, 32, 32, 8, 8, 0},   SkinArea{0, 40, 20, 20, 0, 0}, SkinArea{20, 40, 20, 20, 0, 0},
    SkinArea{40, 40, 20, 20, 0, 0},
};
// The button: normal, pressed, hover, focused, disabled.
constexpr std::array kButtonAreas{
    SkinArea{0, 0, 32, 32, 8, 8},  SkinArea{32, 0, 32, 32, 8, 8}, SkinArea{64, 0, 32, 32, 8, 8},
    SkinArea{96, 0, 32, 32, 8, 8}, SkinArea{0, 32, 32, 32, 8, 8},
};
// The radio button: unchecked focused, normal, disabled, hover, pressed,
// then the same five checked; each 13 x 13 drawn whole (no borders).
constexpr auto kRadioAreas = [] {
    std::array<SkinArea, 10> areas{};
    for (int k = 0; k < 10; ++k) {
        areas[static_cast<std::size_t>(k)] = {(k % 4) * 16, (k / 4) * 16, 13, 13, 0, 0};
    }
    return areas;
}();

std::span<const SkinArea> AreasOf(GuiSkin skin) {
    switch (skin) {
        case GuiSkin::Form:
            return kFormAreas;
        case GuiSkin::Button:
            return kButtonAreas;
        case GuiSkin::RadioButton:
            return kRadioAreas;
    }
    return {};
}

// The looks of the toolkit's buttons: mid-tone faces, on which both its
// black labels and coloured ones read.
struct FaceLook {
    Colour face;
    Colour edge;
    bool sunken;
};

constexpr std::array kButtonLooks{
    FaceLook{Rgb(178, 186, 202), Palette::Ink, false},      // normal
    FaceLook{Rgb(146, 154, 172), Palette::Ink, true},       // pressed
    FaceLook{Rgb(204, 212, 228), Palette::Ink, false},      // hover
    FaceLook{Rgb(178, 186, 202), Palette::Ember, false},    // focused
    FaceLook{Rgb(222, 222, 224), Palette::MidGrey, false},  // disabled: pale under its greyed label
};

// A face drawn into the area (x, y, w, h), y down: outline, a light top and a
// darker bottom, or the reverse when sunken.
void Face(cairo_t* cr, double x, double y, double w, double h, double radius, const FaceLook& look) {
    const Colour light = Mix(look.face, Palette::White, 0.45);
    const Colour dark = Mix(look.face, Palette::Ink, 0.25);
    cairo_pattern_t* ramp = cairo_pattern_create_linear(0, y, 0, y + h);
    const Colour& first = look.sunken ? dark : light;
    const Colour& last = look.sunken ? light : dark;
    cairo_pattern_add_color_stop_rgba(ramp, 0.0, first.r, first.g, first.b, 1.0);
    cairo_pattern_add_color_stop_rgba(ramp, 0.45, look.face.r, look.face.g, look.face.b, 1.0);
    cairo_pattern_add_color_stop_rgba(ramp, 1.0, last.r, last.g, last.b, 1.0);
    cairo_new_path(cr);
    RoundedRectangle(cr, x + 0.5, y + 0.5, w - 1.0, h - 1.0, radius);
    cairo_set_source(cr, ramp);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(ramp);
    SetColour(cr, look.edge);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void DrawFormArea(cairo_t* cr, int index, const SkinArea& a) {
    const double x = a.x;
    const double y = a.top;
    const double w = a.width;
    const double h = a.height;
    const FaceLook frame{Palette::PaleGrey, Palette::Ink, false};
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    switch (index) {
        case 0:  // caption: rounded on top, open below where the borders join
            Face(cr, x, y, w, h + 8.0, 6.0, frame);
            break;
        case 1:  // the side borders: their outline on the outer side
        case 2:
            SetColour(cr, Mix(frame.face, Palette::Ink, 0.08));
            cairo_paint(cr);
            cairo_new_path(cr);
            cairo_rectangle(cr, index == 1 ? x : x + w - 1.0, y, 1, h);
            SetColour(cr, Palette::Ink);
            cairo_fill(cr);
            break;
        case 3:  // the bottom border: rounded below, open above
            Face(cr, x, y - 8.0, w, h + 8.0, 6.0, {Mix(frame.face, Palette::Ink, 0.08), Palette::Ink, true});
            break;
        default: {  // the close button: a red key with a white cross
            static constexpr std::array kCloseFaces{Rgb(214, 64, 56), Rgb(160, 40, 36), Rgb(240, 96, 80)};
            const FaceLook look{kCloseFaces.at(static_cast<std::size_t>(index - 4)), Palette::Ink, index == 5};
            Face(cr, x, y, w, h, 4.0, look);
            cairo_new_path(cr);
            const double inset = 6.0;
            cairo_move_to(cr, x + inset, y + inset);
            cairo_line_to(cr, x + w - inset, y + h - inset);
            cairo_move_to(cr, x + w - inset, y + inset);
            cairo_line_to(cr, x + inset, y + h - inset);
            SetColour(cr, Palette::White);
            cairo_set_line_width(cr, 2.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            break;
        }
    }
    cairo_restore(cr);
}

void DrawRadioArea(cairo_t* cr, int index, const SkinArea& a) {
    // Looks in the order focused, normal, disabled, hover, pressed.
    static constexpr std::array kRings{Palette::Ember, Palette::Ink, Palette::MidGrey, Palette::Beam, Palette::Ink};
    static constexpr std::array kFills{Palette::White, Palette::White, Palette::LightGrey, Palette::White,
                                       Palette::LightGrey};
    const auto look = static_cast<std::size_t>(index % 5);
    const bool checked = index >= 5;
    const double cx = a.x + a.width / 2.0;
    const double cy = a.top + a.height / 2.0;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, a.width / 2.0 - 1.0, 0.0, 2.0 * std::numbers::pi);
    SetColour(cr, kFills.at(look));
    cairo_fill_preserve(cr);
    SetColour(cr, kRings.at(look));
    cairo_set_line_width(cr, look == 0 || look == 3 ? 1.6 : 1.1);
    cairo_stroke(cr);
    if (checked) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 2.8, 0.0, 2.0 * std::numbers::pi);
        SetColour(cr, look == 2 ? Palette::MidGrey : Palette::Ink);
        cairo_fill(cr);
    }
}

}  // namespace

SkinTexture TextureOfSkin(GuiSkin skin) {
    switch (skin) {
        case GuiSkin::Form:
            return {64, 64};
        case GuiSkin::Button:
            return {128, 64};
        case GuiSkin::RadioButton:
            return {64, 64};
    }
    return {0, 0};
}

std::vector<GUI::PieceSet> PieceSetsOfSkin(GuiSkin skin) {
    const SkinTexture texture = TextureOfSkin(skin);
    std::vector<GUI::PieceSet> sets;
    for (const SkinArea& a : AreasOf(skin)) {
        const auto f = [](int v) { return static_cast<float>(v); };
        sets.push_back({f(a.x), f(texture.height - a.top - a.height), f(a.width), f(a.height), f(a.borderX),
                        f(a.width - a.borderX), f(a.borderY), f(a.height - a.borderY)});
    }
    return sets;
}

void DrawSkinTexture(cairo_t* cr, GuiSkin skin) {
    const std::span<const SkinArea> areas = AreasOf(skin);
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const SkinArea& a = areas[i];
        const int index = static_cast<int>(i);
        switch (skin) {
            case GuiSkin::Form:
                DrawFormArea(cr, index, a);
                break;
            case GuiSkin::Button:
                Face(cr, a.x, a.top, a.width, a.height, 6.0, kButtonLooks.at(i));
                break;
            case GuiSkin::RadioButton:
                DrawRadioArea(cr, index, a);
                break;
        }
    }
}

}  // namespace AssetGen
