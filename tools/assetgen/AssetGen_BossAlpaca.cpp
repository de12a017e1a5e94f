// The alpaca: a great woolly ball with a woolly head. Its body circles (head
// at (-35, 28), body at (-13, -115)) lie on the wool; its eyes are a separate
// sprite mounted at (-49, 9), so the body's own face has none while it
// fights and crossed ones once beaten (the game hides the eye sprite then).
#include <algorithm>
#include <cmath>
#include <vector>

#include "AssetGen_BossFigures.h"
#include "AssetGen_FoeStyle.h"

namespace AssetGen::Boss {

namespace {

using namespace Foe;

const Colour kFace = Style::Rgb(222, 186, 156);
const Colour kHoof = Style::Rgb(96, 70, 66);
const Colour kTassels[3] = {Palette::EmberRed, Palette::Gold, Palette::Teal};

struct AlpacaPose {
    double chew = 0;      // 0 .. 1, the jaw shifted
    bool beaten = false;  // crossed eyes drawn on the face
    double flash = 0;
    double sway = 0;  // radians about the feet
    double sink = 0;  // 0 .. 1, flattened onto the ground
};

void Alpaca(cairo_t* cr, const AlpacaPose& pose) {
    const Colour wool = Style::Mix(kAlpacaWool, Palette::White, pose.flash);
    for (const double x : {-92.0, -38.0, 30.0, 84.0}) {
        const Colour leg = x > 0 ? Style::Mix(kFace, Palette::Ink, 0.15) : kFace;
        Limb(cr, {x, -150, x, -184}, leg, 24, kBossOutline);
        Body(cr, Ellipse(x - 2, -190, 15, 7), kHoof, 3, kBossOutline * 0.75);
    }
    cairo_save(cr);
    cairo_translate(cr, 0, -195);
    cairo_rotate(cr, pose.sway);
    cairo_scale(cr, 1 + 0.08 * pose.sink, 1 - 0.3 * pose.sink);
    cairo_translate(cr, 0, 195);

    Body(cr, Fluffy(116, -70, 16, 16, 6, 12), wool, 5, kBossOutline);
    Body(cr, Fluffy(-8, -110, 108, 62, 14, 26), wool, 14, kBossOutline);
    // A saddle blanket in stripes of the game's warm colours.
    Body(cr, RoundedPolygon({-20, -40, 96, -52, 100, -110, -10, -104}, 10), Palette::Teal, 6, kBossOutline * 0.75);
    for (int i = 0; i < 3; ++i) {
        const double y = -62 - i * 16;
        Limb(cr, {-10, y + 6, 96, y - 6}, kTassels[i], 6, 0);
    }
    // Neck and head.
    Body(cr, Fluffy(-40, -40, 54, 50, 9, 18), wool, 9, kBossOutline);
    const double hx = -36, hy = 34;
    for (int i = 0; i < 2; ++i) {
        const double ex = i == 0 ? hx - 58 : hx + 44, ey = hy + 112;
        const double lean = i == 0 ? 0.25 : -0.15;
        cairo_save(cr);
        cairo_translate(cr, ex, ey);
        cairo_rotate(cr, lean);
        Body(cr, Ellipse(0, 0, 15, 38), Style::Mix(wool, kFace, 0.5), 5, kBossOutline);
        Flat(cr, Ellipse(1, 2, 7, 26), Style::Rgb(232, 150, 150), 0);
        cairo_restore(cr);
        for (int t = 0; t < 3; ++t) {
            Flat(cr, Circle(ex + (i == 0 ? 14 : -14) + t * 6, ey - 36 - t * 5, 6), kTassels[t], kBossOutline * 0.5);
        }
    }
    Body(cr, Fluffy(hx, hy, 78, 74, 12, 20), wool, 12, kBossOutline);
    Body(cr, Fluffy(hx + 6, hy + 82, 38, 16, 6, 16), wool, 6, kBossOutline);
    // The long face: eyes above, muzzle below, pointing down and left.
    Body(cr, Ellipse(hx - 16, hy - 10, 60, 52), kFace, 8, 0);
    const double jaw = 6 * pose.chew;
    Body(cr, Ellipse(hx - 24 - jaw, hy - 62, 48, 34), kFace, 6, kBossOutline);
    Flat(cr, Ellipse(hx - 44 - jaw, hy - 50, 7, 4), Palette::Ink, 0);
    Flat(cr, Ellipse(hx - 12 - jaw, hy - 50, 7, 4), Palette::Ink, 0);
    Limb(cr,
         {hx - 46 - jaw, hy - 76, hx - 28 - jaw, hy - 82 - jaw * 0.5, hx - 28, hy - 66, hx - 28 - jaw,
          hy - 82 - jaw * 0.5, hx - 10 - jaw, hy - 76},
         Palette::Ink, 3, 0);
    if (pose.beaten) {
        for (const double x : {-81.0, -17.0}) CrossedEye(cr, x, 12, 14, kBossOutline * 0.8);
        Flat(cr, Ellipse(hx - 28, hy - 88, 12, 8), Style::Rgb(200, 90, 110), kBossOutline * 0.5);
    }
    cairo_restore(cr);
}

}  // namespace

void DrawAlpaca(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    // Frame 1, held briefly, chews.
    Alpaca(canvas.cr, {canvas.frame % 2 == 1 ? 1.0 : 0.0});
}

void DrawAlpacaDeath(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    // Hit, wobble, topple, lie dazed, then burst into tufts of wool.
    constexpr double kSway[12] = {0, 0.04, -0.04, -0.06, -0.09, -0.1, -0.1, -0.1, -0.1, -0.1, -0.1, -0.1};
    constexpr double kSink[12] = {0, 0, 0, 0.2, 0.4, 0.6, 0.65, 0.7, 0.7, 0.7, 0.7, 0.7};
    const int k = std::clamp(canvas.frame, 0, 11);
    AlpacaPose pose;
    pose.beaten = true;
    pose.flash = k == 0 ? 0.45 : 0;
    pose.sway = kSway[k];
    pose.sink = kSink[k];
    constexpr int kBurstFrom = 7;
    if (k < kBurstFrom + 2) {
        cairo_save(canvas.cr);
        if (k >= kBurstFrom) {
            const double shrink = 1 - 0.3 * (k - kBurstFrom + 1);
            cairo_translate(canvas.cr, 0, -200);
            cairo_scale(canvas.cr, shrink, shrink);
            cairo_translate(canvas.cr, 0, 200);
        }
        Alpaca(canvas.cr, pose);
        if (k >= 3) DizzyStars(canvas.cr, -36, 150, 70, 4, 12, 0.9 * k);
        cairo_restore(canvas.cr);
    }
    if (k >= kBurstFrom) {
        const double t = (k - kBurstFrom + 1.0) / (12 - kBurstFrom);
        const double spots[5][2] = {{-90, -100}, {10, -130}, {90, -60}, {-40, 10}, {40, 70}};
        for (int i = 0; i < 5; ++i) {
            SmokePuff(canvas.cr, spots[i][0] * (0.6 + 0.3 * t), spots[i][1] * (0.6 + 0.3 * t) - 20 * t, 60, t,
                      1 - 0.55 * t, kAlpacaWool, canvas.seed + i);
        }
    }
}

void DrawAlpacaEyes(const FrameCanvas& canvas, int phase) {
    KeepMargin(canvas);
    cairo_t* cr = canvas.cr;
    // Frames: a wide look, a narrowing glare held, a glare at the player, and
    // the blink the animation ends on.
    constexpr double kLids[4] = {0, 0.3, 0.4, 0.7};
    constexpr double kLook[4] = {0, -0.5, -0.8, -0.3};
    const Colour iris[3] = {Style::Rgb(120, 80, 50), Palette::Ember, Palette::Danger};
    const int k = std::clamp(canvas.frame, 0, 3);
    for (int i = 0; i < 2; ++i) {
        const double x = i == 0 ? -32 : 32;
        if (phase == 2) Glow(cr, x, -6, 26, Palette::Danger, 0.5);
        Eye(cr, x, -6, 20, 21, kLook[k], -0.1, kLids[k] + 0.1 * phase, iris[phase], 3);
        // Long lashes, and brows that sink inward as the fight turns.
        for (int l = 0; l < 3; ++l) {
            const double lx = x - 14 + l * 14;
            Limb(cr, {lx, 13 - kLids[k] * 18, lx - 4 + l * 4, 20 - kLids[k] * 18}, Palette::Ink, 2.5, 0);
        }
        const double tilt = (i == 0 ? -1 : 1) * 3.5 * phase;
        Limb(cr, {x - 18, 22 - tilt, x + 18, 22 + tilt}, Style::Rgb(110, 70, 60), 5, 1.5);
    }
}

}  // namespace AssetGen::Boss
