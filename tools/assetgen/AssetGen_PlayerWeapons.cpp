// The robot's four guns. Each points along +x and turns about the cell's
// centre; aiming left the game turns it half a circle instead of mirroring
// it, so every gun is symmetric about the x axis, its shading included: the
// tubes are lit along their middle like metal cylinders.
#include <cmath>
#include <numbers>

#include "AssetGen_PlayerEffects.h"
#include "AssetGen_PlayerParts.h"
#include "AssetGen_Random.h"
#include "AssetGen_Style.h"

namespace AssetGen::PlayerParts {
namespace {

using namespace Style;
using PlayerEffects::Glow;

constexpr double kPi = std::numbers::pi;
constexpr double kLine = 1.6;  // the outline of these small parts

const Colour kGunMetal = Mix(Palette::SteelDark, Palette::Steel, 0.35);
const Colour kGunLight = Palette::Steel;

// Fills `path` with hard horizontal bands mirrored about its axis y = `axis`:
// shadow at the top and bottom edges (`half` from the axis), the base, a
// light stripe along the middle; then the outline.
void Tube(cairo_t* cr, const PathFunction& path, const Colour& base, double half, double axis = 0.0) {
    const Tones tones = TonesOf(base);
    cairo_save(cr);
    cairo_pattern_t* bands = cairo_pattern_create_linear(0.0, axis - half, 0.0, axis + half);
    auto stop = [&](double at, const Colour& c) { cairo_pattern_add_color_stop_rgba(bands, at, c.r, c.g, c.b, c.a); };
    stop(0.0, tones.shadow);
    stop(0.22, tones.shadow);
    stop(0.22, tones.base);
    stop(0.4, tones.base);
    stop(0.4, tones.light);
    stop(0.6, tones.light);
    stop(0.6, tones.base);
    stop(0.78, tones.base);
    stop(0.78, tones.shadow);
    stop(1.0, tones.shadow);
    cairo_new_path(cr);
    path(cr);
    cairo_set_source(cr, bands);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bands);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, kLine);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A rectangle centred on the x axis.
PathFunction Block(double left, double right, double half, double radius) {
    return [=](cairo_t* cr) { RoundedRectangle(cr, left, -half, right - left, 2.0 * half, radius); };
}

// A band around a tube, in `colour`, from x0 to x1.
void Band(cairo_t* cr, double x0, double x1, double half, const Colour& colour) {
    Tube(cr, Block(x0, x1, half, 1.0), colour, half);
}

// A glowing ball of a weapon's energy.
void Orb(cairo_t* cr, double x, double radius, const Colour& colour) {
    Glow(cr, x, 0.0, radius * 1.35, WithAlpha(colour, 0.6));
    FlatFill(cr, [=](cairo_t* c) { Ellipse(c, x, 0.0, radius, radius); }, colour, kLine);
    FlatFill(cr, [=](cairo_t* c) { Ellipse(c, x, 0.0, radius * 0.55, radius * 0.55); },
             Mix(colour, Palette::White, 0.7), 0.0);
}

// Rear stock shared by the guns: a rounded block with a grip notch.
void Stock(cairo_t* cr, double left, double right, double half, const Colour& colour) {
    Tube(cr, Block(left, right, half, half * 0.6), colour, half);
    cairo_save(cr);
    SetColour(cr, Mix(colour, Palette::Ink, 0.5));
    cairo_set_line_width(cr, 1.2);
    for (double x = left + 4.0; x < right - 2.0; x += 3.0) {
        cairo_move_to(cr, x, -half * 0.45);
        cairo_line_to(cr, x, half * 0.45);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A zigzag from (x0, y0) to (x1, y1) with `kinks` random offsets of up to
// `jitter`, stroked glow-wide in `colour` and thin in white.
void Arc(cairo_t* cr, Random& random, double x0, double y0, double x1, double y1, int kinks, double jitter,
         const Colour& colour) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    for (int i = 1; i < kinks; ++i) {
        const double t = i / static_cast<double>(kinks);
        cairo_line_to(cr, x0 + (x1 - x0) * t + random.Signed() * jitter * 0.4, y0 + (y1 - y0) * t + random.Signed() * jitter);
    }
    cairo_line_to(cr, x1, y1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, WithAlpha(colour, 0.8));
    cairo_set_line_width(cr, 2.2);
    cairo_stroke_preserve(cr);
    SetColour(cr, Palette::White);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace

// The plasma gun: coils that charge one after the other and an orb at the
// emitter that swells and shrinks with them (4 frames).
void DrawPlasmaWeapon(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const double phase = canvas.frame / static_cast<double>(canvas.frameCount);
    const Colour plasma = Palette::Plasma;
    Stock(cr, -23.0, -8.0, 6.5, kGunMetal);
    Tube(cr, Block(-10.0, 14.0, 4.5, 1.5), kGunLight, 4.5);
    for (int i = 0; i < 3; ++i) {
        const double x = -6.0 + 6.0 * i;
        const bool lit = (i == canvas.frame % 3) || canvas.frame == 3;
        Band(cr, x, x + 3.5, 6.0, lit ? Mix(plasma, Palette::White, 0.35) : Mix(plasma, Palette::Ink, 0.3));
    }
    // The emitter's flared mouth.
    Tube(cr, [](cairo_t* c) { Polygon(c, {{12.0, -4.5}, {21.0, -6.8}, {21.0, 6.8}, {12.0, 4.5}}); }, kGunMetal, 6.8);
    Orb(cr, 18.5, 3.0 + 1.2 * std::sin(2.0 * kPi * phase), plasma);
}

// The lightning gun: a coil ball behind a two-pronged fork, arcs jumping
// between the prongs (4 frames).
void DrawLightningWeapon(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour beam = Palette::Beam;
    Stock(cr, -23.0, -6.0, 7.0, kGunMetal);
    // Two prongs with an open gap between them for the arcs.
    for (double sign : {-1.0, 1.0}) {
        Tube(cr, [sign](cairo_t* c) {
            Polygon(c, {{-2.0, sign * 3.5}, {21.0, sign * 4.0}, {22.5, sign * 6.0}, {20.0, sign * 7.8}, {-2.0, sign * 7.5}});
        }, kGunLight, 2.0, sign * 5.7);
        Tube(cr, [sign](cairo_t* c) { RoundedRectangle(c, 8.0, sign * 5.7 - 2.4, 3.0, 4.8, 1.0); },
             Mix(beam, Palette::Ink, 0.2), 2.4, sign * 5.7);
    }
    Orb(cr, -2.0, 5.5, beam);
    // Each arc is drawn twice, mirrored, so the gun stays symmetric.
    const double reach = 12.0 + 3.0 * (canvas.frame % 2);
    for (double sign : {-1.0, 1.0}) {
        Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
        cairo_save(cr);
        cairo_scale(cr, 1.0, sign);
        Arc(cr, random, 4.0, 0.0, 4.0 + reach, 0.0, 4, 3.0, beam);
        Arc(cr, random, 21.5, 4.5, 22.5, 0.0, 3, 1.0, beam);
        cairo_restore(cr);
    }
}

// The flamethrower: a round fuel tank at the back, a long nozzle and a pilot
// flame at its tip that flickers (2 frames).
void DrawFlamethrowerWeapon(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour flamer = Palette::Flamer;
    const bool big = canvas.frame % 2 == 0;
    Tube(cr, Block(-10.0, 16.0, 3.5, 1.0), kGunLight, 3.5);
    Band(cr, 3.0, 5.5, 4.8, kGunMetal);
    Tube(cr, Block(13.5, 19.0, 5.5, 1.5), kGunMetal, 5.5);
    Tube(cr, [](cairo_t* c) { Ellipse(c, -14.5, 0.0, 8.5, 8.2); }, flamer, 8.2);
    Band(cr, -16.0, -13.0, 7.9, Mix(flamer, Palette::Ink, 0.45));
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, -19.5, 0.0, 1.6, 1.6); }, Palette::Ink, 0.0);
    // The pilot flame: an outer orange tongue with a gold core.
    const double length = big ? 4.6 : 3.2;
    const double half = big ? 3.2 : 2.4;
    auto tongue = [](cairo_t* c, double x, double len, double h) {
        cairo_move_to(c, x, -h);
        cairo_curve_to(c, x + len * 0.6, -h, x + len, -h * 0.3, x + len, 0.0);
        cairo_curve_to(c, x + len, h * 0.3, x + len * 0.6, h, x, h);
        cairo_close_path(c);
    };
    FlatFill(cr, [&](cairo_t* c) { tongue(c, 19.0, length, half); }, flamer, 1.2);
    FlatFill(cr, [&](cairo_t* c) { tongue(c, 19.0, length * 0.6, half * 0.5); }, Palette::Gold, 0.0);
}

// The machine gun: a drum with a yellow warning stripe and three barrels.
void DrawMachineGunWeapon(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour minigun = Palette::Minigun;
    for (double y : {-5.0, 5.0, 0.0}) {
        Tube(cr, [y](cairo_t* c) { RoundedRectangle(c, -6.0, y - 2.4, 29.0, 4.8, 1.5); }, kGunLight, 2.4, y);
    }
    Band(cr, 17.0, 19.5, 8.0, kGunMetal);
    for (double y : {-5.0, 0.0, 5.0}) {
        FlatFill(cr, [y](cairo_t* c) { Ellipse(c, 21.6, y, 0.9, 1.3); }, Palette::Ink, 0.0);
    }
    Tube(cr, Block(-23.0, -4.0, 8.0, 4.0), kGunMetal, 8.0);
    FlatFill(cr, Block(-18.0, -12.0, 8.0, 1.0), minigun, kLine);
    FlatFill(cr, Block(-17.5, -12.5, 1.2, 0.0), Mix(minigun, Palette::White, 0.7), 0.0);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, -7.5, 0.0, 2.2, 2.2); }, Mix(minigun, Palette::White, 0.3), 1.2);
}

}  // namespace AssetGen::PlayerParts
