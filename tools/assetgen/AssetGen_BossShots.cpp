// The bosses' attacks: the warning marker that bobs where a strike will land,
// the bear's thrown ball and its lightning column, the alpaca's wool bomb. Each
// hit circle lies on the ink of the frames that carry it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "AssetGen_BossFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Random.h"

namespace AssetGen::Boss {

namespace {

using namespace Foe;

const Colour kStorm = Style::Rgb(120, 214, 255);
const Colour kStormDeep = Style::Rgb(40, 110, 230);

// A jagged line from x0 to x1 along y = 0, `step` apart, jittered by `jag`.
std::vector<double> Jagged(double x0, double x1, double y, double step, double jag, Random& random) {
    std::vector<double> points;
    const int n = std::max(2, static_cast<int>(std::abs(x1 - x0) / step));
    for (int i = 0; i <= n; ++i) {
        const double x = x0 + (x1 - x0) * i / n;
        points.push_back(x);
        points.push_back(i == 0 || i == n ? y : y + jag * random.Signed());
    }
    return points;
}

void StrokePolyline(cairo_t* cr, const std::vector<double>& p, const Colour& colour, double width) {
    cairo_new_path(cr);
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Style::SetColour(cr, colour);
    cairo_stroke(cr);
}

// A bolt: glow, blue body, white core.
void Bolt(cairo_t* cr, const std::vector<double>& p, double width, double alpha) {
    StrokePolyline(cr, p, Style::WithAlpha(kStormDeep, 0.55 * alpha), width * 2.4);
    StrokePolyline(cr, p, Style::WithAlpha(kStorm, alpha), width);
    StrokePolyline(cr, p, Style::WithAlpha(Palette::White, alpha), width * 0.4);
}

}  // namespace

void DrawAttackWarning(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    Body(cr, RoundedPolygon({-16, 2, 16, 2, 0, -40}, 4), Palette::Danger, 3, 2.5);
    Body(cr, Circle(0, 16, 22), Palette::Danger, 5, 2.5);
    Flat(cr, RoundedPolygon({-4.5, 34, 4.5, 34, 3, 14, -3, 14}, 2), Palette::White, 0);
    Flat(cr, Circle(0, 6, 3.5), Palette::White, 0);
}

void DrawBearBall(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    Random random(canvas.seed + canvas.frame);
    if (canvas.frame == 0) {
        // A ball of storm: deep blue shell, a bright heart, bolts inside and
        // sparks leaping off its rim.
        Glow(cr, 1, 0, 50, kStorm, 0.6);
        Body(cr, Circle(1, 0, 34), Style::Mix(kStormDeep, kStorm, 0.45), 7, 3);
        Glow(cr, 1, 0, 26, Palette::White, 0.8);
        for (int i = 0; i < 3; ++i) {
            const double a = i * 2.1 + 0.5;
            std::vector<double> p{1, 0};
            for (int s = 1; s <= 3; ++s) {
                p.push_back(1 + 9 * s * std::cos(a) + 4 * random.Signed());
                p.push_back(9 * s * std::sin(a) + 4 * random.Signed());
            }
            Bolt(cr, p, 2.5, 1);
        }
        for (int i = 0; i < 4; ++i) {
            const double a = i * kPi / 2 + 0.6;
            Bolt(cr,
                 {1 + 32 * std::cos(a), 32 * std::sin(a), 1 + 40 * std::cos(a + 0.12), 40 * std::sin(a + 0.12),
                  1 + 45 * std::cos(a - 0.05), 45 * std::sin(a - 0.05)},
                 2, 1);
        }
        return;
    }
    const double t = canvas.frame / static_cast<double>(std::max(1, canvas.frameCount - 1));
    Glow(cr, 0, 0, 40 + 10 * t, kStorm, 0.8 * (1 - 0.6 * t));
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 16 + 28 * t, 0, 2 * kPi);
    cairo_set_line_width(cr, 6 * (1 - 0.5 * t));
    Style::SetColour(cr, Style::WithAlpha(kStorm, 1 - 0.7 * t));
    cairo_stroke(cr);
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3 + random.Signed() * 0.3;
        const double r0 = 10 + 20 * t, r1 = r0 + 14;
        Bolt(cr,
             {r0 * std::cos(a), r0 * std::sin(a), (r0 + r1) / 2 * std::cos(a + 0.15),
              (r0 + r1) / 2 * std::sin(a + 0.15), r1 * std::cos(a), r1 * std::sin(a)},
             3, 1 - 0.6 * t);
    }
}

void DrawBearLightning(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const double half = canvas.width / 2.0 - 4;
    Random random(canvas.seed + canvas.frame);
    // Frame 0 is the first thin flash; the strike then flickers at full
    // strength and thins out over the last frames. Its glow spans the 40
    // units either side of the centre line in which it hurts.
    const int k = canvas.frame, last = canvas.frameCount - 1;
    const double strength = k == 0 ? 0.35 : (k >= last - 1 ? 0.55 : 1.0);
    cairo_pattern_t* band = cairo_pattern_create_linear(0, -40, 0, 40);
    cairo_pattern_add_color_stop_rgba(band, 0, kStormDeep.r, kStormDeep.g, kStormDeep.b, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.5, kStorm.r, kStorm.g, kStorm.b, 0.8 * strength);
    cairo_pattern_add_color_stop_rgba(band, 1, kStormDeep.r, kStormDeep.g, kStormDeep.b, 0);
    cairo_rectangle(cr, -canvas.width / 2.0, -40, canvas.width, 80);
    cairo_set_source(cr, band);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
    const double jag = 8 + 6 * strength;
    if (k > 0) Bolt(cr, Jagged(-half, half, 0, 46, jag * 1.6, random), 3 + 2 * strength, 0.8 * strength);
    Bolt(cr, Jagged(-half, half, 0, 30, jag, random), 5 + 8 * strength, 1);
    if (k == 0) return;
    for (int i = 0; i < 4; ++i) {
        const double x0 = -half + (i + 0.3 + 0.4 * random.Unit()) * 2 * half / 4;
        const double dir = i % 2 == 0 ? 1 : -1;
        std::vector<double> branch{x0, 0};
        for (int s = 1; s <= 4; ++s) {
            branch.push_back(x0 + s * 22);
            branch.push_back(dir * std::min(34.0, s * 8 + 4 * random.Unit()));
        }
        Bolt(cr, branch, 2 + 2 * strength, strength);
    }
}

void DrawAlpacaBomb(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    const int k = canvas.frame;
    if (k == 0) {
        // A ball of wool with a lit fuse, fading in where the marker bobbed.
        Limb(cr, {4, 18, 10, 28, 18, 30}, Style::Rgb(120, 90, 70), 3, 1.5);
        Burst(cr, 19, 31, 8, 6, Palette::Gold, 1, 0.2);
        Body(cr, Fluffy(0, -4, 20, 20, 9, 8), kAlpacaWool, 5, 3);
        Limb(cr, {-14, -4, 14, -4}, Palette::Teal, 4, 0);
        return;
    }
    // The blast hurts on frames 1 to 3, so it covers the hit circle there;
    // the last frame is its smoke.
    const double t = (k - 1.0) / std::max(1, canvas.frameCount - 2);
    if (k < canvas.frameCount - 1) {
        Burst(cr, 0, -1, 47, 9, Palette::Ember, 1, 0.35 * k);
        Body(cr, Fluffy(0, -1, 30, 30, 8, 10), Palette::Ember, 6, 3);
        Body(cr, Fluffy(0, -1, 20 - 4 * t, 20 - 4 * t, 7, 7), Palette::Gold, 4, 0);
        Glow(cr, 0, -1, 20, Palette::White, 0.9 - 0.4 * t);
    } else {
        SmokePuff(cr, 0, 4, 44, 1, 0.7, Palette::LightGrey, canvas.seed);
    }
    Shards(cr, 0, -1, 44, 0.3 + 0.7 * t, 7, 6, kAlpacaWool, canvas.seed + k);
}

}  // namespace AssetGen::Boss
