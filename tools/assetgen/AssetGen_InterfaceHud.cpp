// The HUD sheets. Most are drawn crisp on whole pixels (PixelSpace: origin at
// the cell's top-left corner, y down). Frames drawn over a fill leave alpha 0
// wherever their fill has ink, at both places the levels put them.
#include <algorithm>
#include <array>
#include <cmath>

#include "AssetGen_InterfaceParts.h"
#include "AssetGen_InterfaceSheets.h"
#include "AssetGen_Style.h"

namespace AssetGen::InterfaceSheets {
namespace {

using namespace Style;

struct PixelRect {
    int x;
    int y;
    int width;
    int height;
};

// The windows the frames keep clear, in the frame's pixels. PlayerHP (124 x 44)
// over PlayerHPColor (106 x 28): the title level puts both at one place, the
// stage the fill one unit left, so the window spans both and a pixel more.
constexpr PixelRect kPlayerHpWindow{7, 7, 110, 30};
// DistBG (248 x 26) over DistBar (224 x 6), both centred on one point.
constexpr PixelRect kDistWindow{12, 10, 224, 6};
// BossHPBar (156 x 74) over BossHP (136 x 30), which lies 4 units lower.
constexpr PixelRect kBossHpWindow{10, 26, 136, 30};
// WeaponBars over the four bar fills (42 x 76 each): the fill's columns.
constexpr int kWeaponFillLeft = 10;
constexpr int kWeaponFillWidth = 22;
// The gauges beside the cursor (LRCursor, 28 x 26): their columns.
constexpr int kGaugeWidth = 4;
constexpr std::array<int, 2> kGaugeLeft{2, 22};

void Rectangle(cairo_t* cr, double x, double y, double width, double height, const Colour& colour) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, width, height);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Clear(cairo_t* cr, const PixelRect& r) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A dark rounded casing around a window, with a lighter inner lip.
void Casing(cairo_t* cr, double x, double y, double width, double height, double radius, const PixelRect& window) {
    CelFill(
        cr, [&](cairo_t* c) { RoundedRectangle(c, x, y, width, height, radius); }, TonesOf(Palette::Panel), 2.5,
        kOutline);
    cairo_new_path(cr);
    cairo_rectangle(cr, window.x - 1.0, window.y - 1.0, window.width + 2.0, window.height + 2.0);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    Clear(cr, window);
}

// A vertical colour ramp across the rows of a bar, top to bottom.
void BarRows(cairo_t* cr, double x, double width, double height, const Colour& base) {
    const Colour top = Mix(base, Palette::White, 0.45);
    const Colour bottom = Mix(base, Palette::Ink, 0.35);
    for (int row = 0; row < static_cast<int>(height); ++row) {
        const double t = height > 1 ? row / (height - 1.0) : 0.5;
        const Colour c = t < 0.25 ? Mix(top, base, t / 0.25) : Mix(base, bottom, (t - 0.25) / 0.75);
        Rectangle(cr, x, row, width, 1.0, c);
    }
}

void WeaponFill(const FrameCanvas& canvas, int weapon) {
    PixelSpace space(canvas);
    const Colour colour = WeaponColour(weapon);
    const double x = kWeaponFillLeft;
    const double w = kWeaponFillWidth;
    Rectangle(canvas.cr, x, 0, w, canvas.height, colour);
    Rectangle(canvas.cr, x, 0, 3, canvas.height, Mix(colour, Palette::White, 0.35));
    Rectangle(canvas.cr, x + 4, 0, 2, canvas.height, Mix(colour, Palette::White, 0.6));
    Rectangle(canvas.cr, x + w - 4, 0, 4, canvas.height, Mix(colour, Palette::Ink, 0.3));
    // Cell lines, so a part-full bar reads as charge.
    for (int row = 11; row < canvas.height; row += 12) {
        Rectangle(canvas.cr, x, row, w, 1, Mix(colour, Palette::Ink, 0.3));
    }
}

}  // namespace

void Cursor(const FrameCanvas& c) {
    PixelSpace space(c);
    const double cx = c.width / 2.0;
    const double cy = c.height / 2.0;
    cairo_t* cr = c.cr;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 6.0, 0.0, 2.0 * 3.141592653589793);
    for (const Point& d : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
        cairo_move_to(cr, cx + d.x * 4.0, cy + d.y * 4.0);
        cairo_line_to(cr, cx + d.x * 8.5, cy + d.y * 8.5);
    }
    OutlinedStroke(cr, Palette::White, 2.0, 1.0);
    Rectangle(cr, cx - 1.0, cy - 1.0, 2.0, 2.0, Palette::Ember);
}

void LRCursor(const FrameCanvas& c) {
    // Tinted by the hand's weapon colour and cut from the top by the charge:
    // light only, and every row of the gauge inked.
    PixelSpace space(c);
    const double x = kGaugeLeft.at(static_cast<std::size_t>(c.frame % 2));
    Rectangle(c.cr, x, 0, kGaugeWidth, c.height, Rgb(236, 236, 236));
    Rectangle(c.cr, x, 0, 1, c.height, Palette::White);
    Rectangle(c.cr, x + kGaugeWidth - 1, 0, 1, c.height, Rgb(212, 212, 212));
}

void WeaponBars(const FrameCanvas& c) {
    // Frame k belongs to weapon k: its lights take the weapon's colour.
    PixelSpace space(c);
    cairo_t* cr = c.cr;
    const Colour accent = WeaponColour(c.frame % 4);
    const double railWidth = kWeaponFillLeft - 3.0;
    for (const double x : {2.0, kWeaponFillLeft + kWeaponFillWidth + 1.0}) {
        CelFill(
            cr, [&](cairo_t* p) { RoundedRectangle(p, x, 1, railWidth, c.height - 2.0, 3); },
            TonesOf(Palette::SteelDark), 2.0, kOutline);
        for (int k = 0; k < 3; ++k) {
            const double y = 10.0 + k * 24.0;
            CelFill(
                cr, [&](cairo_t* p) { RoundedRectangle(p, x + 1.5, y, railWidth - 3.0, 8, 2); }, TonesOf(accent), 1.5,
                1.0);
        }
    }
    Clear(cr, {kWeaponFillLeft, 0, kWeaponFillWidth, c.height});
}

void PlasmaBar(const FrameCanvas& c) { WeaponFill(c, 0); }
void LightningBar(const FrameCanvas& c) { WeaponFill(c, 1); }
void FlamethrowerBar(const FrameCanvas& c) { WeaponFill(c, 2); }
void MachineGunBar(const FrameCanvas& c) { WeaponFill(c, 3); }

void PlayerHP(const FrameCanvas& c) {
    PixelSpace space(c);
    Casing(c.cr, 2, 2, c.width - 4, c.height - 4, 9, kPlayerHpWindow);
    for (const double x : {4.5, c.width - 4.5}) {
        Highlight(c.cr, x, c.height / 2.0, 1.2, 1.2, Palette::Gold);
    }
}

void PlayerHPColor(const FrameCanvas& c) {
    // Tinted green to red by the code and cut from the right by the health.
    PixelSpace space(c);
    for (int row = 0; row < c.height; ++row) {
        const double t = row / (c.height - 1.0);
        const int level = static_cast<int>(std::lround(t < 0.3 ? 255.0 - 20.0 * t : 249.0 - 40.0 * (t - 0.3)));
        Rectangle(c.cr, 0, row, c.width, 1, Rgb(level, level, level));
    }
    Rectangle(c.cr, 0, 3, c.width, 2, Palette::White);
}

void HpBar(const FrameCanvas& c) {
    PixelSpace space(c);
    if (c.frame == 0) {
        // The background frame, drawn above the bar: a rim only.
        cairo_new_path(c.cr);
        cairo_rectangle(c.cr, 0.5, 0.5, c.width - 1.0, c.height - 1.0);
        SetColour(c.cr, Palette::Ink);
        cairo_set_line_width(c.cr, 1.0);
        cairo_stroke(c.cr);
        return;
    }
    BarRows(c.cr, 0, c.width, c.height, Palette::Danger);
}

void DistBar(const FrameCanvas& c) {
    // Also stretched into the boss warning's banner, so a plain ramp.
    PixelSpace space(c);
    BarRows(c.cr, 0, c.width, c.height, Palette::Ember);
}

void DistBG(const FrameCanvas& c) {
    PixelSpace space(c);
    Casing(c.cr, 1, 1, c.width - 2, c.height - 2, (c.height - 2) / 2.0, kDistWindow);
    Highlight(c.cr, 6.5, c.height / 2.0, 2.5, 2.5, Palette::Health);
    Highlight(c.cr, c.width - 6.5, c.height / 2.0, 2.5, 2.5, Palette::Danger);
}

void DistPoint(const FrameCanvas& c) {
    const double r = std::min(c.width, c.height) / 2.0 - 3.0;
    CelFill(
        c.cr, [&](cairo_t* p) { Ellipse(p, 0, 0, r, r); }, TonesOf(Palette::Ember), 2.0, kOutline);
    FlatFill(
        c.cr,
        [&](cairo_t* p) {
            Polygon(p, {{r * 0.6, 0}, {-r * 0.35, r * 0.5}, {-r * 0.35, -r * 0.5}});
        },
        Palette::White, 1.0);
}

void BossHP(const FrameCanvas& c) {
    PixelSpace space(c);
    BarRows(c.cr, 0, c.width, c.height, Palette::Danger);
    for (int x = 16; x < c.width; x += 17) {
        Rectangle(c.cr, x, 0, 1, c.height, Mix(Palette::Danger, Palette::Ink, 0.3));
    }
}

void BossHPBar(const FrameCanvas& c) {
    cairo_t* cr = c.cr;
    {
        PixelSpace space(c);
        Casing(cr, 2, 16, c.width - 4, 50, 10, kBossHpWindow);
        for (const double x : {6.0, c.width - 6.0}) {
            Highlight(cr, x, 41, 1.5, 1.5, Palette::Gold);
        }
    }
    // The skull badge above the window (y up from here).
    const double cy = c.height / 2.0 - 14.0;
    for (int side = -1; side <= 1; side += 2) {
        CelFill(
            cr,
            [&](cairo_t* p) {
                cairo_move_to(p, side * 7.0, cy + 4.0);
                cairo_curve_to(p, side * 14.0, cy + 8.0, side * 18.0, cy + 8.0, side * 22.0, cy + 12.0);
                cairo_curve_to(p, side * 17.0, cy + 2.0, side * 13.0, cy - 2.0, side * 8.0, cy - 3.0);
                cairo_close_path(p);
            },
            TonesOf(Palette::PaleGrey), 1.5, kOutline);
    }
    CelFill(
        cr, [&](cairo_t* p) { Ellipse(p, 0, cy, 10.5, 10.0); }, TonesOf(Palette::PaleGrey), 2.0, kOutline);
    for (int side = -1; side <= 1; side += 2) {
        FlatFill(
            cr, [&](cairo_t* p) { Ellipse(p, side * 4.0, cy + 0.5, 2.6, 3.0); }, Palette::EmberRed, 0.0);
    }
    Rectangle(cr, -3.0, cy - 8.0, 6.0, 2.0, Palette::Ink);
}

// The volume ramp both Volume and volumeBG follow, in PixelSpace: the
// right triangle from the picture's bottom-left corner to its top-right one,
// where the slider takes presses, so that every drawn pixel sets the volume
// at its place, from 0 at the left tip to 1 at the right edge.
void VolumeRamp(cairo_t* cr, double width, double height) {
    Polygon(cr, {{0, height}, {width, height}, {width, 0}});
}

void Volume(const FrameCanvas& c) {
    // Tinted red to green by the code and cut from the right by the volume:
    // a rising ramp in light bands whose every column holds ink, the tip's
    // first pixel (its corner sets 0) inked whole.
    PixelSpace space(c);
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_new_path(cr);
    VolumeRamp(cr, c.width, c.height);
    cairo_clip(cr);
    for (int x = 0; x < c.width; x += 10) {
        Rectangle(cr, x, 0, 8, c.height, Palette::White);
        Rectangle(cr, x + 8, 0, 2, c.height, Rgb(222, 222, 222));
    }
    cairo_restore(cr);
    Rectangle(cr, 0, c.height - 1.0, 1, 1, Palette::White);
}

void VolumeBG(const FrameCanvas& c) {
    cairo_t* cr = c.cr;
    PixelSpace space(c);
    const double w = c.width;
    const double h = c.height;
    // A dark plate with a rim along the ramp, then the ramp cut out a pixel
    // and a half wider than the fill, so no pixel the fill inks keeps alpha.
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, 1.0, 1.0, w - 2.0, h - 2.0, 8.0); }, TonesOf(Palette::Panel), 2.5,
        kOutline);
    cairo_save(cr);
    cairo_new_path(cr);
    VolumeRamp(cr, w, h);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, 7.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    VolumeRamp(cr, w, h);
    cairo_set_line_width(cr, 3.0);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_restore(cr);
    // A speaker above the ramp's low end.
    CelFill(
        cr,
        [](cairo_t* p) {
            Polygon(p, {{8, 14}, {14, 14}, {22, 7}, {22, 31}, {14, 24}, {8, 24}});
        },
        TonesOf(Palette::PaleGrey), 1.5, kOutline);
    cairo_new_path(cr);
    for (const double r : {6.0, 11.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 23, 19, r, -0.8, 0.8);
    }
    OutlinedStroke(cr, Palette::PaleGrey, 2.0, 1.0);
}

void WarningText(const FrameCanvas& c) {
    // Two frames blinking: bright, then glowing red.
    const bool bright = c.frame % 2 == 0;
    const LetteringStyle style{.size = 46,
                               .top = bright ? Palette::Minigun : Palette::White,
                               .bottom = bright ? Palette::Ember : Rgb(255, 150, 130),
                               .outline = bright ? Palette::Ink : Palette::EmberRed,
                               .outlineWidth = 3.0};
    LetteringToFit(c.cr, "WARNING", 0, 0, c.width - 120.0, c.height - 4.0, style);
    for (int side = -1; side <= 1; side += 2) {
        const double cx = side * (c.width / 2.0 - 34.0);
        const double r = c.height / 2.0 - 4.0;
        CelFill(
            c.cr,
            [&](cairo_t* p) {
                Polygon(p, {{cx, r}, {cx + r * 1.1, -r * 0.85}, {cx - r * 1.1, -r * 0.85}});
            },
            TonesOf(bright ? Palette::Minigun : Palette::Danger), 2.0, 3.0);
        const LetteringStyle mark{.size = r * 1.1, .top = Palette::Ink, .bottom = Palette::Ink, .outlineWidth = 0.0};
        Lettering(c.cr, "!", cx, -r * 0.12, mark);
    }
}

void WarningBoss(const FrameCanvas& c) {
    const LetteringStyle big{
        .size = 100, .top = Palette::Gold, .bottom = Palette::EmberRed, .outlineWidth = 5.0, .shadowOffset = 4.0};
    LetteringToFit(c.cr, "BOSS", 0, c.height * 0.17, c.width - 8.0, c.height * 0.6, big);
    LetteringStyle small = big;
    small.size = 44;
    small.top = Palette::White;
    small.bottom = Palette::LightGrey;
    small.outlineWidth = 4.0;
    small.shadowOffset = 3.0;
    LetteringToFit(c.cr, "INCOMING", 0, -c.height * 0.3, c.width - 8.0, c.height * 0.34, small);
}

void DialogArrow(const FrameCanvas& c) {
    PixelSpace space(c);
    const double w = c.width;
    CelFill(
        c.cr,
        [&](cairo_t* p) {
            Polygon(p, {{5, 3}, {w - 5, 3}, {w / 2.0, c.height - 3.0}});
        },
        TonesOf(Palette::White), 1.5, kOutline);
}

void Star(const FrameCanvas& c) {
    // Frame k: k of the three stars earned, left first, then the middle one.
    struct Place {
        double x, y, r;
    };
    const std::array<Place, 3> places{{{-72.0, -12.0, 34.0}, {0.0, 6.0, 44.0}, {72.0, -12.0, 34.0}}};
    for (int i = 0; i < 3; ++i) {
        const Place& p = places.at(static_cast<std::size_t>(i));
        const bool earned = i < c.frame;
        CelFill(
            c.cr, [&](cairo_t* q) { InterfaceParts::StarPath(q, p.x, p.y, p.r); },
            TonesOf(earned ? Palette::Gold : Palette::DarkGrey), 4.0, 3.0);
        if (earned) {
            Highlight(c.cr, p.x - p.r * 0.22, p.y + p.r * 0.2, p.r * 0.12, p.r * 0.08);
        }
    }
}

void WhiteDot(const FrameCanvas& c) {
    // The full-screen fade: one opaque black pixel, stretched.
    SetColour(c.cr, Palette::Black);
    cairo_paint(c.cr);
}

}  // namespace AssetGen::InterfaceSheets
