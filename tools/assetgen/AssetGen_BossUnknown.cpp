// The unknown: a void core on ragged dark wings. The body circle (-24, -42)
// lies on the core; the eye sprite is mounted over the core's socket at
// (-54, -42), the halves below it at (-23, -149) and (-100, -128). A half is
// also fired as a shot, showing its charged frame 0.
#include <algorithm>
#include <array>
#include <cmath>

#include "AssetGen_BossFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Random.h"

namespace AssetGen::Boss {

namespace {

using namespace Foe;

const Colour kVoid = Style::Rgb(76, 46, 116);
const Colour kWing = Style::Rgb(52, 34, 84);
const Colour kBone = Style::Rgb(232, 226, 206);
const Colour kGleam = Style::Rgb(140, 255, 190);
const Colour kSocket = Style::Rgb(20, 12, 34);
constexpr double kCoreX = -24, kCoreY = -42;

PathFunction Wing(double side) {
    // Mirrored about the core's centre line.
    auto x = [side](double dx) { return kCoreX + side * dx; };
    return RoundedPolygon({x(10),  30, x(120), 150, x(272), 176, x(228), 112,  x(268), 62,
                           x(204), 34, x(250), -20, x(168), -38, x(190), -100, x(80),  -84},
                          6);
}

void WingRibs(cairo_t* cr, double side, double alpha) {
    for (const auto& tip :
         {std::array<double, 2>{248, 168}, std::array<double, 2>{246, 62}, std::array<double, 2>{228, -18}}) {
        Limb(cr,
             {kCoreX + side * 40, 0, kCoreX + side * (tip[0] * 0.55), tip[1] * 0.7 + 10, kCoreX + side * tip[0] * 0.9,
              tip[1] * 0.9},
             Style::WithAlpha(kGleam, alpha), 3, 0);
    }
}

// `ruin` 0..1: the wings wither, the core cracks and pours out light.
void Unknown(cairo_t* cr, double ruin, std::uint64_t seed) {
    const double wingScale = 1 - 0.55 * ruin;
    for (const double side : {-1.0, 1.0}) {
        cairo_save(cr);
        cairo_translate(cr, kCoreX, kCoreY + 60);
        cairo_scale(cr, wingScale, wingScale);
        cairo_translate(cr, -kCoreX, -(kCoreY + 60));
        Body(cr, Wing(side), Style::Mix(kWing, Palette::Ink, 0.4 * ruin), 14, kBossOutline);
        WingRibs(cr, side, 0.8 * (1 - ruin));
        cairo_restore(cr);
    }
    for (int i = 0; i < 4; ++i) {
        const double x = kCoreX - 60 + i * 40, out = (i - 1.5) * 16;
        const double reach = 1 - 0.6 * ruin;
        Limb(cr, {x, kCoreY - 60, x + out * 0.5 - 8, kCoreY - 60 - 50 * reach, x + out + 6, kCoreY - 60 - 88 * reach},
             kWing, 12 - 2 * (i % 2), kBossOutline * 0.75);
    }
    for (int i = -1; i <= 1; ++i) {
        const double x = kCoreX + i * 50, h = i == 0 ? 120 : 88;
        Body(cr, RoundedPolygon({x - 16, kCoreY + 80, x + 16, kCoreY + 80, x + i * 22, kCoreY + 80 + h}, 4), kBone, 5,
             kBossOutline);
    }
    Glow(cr, kCoreX, kCoreY, 150, kGleam, 0.35 + 0.5 * ruin);
    Body(cr, Circle(kCoreX, kCoreY, 100), Style::Mix(kVoid, kGleam, 0.35 * ruin), 16, kBossOutline);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, kCoreX, kCoreY, 84, 0, 2 * kPi);
    cairo_set_line_width(cr, 3);
    cairo_set_dash(cr, std::array<double, 2>{14, 10}.data(), 2, 0);
    Style::SetColour(cr, Style::WithAlpha(kGleam, 0.8));
    cairo_stroke(cr);
    cairo_restore(cr);
    Flat(cr, Ellipse(-54, -42, 50, 72), kSocket, kBossOutline);
    if (ruin <= 0) return;
    // Cracks of light, wider as it breaks.
    Random random(seed);
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * kPi / 7 + 0.4 * random.Signed();
        const double spread = 0.05 + 0.12 * ruin;
        const double reach = 110 + 90 * ruin;
        cairo_new_path(cr);
        cairo_move_to(cr, kCoreX, kCoreY);
        cairo_line_to(cr, kCoreX + reach * std::cos(a - spread), kCoreY + reach * std::sin(a - spread));
        cairo_line_to(cr, kCoreX + reach * std::cos(a + spread), kCoreY + reach * std::sin(a + spread));
        cairo_close_path(cr);
        Style::SetColour(cr, Style::WithAlpha(Style::Mix(kGleam, Palette::White, 0.6), 0.55 + 0.3 * ruin));
        cairo_fill(cr);
    }
}

// A bone talon curling from angle a0 on a circle of radius r0 about (cx, cy)
// to its tip at angle a1 and radius r1, tapering as it goes.
PathFunction Talon(double cx, double cy, double r0, double r1, double a0, double a1, double width) {
    return [=](cairo_t* cr) {
        constexpr int kSteps = 12;
        auto point = [&](int s, double out) {
            const double f = s / double(kSteps), a = a0 + (a1 - a0) * f, r = r0 + (r1 - r0) * f + out;
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        };
        cairo_new_sub_path(cr);
        for (int s = 0; s <= kSteps; ++s) point(s, width * (1 - s / double(kSteps)));
        for (int s = kSteps; s >= 0; --s) point(s, 0);
        cairo_close_path(cr);
    };
}

// A void orb gripped from behind (+x) by bone talons; `charge` 0..1 lights it.
void Half(cairo_t* cr, bool left, double charge, double crack, std::uint64_t seed) {
    const double cx = left ? 0 : -4, cy = left ? 0 : -2, r = left ? 46 : 41;
    if (charge > 0) Glow(cr, cx, cy, 55, kGleam, 0.8 * charge);
    Body(cr, Circle(cx, cy, r), kVoid, 8, kBossOutline * 0.9);
    const double eye = r * (0.38 + 0.12 * charge);
    Flat(cr, Circle(cx - 10, cy + 2, eye), Style::Mix(kSocket, kGleam, 0.7 * charge), 0);
    Flat(cr, Circle(cx - 10, cy + 2, eye * 0.5), Style::Mix(Style::Mix(kSocket, kGleam, 0.5), Palette::White, charge),
         0);
    if (charge > 0) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, r - 5, 0, 2 * kPi);
        cairo_set_line_width(cr, 3);
        Style::SetColour(cr, Style::WithAlpha(kGleam, charge));
        cairo_stroke(cr);
    }
    Body(cr, Ellipse(cx + r * 0.92, cy, 10, 20), kBone, 3, kBossOutline * 0.6);
    // Talons curl from the back over the orb's face, their tips apart.
    const double talons[3][2] = {{0.3, 1.75}, {-0.3, -1.75}, {0.0, left ? 0.75 : -0.75}};
    for (int i = 0; i < (left ? 3 : 2); ++i) {
        const double tip = i == 2 ? r * 0.55 : r * 0.72;
        Body(cr, Talon(cx, cy, r + 1, tip, talons[i][0], talons[i][1], 12 - 2 * i), kBone, 3, kBossOutline * 0.6);
    }
    if (crack > 0) {
        Random random(seed);
        cairo_save(cr);
        cairo_new_path(cr);
        for (int i = 0; i < 4; ++i) {
            const double a = i * kPi / 2 + random.Signed() * 0.5;
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + r * 0.5 * std::cos(a + 0.3), cy + r * 0.5 * std::sin(a + 0.3));
            cairo_line_to(cr, cx + r * crack * std::cos(a), cy + r * crack * std::sin(a));
        }
        cairo_set_line_width(cr, 3);
        Style::SetColour(cr, Style::Mix(kGleam, Palette::White, 0.5));
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

}  // namespace

void DrawUnknownBody(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    Unknown(canvas.cr, 0, canvas.seed);
}

void DrawUnknownDeath(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    const double t = (canvas.frame + 1.0) / std::max(1, canvas.frameCount);
    Unknown(canvas.cr, t, canvas.seed + canvas.frame);
    if (canvas.frame >= canvas.frameCount / 2) {
        Shards(canvas.cr, kCoreX, kCoreY, 190, t, 12, 16, kVoid, canvas.seed);
    }
}

void DrawUnknownEyes(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    // Where the eye looks, frame by frame: the game picks frames at random.
    constexpr double kLook[4][2] = {{-0.7, 0}, {-0.2, 0.6}, {0.5, -0.4}, {-0.6, -0.6}};
    const int k = std::clamp(canvas.frame, 0, 3);
    const double lx = kLook[k][0] * 16, ly = kLook[k][1] * 34;
    Glow(cr, 0, 0, 58, kGleam, 0.5);
    Flat(cr, Ellipse(0, 0, 44, 70), Style::Rgb(230, 255, 170), 3.5);
    cairo_save(cr);
    cairo_new_path(cr);
    Style::Ellipse(cr, 0, 0, 44, 70);
    cairo_clip(cr);
    Flat(cr, Ellipse(lx, ly, 30, 40), kGleam, 2.5);
    Flat(cr, Ellipse(lx, ly, 7, 32), kSocket, 0);
    Flat(cr, Ellipse(lx - 10, ly + 16, 6, 9), Palette::White, 0);
    cairo_restore(cr);
    Limb(cr, {-44, 0, -30, 52, 0, 72, 30, 52, 44, 0}, kWing, 6, 2);
}

void DrawUnknownHalf(const FrameCanvas& canvas, int half) {
    KeepMargin(canvas);
    Half(canvas.cr, half == kLeftHalf, canvas.frame == 0 ? 1 : 0, 0, canvas.seed);
}

void DrawUnknownHalfDeath(const FrameCanvas& canvas, int half) {
    KeepMargin(canvas);
    const int k = canvas.frame;
    const double t = k / static_cast<double>(std::max(1, canvas.frameCount - 1));
    if (k < 3) {
        Half(canvas.cr, half == kLeftHalf, k == 0 ? 0.6 : 0, 0.5 + 0.25 * k, canvas.seed);
        return;
    }
    SmokePuff(canvas.cr, 0, 0, 48, t, 1 - 0.55 * t, kVoid, canvas.seed);
    Shards(canvas.cr, 0, 0, 44, t, 7, 9, kBone, canvas.seed + 1);
}

}  // namespace AssetGen::Boss
