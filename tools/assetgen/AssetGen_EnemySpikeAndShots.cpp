// The rolling spike and the two shots of each theme. The spike's body circle
// (radius 24 to 26) lies inside its core on the frames that carry it; the
// shots' circles lie inside their frame 0.
#include <algorithm>
#include <array>
#include <cmath>

#include "AssetGen_EnemyFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Random.h"

namespace AssetGen::Enemy {

namespace {

using namespace Foe;


struct SpikeLook {
    Colour core, spike;
    int spikes;
    double coreRadius;
};

const SpikeLook& SpikeOf(int theme) {
    static const SpikeLook kLooks[3] = {
        {Style::Rgb(150, 100, 58), Style::Rgb(126, 186, 66), 11, 28},
        {Style::Rgb(196, 130, 80), Style::Rgb(170, 60, 48), 9, 28},
        {Style::Rgb(70, 112, 206), Style::Rgb(196, 236, 255), 8, 29},
    };
    return kLooks[theme];
}

struct ShotLook {
    Colour arc, dart;
};

const ShotLook& ShotOf(int theme) {
    static const ShotLook kLooks[3] = {
        {Style::Rgb(170, 112, 60), Style::Rgb(170, 240, 60)},
        {Palette::Sand, Style::Rgb(244, 70, 120)},
        {Palette::Snow, Style::Rgb(120, 210, 255)},
    };
    return kLooks[theme];
}

void Crack(cairo_t* cr, double size, std::uint64_t seed, double width) {
    Random random(seed);
    cairo_save(cr);
    cairo_new_path(cr);
    for (int branch = 0; branch < 3; ++branch) {
        double x = 0, y = 0;
        const double a = branch * 2.1 + random.Signed() * 0.4;
        cairo_move_to(cr, x, y);
        for (int i = 1; i <= 3; ++i) {
            const double d = size * i / 3.0;
            x = d * std::cos(a) + random.Signed() * 3;
            y = d * std::sin(a) + random.Signed() * 3;
            cairo_line_to(cr, x, y);
        }
    }
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Style::SetColour(cr, Palette::Ink);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Spike(cairo_t* cr, const SpikeLook& look, double flash, int cracks, std::uint64_t seed) {
    const double r = look.coreRadius;
    // Sharp for the game's sake: the points reach well past the hit circle.
    Body(cr, Star(0, 0, look.spikes, r * 0.9, 41.5, 0.2), look.spike, 3, kEnemyOutline);
    const Colour core = Style::Mix(look.core, Palette::White, flash);
    Body(cr, Circle(0, 0, r), core, 5, kEnemyOutline);
    Style::SetColour(cr, Style::Mix(core, Palette::Ink, 0.3));
    cairo_set_line_width(cr, 1.5);
    for (int i = 0; i < 3; ++i) {
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, r * (0.35 + 0.2 * i), 0.4 + i * 1.3, 1.6 + i * 1.3);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 2; ++i) {
        const double ex = i == 0 ? -10 : 6;
        Eye(cr, ex, 4, 5, 6, -0.5, 0, 0, Palette::EmberRed, kEnemyOutline * 0.6);
        Brow(cr, ex, 12, 5.5, i == 0 ? -2 : 2, kEnemyOutline * 0.8);
    }
    for (int i = 0; i < cracks; ++i) Crack(cr, r * 0.95, seed + i, 1.8);
}

}  // namespace

void DrawSpike(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    const SpikeLook& look = SpikeOf(theme);
    const int k = canvas.frame;
    if (k <= 2) {
        cairo_save(canvas.cr);
        cairo_translate(canvas.cr, k == 2 ? 1.5 : 0, 0);
        Spike(canvas.cr, look, 0.3 * k, k, canvas.seed);
        cairo_restore(canvas.cr);
        return;
    }
    const double t = static_cast<double>(k - 2) / std::max(1, canvas.frameCount - 3);
    Burst(canvas.cr, 0, 0, 30 + 10 * t, 9, Palette::Gold, std::max(0.0, 0.8 - t), 0.3 * k);
    SmokePuff(canvas.cr, 0, 0, look.coreRadius * (1.1 - 0.3 * t), t, 1 - 0.65 * t, Palette::LightGrey, canvas.seed);
    Shards(canvas.cr, 0, 0, 40, t, look.spikes, 7, look.spike, canvas.seed + 7);
}

void DrawArcShot(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    const Colour colour = ShotOf(theme).arc;
    if (canvas.frame == 0) {
        if (theme == 0) {
            // A seed: cap on top so its spin shows.
            Body(cr, Ellipse(0, -1.5, 11.5, 12.5), colour, 3, kEnemyOutline);
            Body(cr, Ellipse(0, 7, 13.5, 6.5), Style::Rgb(112, 78, 48), 2, kEnemyOutline);
            Limb(cr, {0, 12, 2, 16}, Style::Rgb(112, 78, 48), 2.5, 1);
        } else if (theme == 1) {
            Body(cr, RoundedPolygon({-13, -6, -5, -13, 9, -11, 14, 1, 6, 13, -8, 12}, 4), colour, 3.5, kEnemyOutline);
            for (const auto& dot :
                 {std::array<double, 2>{-4, 3}, std::array<double, 2>{5, -4}, std::array<double, 2>{2, 6}}) {
                Flat(cr, Circle(dot[0], dot[1], 1.8), Style::Mix(colour, Palette::Ink, 0.45), 0);
            }
        } else {
            Body(cr, Circle(0, 0, 13), colour, 4, kEnemyOutline);
            Limb(cr, {-7, 2, -1, 6, 6, 3}, Palette::Ice, 2, 0);
        }
        return;
    }
    const double t = canvas.frame / static_cast<double>(std::max(1, canvas.frameCount - 1));
    Burst(cr, 0, 0, 11 + 9 * t, 7, colour, 1 - 0.75 * t, 0.5 * canvas.frame);
    Shards(cr, 0, 0, 19, 0.35 + 0.65 * t, 6, 4, colour, canvas.seed);
}

void DrawDart(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    const Colour colour = ShotOf(theme).dart;
    if (canvas.frame == 0) {
        Glow(cr, -2, 0, 20, colour, 0.55);
        Flat(cr, RoundedPolygon({-21, 0, -8, 5, -8, -5}, 2), Style::WithAlpha(colour, 0.6), 0);
        Body(cr, RoundedPolygon({15, 0, 2, 8.5, -10, 7, -12, 0, -10, -7, 2, -8.5}, 5), colour, 2.5, kEnemyOutline);
        Flat(cr, Ellipse(1, 1.5, 5, 2.5), Style::Mix(colour, Palette::White, 0.75), 0);
        return;
    }
    const double t = canvas.frame / static_cast<double>(std::max(1, canvas.frameCount - 1));
    Glow(cr, 0, 0, 14 + 6 * t, colour, 0.7 * (1 - 0.6 * t));
    Burst(cr, 0, 0, 9 + 10 * t, 6, colour, 1 - 0.7 * t, 0.4 * canvas.frame);
    Shards(cr, 0, 0, 18, 0.3 + 0.7 * t, 5, 3, colour, canvas.seed);
}

}  // namespace AssetGen::Enemy
