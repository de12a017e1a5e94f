// The intro's logos, the game's title and the credits card. Every name on
// them is the game's own.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "AssetGen_InterfaceParts.h"
#include "AssetGen_InterfaceSheets.h"
#include "AssetGen_Random.h"
#include "AssetGen_Style.h"

namespace AssetGen::InterfaceSheets {
namespace {

using namespace Style;

constexpr double kPi = std::numbers::pi;

// The game's name, on the title and the credits card alike.
const LetteringStyle kGameName{
    .size = 56.0, .top = Palette::Gold, .bottom = Palette::EmberRed, .outlineWidth = 4.0, .shadowOffset = 3.0};

// A flame standing on (cx, base), `height` tall, as two nested tongues.
void Flame(cairo_t* cr, double cx, double base, double height, double sway) {
    auto tongue = [&](cairo_t* p, double scale) {
        const double h = height * scale;
        const double w = h * 0.42;
        cairo_move_to(p, cx, base);
        cairo_curve_to(p, cx + w * 1.25, base, cx + w * 1.0, base + h * 0.55, cx + w * 0.15 + sway, base + h);
        cairo_curve_to(p, cx + w * 0.1, base + h * 0.7, cx - w * 0.35, base + h * 0.62, cx - w * 0.5 + sway * 0.5,
                       base + h * 0.8);
        cairo_curve_to(p, cx - w * 1.25, base + h * 0.45, cx - w * 1.2, base, cx, base);
        cairo_close_path(p);
    };
    CelFill(
        cr, [&](cairo_t* p) { tongue(p, 1.0); }, TonesOf(Palette::Ember), height * 0.06, OutlineWidth(height * 2));
    CelFill(
        cr, [&](cairo_t* p) { tongue(p, 0.55); }, TonesOf(Palette::Gold), height * 0.03, 0.0);
}

// Sparks rising from a band: random, but the same on every run.
void Embers(cairo_t* cr, Random& random, int count, double left, double right, double bottom, double top) {
    for (int i = 0; i < count; ++i) {
        const double x = left + random.Unit() * (right - left);
        const double y = bottom + random.Unit() * (top - bottom);
        const double r = 1.2 + random.Unit() * 2.2;
        FlatFill(
            cr, [&](cairo_t* p) { Ellipse(p, x, y, r, r); }, Mix(Palette::Gold, Palette::Ember, random.Unit()), 0.0);
    }
}

// The mascot: a round, big-eared critter; squealing opens its mouth.
void Mascot(cairo_t* cr, double cx, double cy, double r, bool squealing) {
    const Colour skin = Rgb(255, 150, 120);
    const double line = OutlineWidth(r * 2.0);
    for (int side = -1; side <= 1; side += 2) {
        CelFill(
            cr,
            [&](cairo_t* p) {
                cairo_move_to(p, cx + side * r * 0.35, cy + r * 0.75);
                cairo_curve_to(p, cx + side * r * 0.6, cy + r * 1.45, cx + side * r * 1.05, cy + r * 1.35,
                               cx + side * r * 0.95, cy + r * 0.45);
                cairo_close_path(p);
            },
            TonesOf(skin), r * 0.06, line);
    }
    CelFill(
        cr, [&](cairo_t* p) { Ellipse(p, cx, cy, r, r * 0.92); }, TonesOf(skin), r * 0.1, line);
    Highlight(cr, cx - r * 0.45, cy + r * 0.45, r * 0.16, r * 0.1);
    // Eyes: open when quiet, squeezed shut when squealing.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = cx + side * r * 0.38;
        const double ey = cy + r * 0.22;
        if (squealing) {
            cairo_new_path(cr);
            // Squeezed shut toward the snout: "> <".
            cairo_move_to(cr, ex + side * r * 0.12, ey + r * 0.08);
            cairo_line_to(cr, ex - side * r * 0.1, ey);
            cairo_line_to(cr, ex + side * r * 0.12, ey - r * 0.08);
            SetColour(cr, Palette::Ink);
            cairo_set_line_width(cr, line * 1.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
        } else {
            FlatFill(
                cr, [&](cairo_t* p) { Ellipse(p, ex, ey, r * 0.12, r * 0.16); }, Palette::Ink, 0.0);
            Highlight(cr, ex - r * 0.04, ey + r * 0.06, r * 0.045, r * 0.045);
        }
    }
    // Snout with nostrils, and the mouth below it.
    CelFill(
        cr, [&](cairo_t* p) { Ellipse(p, cx, cy - r * 0.12, r * 0.3, r * 0.2); },
        TonesOf(Mix(skin, Palette::EmberRed, 0.3)), r * 0.04, line);
    for (int side = -1; side <= 1; side += 2) {
        FlatFill(
            cr, [&](cairo_t* p) { Ellipse(p, cx + side * r * 0.1, cy - r * 0.12, r * 0.05, r * 0.08); }, Palette::Ink,
            0.0);
    }
    if (squealing) {
        FlatFill(
            cr, [&](cairo_t* p) { Ellipse(p, cx, cy - r * 0.55, r * 0.22, r * 0.2); }, Palette::EmberRed, line);
        for (int k = 0; k < 3; ++k) {
            const double a = kPi / 2 + (k - 1) * 0.5;
            cairo_new_path(cr);
            cairo_move_to(cr, cx + std::cos(a) * r * 1.25, cy + std::sin(a) * r * 1.3);
            cairo_line_to(cr, cx + std::cos(a) * r * 1.45, cy + std::sin(a) * r * 1.5);
            SetColour(cr, Palette::Ink);
            cairo_set_line_width(cr, line * 1.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
        }
    } else {
        cairo_new_path(cr);
        cairo_arc_negative(cr, cx, cy - r * 0.4, r * 0.16, -0.2, -kPi + 0.2);
        SetColour(cr, Palette::Ink);
        cairo_set_line_width(cr, line * 1.2);
        cairo_stroke(cr);
    }
}

// One line of the credits card, dark on the card's light face.
void CreditLine(cairo_t* cr, std::string_view text, double y, double size, double maxWidth, const Colour& colour) {
    const LetteringStyle style{
        .size = size, .top = colour, .bottom = Mix(colour, Palette::Ink, 0.3), .outlineWidth = 0.0};
    LetteringToFit(cr, text, 0, y, maxWidth, size * 1.5, style);
}

// A logo's name and, smaller beneath it in the plain face, its tagline,
// both centred between left and right.
void NameAndTagline(cairo_t* cr, std::string_view name, std::string_view tagline, double left, double right,
                    double nameY, double taglineY, const LetteringStyle& nameStyle, const Colour& taglineTop,
                    const Colour& taglineBottom) {
    const double centre = (left + right) / 2.0;
    LetteringToFit(cr, name, centre, nameY, right - left, (nameY - taglineY) * 1.3, nameStyle);
    LetteringStyle tag = nameStyle;
    tag.size = 30.0;
    tag.face = DejaVu::Sans;
    tag.top = taglineTop;
    tag.bottom = taglineBottom;
    tag.outlineWidth = 3.0;
    tag.shadowOffset = 0.0;
    LetteringToFit(cr, tagline, centre, taglineY, (right - left) * 0.8, 36.0, tag);
}

}  // namespace

void HwLogo(const FrameCanvas& c) {
    // Our studio: a hearth and its wordmark.
    cairo_t* cr = c.cr;
    const double emblemX = -c.width / 2.0 + 70.0;
    CelFill(
        cr,
        [&](cairo_t* p) {
            Polygon(p, {{emblemX - 52.0, -56.0},
                        {emblemX - 52.0, 12.0},
                        {emblemX, 60.0},
                        {emblemX + 52.0, 12.0},
                        {emblemX + 52.0, -56.0}});
        },
        TonesOf(Palette::DuskRock), 5.0, 3.0);
    FlatFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, emblemX - 30.0, -50.0, 60.0, 58.0, 26.0); }, Palette::Ink, 0.0);
    Flame(cr, emblemX, -50.0, 56.0, 4.0);
    const LetteringStyle word{
        .size = 64.0, .top = Palette::Gold, .bottom = Palette::Ember, .outlineWidth = 4.0, .shadowOffset = 3.0};
    NameAndTagline(cr, "HEARTHWORKS", "G A M E   S T U D I O", emblemX + 60.0, c.width / 2.0 - 4.0, 14.0, -40.0, word,
                   Palette::PaleGrey, Palette::LightGrey);
}

void TdLogo(const FrameCanvas& c) {
    // The engine: an ice peak beside its name.
    cairo_t* cr = c.cr;
    const double emblemX = -c.width / 2.0 + 100.0;
    CelFill(
        cr,
        [&](cairo_t* p) {
            Polygon(p, {{emblemX - 86.0, -70.0},
                        {emblemX - 20.0, 66.0},
                        {emblemX + 8.0, 20.0},
                        {emblemX + 26.0, 44.0},
                        {emblemX + 86.0, -70.0}});
        },
        TonesOf(Palette::Ice), 8.0, 4.0);
    FlatFill(
        cr,
        [&](cairo_t* p) {
            Polygon(p, {{emblemX - 20.0, 66.0},
                        {emblemX - 42.0, 21.0},
                        {emblemX - 28.0, 30.0},
                        {emblemX - 16.0, 18.0},
                        {emblemX - 2.0, 30.0},
                        {emblemX + 8.0, 20.0}});
        },
        Palette::Snow, 3.0);
    const LetteringStyle word{.size = 130.0,
                              .top = Palette::Snow,
                              .bottom = Palette::Ice,
                              .outline = Palette::Navy,
                              .outlineWidth = 5.0,
                              .shadowOffset = 4.0};
    NameAndTagline(cr, "TUNDRA", "E N G I N E", emblemX + 100.0, c.width / 2.0 - 6.0, 16.0, -62.0, word, Palette::Ice,
                   Palette::Beam);
}

void SquealingQuor(const FrameCanvas& c) {
    // Our publisher's mark: the mascot, quiet on frame 0, squealing on 1.
    cairo_t* cr = c.cr;
    const bool squealing = c.frame % 2 == 1;
    const double bob = squealing ? 6.0 : 0.0;
    Mascot(cr, 0, 36.0 + bob, 72.0, squealing);
    const LetteringStyle word{
        .size = 60.0, .top = Rgb(255, 200, 180), .bottom = Palette::EmberRed, .outlineWidth = 4.0, .shadowOffset = 3.0};
    LetteringToFit(cr, "SQUEALING QUOR", 0, -110.0, c.width - 16.0, 70.0, word);
}

void Title(const FrameCanvas& c) {
    // The game's name across the top and, on a ledge along the bottom, a
    // campfire. The title level stands the robot on the ledge's right end,
    // its wheels on the frame's bottom edge, so that corner stays empty but
    // for the ledge: the name ends above the robot's head.
    cairo_t* cr = c.cr;
    const double left = -c.width / 2.0;
    const double right = c.width / 2.0;
    const double bottom = -c.height / 2.0;
    const double top = c.height / 2.0;
    LetteringToFit(cr, "EMBERLINE", 0, top - 38.0, c.width - 8.0, 62.0, kGameName);
    cairo_new_path(cr);
    cairo_move_to(cr, left + 16.0, top - 72.0);
    cairo_curve_to(cr, -50.0, top - 64.0, 40.0, top - 80.0, right - 16.0, top - 70.0);
    OutlinedStroke(cr, Palette::Ember, 3.0, 2.0);

    const double ledgeTop = bottom + 13.0;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, left + 4.0, bottom + 3.5, c.width - 8.0, 9.5, 4.5); },
        TonesOf(Palette::DuskRock), 2.5, 2.0);
    const double fireX = left + 62.0;
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, fireX - side * 26.0, ledgeTop + 2.0);
        cairo_line_to(cr, fireX + side * 18.0, ledgeTop + 9.0);
        OutlinedStroke(cr, Palette::Soil, 6.0, 1.5);
    }
    Flame(cr, fireX, ledgeTop + 4.0, 58.0, 4.0);
    Random random(c.seed);
    Embers(cr, random, 18, left + 14.0, fireX + 60.0, ledgeTop + 24.0, top - 84.0);
}

void Credits(const FrameCanvas& c) {
    // The card lies in the options panel between the close button, which
    // stands over the picture's top right, and the back button across its
    // bottom: both show whole on the panel above and below it.
    constexpr double kCloseButtonClearance = 66.0;
    constexpr double kBackButtonClearance = 92.0;
    cairo_t* cr = c.cr;
    const double w = c.width - 8.0;
    const double top = c.height / 2.0 - kCloseButtonClearance;
    const double bottom = -c.height / 2.0 + kBackButtonClearance;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -w / 2, bottom, w, top - bottom, 26.0); },
        TonesOf(Rgb(246, 238, 222)), 6.0, 4.0);
    cairo_new_path(cr);
    RoundedRectangle(cr, -w / 2 + 12.0, bottom + 12.0, w - 24.0, top - bottom - 24.0, 18.0);
    SetColour(cr, Palette::Ember);
    cairo_set_line_width(cr, 3.0);
    cairo_stroke(cr);

    Flame(cr, 0, top - 62.0, 40.0, 3.0);
    LetteringToFit(cr, "EMBERLINE", 0, top - 90.0, w - 60.0, 46.0, kGameName);

    const double text = w - 70.0;
    CreditLine(cr, "CREDITS", top - 136.0, 24.0, text, Palette::EmberRed);
    CreditLine(cr, "A game built on the", top - 168.0, 20.0, text, Palette::Ink);
    CreditLine(cr, "TUNDRA ENGINE", top - 192.0, 26.0, text, Palette::Navy);
    CreditLine(cr, "Art, sound and music made", top - 226.0, 20.0, text, Palette::Ink);
    CreditLine(cr, "by its own generator", top - 248.0, 20.0, text, Palette::Ink);
    CreditLine(cr, "Published by SQUEALING QUOR", top - 282.0, 20.0, text, Palette::Ink);
    CreditLine(cr, "A HEARTHWORKS game", top - 304.0, 20.0, text, Palette::Ink);

    const double iconsY = top - 342.0;
    InterfaceParts::RobotIcon(cr, -132.0, iconsY, 40.0);
    for (int weapon = 0; weapon < 4; ++weapon) {
        InterfaceParts::WeaponIcon(cr, weapon, -68.0 + weapon * 54.0, iconsY, 38.0);
    }
    CreditLine(cr, "Thank you for playing!", top - 384.0, 24.0, text, Palette::EmberRed);
}

}  // namespace AssetGen::InterfaceSheets
