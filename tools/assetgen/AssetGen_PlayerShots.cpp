// The robot's shots, flying toward +x, and the bursts they end in. The
// colours are the weapons': plasma violet, beam blue, minigun yellow.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "AssetGen_PlayerEffects.h"
#include "AssetGen_PlayerParts.h"
#include "AssetGen_Random.h"
#include "AssetGen_Style.h"

namespace AssetGen::PlayerParts {
namespace {

using namespace Style;
using PlayerEffects::Glow;
using PlayerEffects::Spark;
using PlayerEffects::Star;

constexpr double kPi = std::numbers::pi;

double Phase(const FrameCanvas& canvas) { return canvas.frame / static_cast<double>(canvas.frameCount); }

// A comet tail behind a shot: a teardrop from the head at (x, 0) back to x - length.
void Tail(cairo_t* cr, double x, double length, double half, const Colour& colour) {
    cairo_save(cr);
    cairo_pattern_t* fade = cairo_pattern_create_linear(x - length, 0.0, x - half, 0.0);
    cairo_pattern_add_color_stop_rgba(fade, 0.0, colour.r, colour.g, colour.b, 0.0);
    cairo_pattern_add_color_stop_rgba(fade, 1.0, colour.r, colour.g, colour.b, colour.a);
    cairo_new_path(cr);
    cairo_move_to(cr, x - length, 0.0);
    cairo_curve_to(cr, x - length * 0.5, half * 0.5, x - half, half, x, half);
    cairo_arc_negative(cr, x, 0.0, half, kPi / 2.0, -kPi / 2.0);
    cairo_curve_to(cr, x - half, -half, x - length * 0.5, -half * 0.5, x - length, 0.0);
    cairo_close_path(cr);
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
    cairo_restore(cr);
}

// An impact: a flash that shrinks, a ring that widens and fades, sparks
// flying out and slowing; `t` runs from 0 to 1 over the animation.
void Impact(const FrameCanvas& canvas, const Colour& colour, double size) {
    cairo_t* cr = canvas.cr;
    const double t = canvas.frame / static_cast<double>(std::max(1, canvas.frameCount - 1));
    const double fade = 1.0 - t;
    Glow(cr, 0.0, 0.0, size * (0.6 + 0.4 * t), WithAlpha(colour, 0.7 * fade));
    if (t < 0.5) {
        // The flash: a hot disc with four spikes, shrinking.
        const double flash = 1.0 - t / 0.5;
        Star(cr, 0.0, 0.0, 4, size * 0.2, size * (0.5 + 0.45 * flash), 0.4 + 0.5 * t,
             WithAlpha(Mix(colour, Palette::White, 0.4), 0.95), 0.0);
        FlatFill(cr, [=](cairo_t* c) { Ellipse(c, 0.0, 0.0, size * 0.45 * flash + 1.0, size * 0.45 * flash + 1.0); },
                 colour, 0.0);
        FlatFill(cr, [=](cairo_t* c) { Ellipse(c, 0.0, 0.0, size * 0.3 * flash + 0.5, size * 0.3 * flash + 0.5); },
                 Palette::White, 0.0);
    }
    // The ring.
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, size * (0.35 + 0.55 * t), 0.0, 2.0 * kPi);
    SetColour(cr, WithAlpha(Mix(colour, Palette::White, 0.3), fade));
    cairo_set_line_width(cr, 1.0 + 2.0 * fade);
    cairo_stroke(cr);
    cairo_restore(cr);
    // Sparks keep their directions over the animation: one seed per sheet.
    Random random(canvas.seed);
    for (int i = 0; i < 6; ++i) {
        const double a = 2.0 * kPi * (i + 0.5 * random.Unit()) / 6.0;
        const double r = size * (0.3 + 0.6 * std::sqrt(t));
        if (fade > 0.05) {
            Spark(cr, r * std::cos(a), r * std::sin(a), a, size * 0.3 * fade + 1.0, 1.8 * fade + 0.6, colour);
        }
    }
    // A last wisp so the final frame still shows where the shot ended.
    if (t > 0.6) {
        FlatFill(cr, [=](cairo_t* c) { Ellipse(c, 0.0, 1.0, size * 0.25, size * 0.22); },
                 WithAlpha(Mix(colour, Palette::LightGrey, 0.6), 0.9), 0.0);
    }
}

}  // namespace

// The plasma shot: a violet orb with a comet tail and two sparks orbiting
// it; 12 frames make one turn.
void DrawPlasmaBullet(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour plasma = Palette::Plasma;
    const double turn = 2.0 * kPi * Phase(canvas);
    Glow(cr, 2.5, 0.0, 7.5, WithAlpha(plasma, 0.55));
    Tail(cr, 2.5, 12.5, 4.6, Mix(plasma, Palette::White, 0.15));
    Tail(cr, 2.5, 9.0, 2.2, Mix(plasma, Palette::White, 0.7));
    CelFill(cr, [](cairo_t* c) { Ellipse(c, 2.5, 0.0, 5.0, 5.0); }, TonesOf(plasma), 1.6, 1.5);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 3.2, 0.3, 2.4, 2.4); }, Mix(plasma, Palette::White, 0.75), 0.0);
    for (int i = 0; i < 2; ++i) {
        const double a = turn + kPi * i;
        const double x = 2.5 + 6.0 * std::cos(a);
        const double y = 3.2 * std::sin(a);
        FlatFill(cr, [=](cairo_t* c) { Ellipse(c, x, y, 1.5, 1.5); }, Mix(plasma, Palette::White, 0.6), 0.0);
    }
}

void DrawPlasmaDestroy(const FrameCanvas& canvas) { Impact(canvas, Palette::Plasma, 10.0); }

// The beam's travelling spark: a blue ball with short arcs crackling off it.
void DrawLightHack(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour beam = Palette::Beam;
    Glow(cr, 0.0, 0.0, 7.5, WithAlpha(beam, 0.6));
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int i = 0; i < 5; ++i) {
        const double a = 2.0 * kPi * (i + 0.4 * random.Unit()) / 5.0;
        cairo_move_to(cr, 3.0 * std::cos(a), 3.0 * std::sin(a));
        const double b = a + random.Signed() * 0.5;
        cairo_line_to(cr, 5.5 * std::cos(b), 5.5 * std::sin(b));
        cairo_line_to(cr, 6.8 * std::cos(a), 6.8 * std::sin(a));
    }
    SetColour(cr, beam);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    SetColour(cr, Palette::White);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
    CelFill(cr, [](cairo_t* c) { Ellipse(c, 0.0, 0.0, 4.2, 4.2); }, TonesOf(beam), 1.4, 1.4);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 0.4, 0.3, 2.0, 2.0); }, Mix(beam, Palette::White, 0.8), 0.0);
}

// The beam: a bolt across the whole cell from the gun (left edge) on, wide
// glow, blue body and white core, with forks; each frame crackles anew and
// the bolt thins as it dies.
void DrawLightning(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour beam = Palette::Beam;
    const double half = canvas.width / 2.0;
    const double t = canvas.frame / static_cast<double>(std::max(1, canvas.frameCount - 1));
    const double strength = 1.0 - 0.55 * t;
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));

    const int kinks = std::max(8, canvas.width / 24);
    std::vector<double> ys(static_cast<std::size_t>(kinks) + 1);
    for (int i = 0; i <= kinks; ++i) {
        // Pinned to the axis at both ends, so the bolt leaves the gun's muzzle.
        const double edge = std::min(1.0, std::min(i, kinks - i) / 3.0);
        ys[static_cast<std::size_t>(i)] = random.Signed() * 16.0 * edge;
    }
    auto bolt = [&](cairo_t* c) {
        cairo_new_path(c);
        for (int i = 0; i <= kinks; ++i) {
            const double x = -half + canvas.width * (i / static_cast<double>(kinks));
            cairo_line_to(c, x, ys[static_cast<std::size_t>(i)]);
        }
    };
    struct Fork {
        double x0, y0, x1, y1, xm, ym;
    };
    std::vector<Fork> forks;
    for (int i = 2; i < kinks - 2; i += 3 + random.Below(4)) {
        const double x0 = -half + canvas.width * (i / static_cast<double>(kinks));
        const double y0 = ys[static_cast<std::size_t>(i)];
        const double dir = y0 >= 0.0 ? 1.0 : -1.0;
        const double len = 20.0 + random.Unit() * 30.0;
        forks.push_back({x0, y0, x0 + len, std::clamp(y0 + dir * (10.0 + random.Unit() * 14.0), -34.0, 34.0),
                         x0 + len * 0.5 + random.Signed() * 6.0, y0 + dir * (2.0 + random.Unit() * 10.0)});
    }
    auto strokeAll = [&](const Colour& c, double width) {
        cairo_save(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        SetColour(cr, c);
        cairo_set_line_width(cr, width);
        bolt(cr);
        cairo_stroke(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, width * 0.55);
        for (const Fork& f : forks) {
            cairo_move_to(cr, f.x0, f.y0);
            cairo_line_to(cr, f.xm, f.ym);
            cairo_line_to(cr, f.x1, f.y1);
        }
        cairo_stroke(cr);
        cairo_restore(cr);
    };
    strokeAll(WithAlpha(beam, 0.25 * strength), 26.0 * strength);
    strokeAll(WithAlpha(beam, 0.45 * strength), 14.0 * strength);
    strokeAll(Mix(beam, Palette::Navy, 0.35), 8.0 * strength);
    strokeAll(beam, 6.0 * strength);
    strokeAll(Mix(beam, Palette::White, 0.85), 2.6 * strength);
}

// The machine-gun round: a hot yellow head at (24, 0), where its hit circle
// is, with a tracer streak behind it (the game stretches it along x).
void DrawMachineGunBullet(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour minigun = Palette::Minigun;
    Glow(cr, 24.0, 0.0, 6.0, WithAlpha(minigun, 0.6));
    Tail(cr, 24.0, 52.0, 3.6, WithAlpha(Mix(minigun, Palette::Flamer, 0.35), 0.85));
    Tail(cr, 24.0, 30.0, 1.8, WithAlpha(Mix(minigun, Palette::White, 0.6), 0.9));
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 24.0, 0.0, 4.4, 3.0); }, minigun, 1.2);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 24.6, 0.4, 2.2, 1.3); }, Palette::White, 0.0);
}

void DrawMiniDestroy(const FrameCanvas& canvas) { Impact(canvas, Palette::Minigun, 10.0); }

}  // namespace AssetGen::PlayerParts
