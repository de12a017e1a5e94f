#include "AssetGen_InterfaceParts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "AssetGen_Style.h"

namespace AssetGen::InterfaceParts {
namespace {

using namespace Style;

constexpr double kPi = std::numbers::pi;

struct FaceColours {
    Colour face;
    bool rimmed;  // a second, coloured line inside the outline
    Colour rim;
};

FaceColours ColoursOf(ButtonLook look) {
    switch (look) {
        case ButtonLook::Idle:
            return {Rgb(246, 238, 222), false, {}};
        case ButtonLook::Hover:
            return {Palette::Navy, true, Palette::Ember};
        case ButtonLook::Pressed:
            return {Palette::SteelDark, true, Palette::Gold};
        case ButtonLook::Focused:
            return {Rgb(246, 238, 222), true, Palette::Ember};
        case ButtonLook::Disabled:
            return {Palette::LightGrey, false, {}};
    }
    return {Palette::MidGrey, false, {}};
}

void PlasmaIcon(cairo_t* cr, double cx, double cy, double s, double line) {
    const Colour colour = WeaponColour(0);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    // The orbit ring behind the orb, then the orb, then the ring's front half.
    auto ring = [&](double from, double to) {
        cairo_save(cr);
        cairo_rotate(cr, 0.5);
        cairo_scale(cr, 1.0, 0.38);
        cairo_new_path(cr);
        cairo_arc(cr, 0.0, 0.0, s * 0.46, from, to);
        cairo_restore(cr);
        OutlinedStroke(cr, Mix(colour, Palette::White, 0.45), line * 1.1, line * 0.75);
    };
    ring(0.0, 2.0 * kPi);
    CelFill(
        cr, [&](cairo_t* c) { Ellipse(c, 0.0, 0.0, s * 0.3, s * 0.3); }, TonesOf(colour), s * 0.08, line);
    Highlight(cr, -s * 0.1, s * 0.1, s * 0.08, s * 0.06);
    ring(kPi, 2.0 * kPi);
    cairo_restore(cr);
}

void BeamIcon(cairo_t* cr, double cx, double cy, double s, double line) {
    const double h = s * 0.48;
    CelFill(
        cr,
        [&](cairo_t* c) {
            Polygon(c, {{cx + 0.10 * s, cy + h},
                        {cx - 0.26 * s, cy - 0.04 * s},
                        {cx - 0.02 * s, cy - 0.04 * s},
                        {cx - 0.12 * s, cy - h},
                        {cx + 0.26 * s, cy + 0.08 * s},
                        {cx + 0.02 * s, cy + 0.08 * s}});
        },
        TonesOf(WeaponColour(1)), s * 0.06, line);
}

void FlamerIcon(cairo_t* cr, double cx, double cy, double s, double line) {
    auto flame = [&](cairo_t* c, double scale, double lift) {
        const double w = s * 0.3 * scale;
        const double h = s * 0.46 * scale;
        const double b = cy - s * 0.42 + lift;
        cairo_move_to(c, cx, b);
        cairo_curve_to(c, cx + w * 1.3, b, cx + w * 1.1, b + h * 0.9, cx + w * 0.2, b + h * 1.9);
        cairo_curve_to(c, cx + w * 0.1, b + h * 1.3, cx - w * 0.3, b + h * 1.2, cx - w * 0.45, b + h * 1.05);
        cairo_curve_to(c, cx - w * 0.4, b + h * 1.35, cx - w * 0.6, b + h * 1.45, cx - w * 0.7, b + h * 1.5);
        cairo_curve_to(c, cx - w * 1.4, b + h * 0.9, cx - w * 1.3, b, cx, b);
        cairo_close_path(c);
    };
    CelFill(
        cr, [&](cairo_t* c) { flame(c, 1.0, 0.0); }, TonesOf(WeaponColour(2)), s * 0.07, line);
    CelFill(
        cr, [&](cairo_t* c) { flame(c, 0.5, s * 0.04); }, TonesOf(Palette::Gold), s * 0.04, 0.0);
}

void MinigunIcon(cairo_t* cr, double cx, double cy, double s, double line) {
    const Tones brass = TonesOf(WeaponColour(3));
    const Tones tip = TonesOf(Palette::Soil);
    for (int i = -1; i <= 1; ++i) {
        const double x = cx + i * s * 0.26;
        const double w = s * 0.19;
        const double bottom = cy - s * 0.42;
        const double caseHeight = s * 0.5;
        CelFill(
            cr, [&](cairo_t* c) { RoundedRectangle(c, x - w / 2, bottom, w, caseHeight, w * 0.15); }, brass, s * 0.04,
            line);
        CelFill(
            cr,
            [&](cairo_t* c) {
                cairo_move_to(c, x - w / 2, bottom + caseHeight);
                cairo_curve_to(c, x - w / 2, bottom + caseHeight + s * 0.2, x, bottom + caseHeight + s * 0.3, x,
                               bottom + caseHeight + s * 0.33);
                cairo_curve_to(c, x, bottom + caseHeight + s * 0.3, x + w / 2, bottom + caseHeight + s * 0.2, x + w / 2,
                               bottom + caseHeight);
                cairo_close_path(c);
            },
            tip, s * 0.03, line);
    }
}

}  // namespace

void ButtonFace(cairo_t* cr, double cx, double cy, double width, double height, ButtonLook look) {
    const FaceColours colours = ColoursOf(look);
    const double line = OutlineWidth(std::max(height, 48.0));
    const double left = cx - width / 2.0 + line / 2.0;
    const double bottom = cy - height / 2.0 + line / 2.0;
    const double w = width - line;
    const double h = height - line;
    const double radius = std::min(h * 0.32, 16.0);
    const double bevel = look == ButtonLook::Pressed ? 1.0 : std::clamp(h * 0.1, 2.0, 7.0);

    FlatFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, left, bottom, w, h, radius); }, Mix(colours.face, Palette::Ink, 0.5),
        0.0);
    CelFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, left, bottom + bevel, w, h - bevel, radius); }, TonesOf(colours.face),
        std::clamp(h * 0.06, 1.5, 4.0), 0.0);
    if (look != ButtonLook::Pressed && look != ButtonLook::Disabled) {
        // The gloss: a light band along the top of the face.
        const double inset = radius * 0.6 + 2.0;
        FlatFill(
            cr,
            [&](cairo_t* c) {
                RoundedRectangle(c, left + inset, bottom + h - std::max(3.0, h * 0.14) - 2.0, w - 2.0 * inset,
                                 std::max(2.0, h * 0.08), 2.0);
            },
            WithAlpha(Palette::White, 0.55), 0.0);
    }
    cairo_save(cr);
    cairo_new_path(cr);
    RoundedRectangle(cr, left, bottom, w, h, radius);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
    if (colours.rimmed) {
        const double in = line * 1.25;
        RoundedRectangle(cr, left + in, bottom + bevel + in, w - 2.0 * in, h - bevel - 2.0 * in,
                         std::max(1.0, radius - in));
        SetColour(cr, colours.rim);
        cairo_set_line_width(cr, line * 0.75);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void WeaponIcon(cairo_t* cr, int weapon, double cx, double cy, double size) {
    const double line = std::clamp(size / 22.0, 1.2, 3.0);
    switch (weapon) {
        case 0:
            PlasmaIcon(cr, cx, cy, size, line);
            break;
        case 1:
            BeamIcon(cr, cx, cy, size, line);
            break;
        case 2:
            FlamerIcon(cr, cx, cy, size, line);
            break;
        default:
            MinigunIcon(cr, cx, cy, size, line);
            break;
    }
}

void RobotIcon(cairo_t* cr, double cx, double cy, double s) {
    const double line = std::clamp(s / 22.0, 1.2, 3.0);
    // Antenna, head, visor, then the eyes glowing through it.
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx + s * 0.12, cy + s * 0.2);
    cairo_line_to(cr, cx + s * 0.2, cy + s * 0.4);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, line * 2.2);
    cairo_stroke(cr);
    cairo_restore(cr);
    CelFill(
        cr, [&](cairo_t* c) { Ellipse(c, cx + s * 0.2, cy + s * 0.4, s * 0.07, s * 0.07); }, TonesOf(Palette::Ember),
        s * 0.03, line);
    CelFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, cx - s * 0.4, cy - s * 0.36, s * 0.8, s * 0.62, s * 0.2); },
        TonesOf(Palette::Steel), s * 0.07, line);
    CelFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, cx - s * 0.3, cy - s * 0.17, s * 0.6, s * 0.26, s * 0.1); },
        TonesOf(Palette::Navy), s * 0.03, line * 0.8);
    for (int side = -1; side <= 1; side += 2) {
        Highlight(cr, cx + side * s * 0.13, cy - s * 0.04, s * 0.06, s * 0.07, Palette::Teal);
    }
    Highlight(cr, cx - s * 0.26, cy + s * 0.14, s * 0.07, s * 0.035);
}

void KeyCap(cairo_t* cr, std::string_view letter, double cx, double cy, double width, double height) {
    const double line = OutlineWidth(std::max(height, 40.0));
    const double left = cx - width / 2.0 + line / 2.0;
    const double bottom = cy - height / 2.0 + line / 2.0;
    const double w = width - line;
    const double h = height - line;
    const double radius = std::min(w, h) * 0.2;
    const double skirt = std::max(3.0, h * 0.16);
    FlatFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, left, bottom, w, h, radius); }, Palette::MidGrey, line);
    const double inset = std::max(2.5, w * 0.09);
    CelFill(
        cr,
        [&](cairo_t* c) {
            RoundedRectangle(c, left + inset, bottom + skirt, w - 2.0 * inset, h - skirt - inset * 0.6, radius * 0.8);
        },
        TonesOf(Palette::PaleGrey), 2.0, line * 0.6);
    const LetteringStyle style{
        .size = (h - skirt) * 0.62, .top = Palette::Ink, .bottom = Palette::Navy, .outlineWidth = 0.0};
    Lettering(cr, letter, cx, bottom + skirt + (h - skirt - inset * 0.6) / 2.0, style);
}

void StarPath(cairo_t* cr, double cx, double cy, double r) {
    for (int k = 0; k < 10; ++k) {
        const double radius = k % 2 == 0 ? r : r * 0.48;
        const double angle = kPi / 2.0 + k * kPi / 5.0;
        const double x = cx + radius * std::cos(angle);
        const double y = cy + radius * std::sin(angle);
        if (k == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    cairo_close_path(cr);
}

}  // namespace AssetGen::InterfaceParts
