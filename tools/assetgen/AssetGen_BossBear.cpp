// The storm bear. Its body circles (head at (4, 54), belly at (0, -89)) lie
// on the head and the torso; the arms are separate sprites mounted at the
// shoulders, drawn hanging from their pivot at the cell's centre.
#include <algorithm>
#include <cmath>

#include "AssetGen_BossFigures.h"
#include "AssetGen_FoeStyle.h"
#include "AssetGen_Random.h"

namespace AssetGen::Boss {

namespace {

using namespace Foe;

const Colour kFur = Style::Rgb(92, 104, 150);
const Colour kBelly = Style::Rgb(236, 224, 196);
const Colour kMuzzle = Style::Rgb(214, 200, 176);
const Colour kNose = Style::Rgb(52, 44, 68);
const Colour kSpark = Style::Rgb(150, 230, 255);
const Colour kMouth = Style::Rgb(130, 34, 48);

struct BearPose {
    double headDrop = 0;
    double mouth = 0;     // 0 shut .. 1 roaring
    double lids = 0;      // 0 open .. 1 shut
    bool beaten = false;  // crossed eyes
    double flash = 0;
    double sparks = 0;  // 0 .. 1, the storm around the head
    double sink = 0;    // 0 .. 1, slumping when beaten
    double tilt = 0;
};

// A small jagged bolt from (x, y) toward angle `a`.
void Spark(cairo_t* cr, double x, double y, double a, double length, double width, std::uint64_t seed) {
    Random random(seed);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    for (int i = 1; i <= 4; ++i) {
        const double d = length * i / 4.0;
        const double off = (i % 2 == 0 ? 1 : -1) * length * 0.15 * (0.6 + 0.4 * random.Unit());
        cairo_line_to(cr, x + d * std::cos(a) - off * std::sin(a), y + d * std::sin(a) + off * std::cos(a));
    }
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_line_width(cr, width + 3);
    Style::SetColour(cr, Style::WithAlpha(Style::Rgb(40, 110, 220), 0.8));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    Style::SetColour(cr, kSpark);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width * 0.4);
    Style::SetColour(cr, Palette::White);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Bear(cairo_t* cr, const BearPose& pose, std::uint64_t seed) {
    const Colour fur = Style::Mix(kFur, Palette::White, pose.flash);
    for (const double side : {1.0, -1.0}) {
        Body(cr, Ellipse(side * 58, -180, 44, 22), Style::Mix(fur, Palette::Ink, 0.15), 6, kBossOutline);
        Flat(cr, Ellipse(side * 58 - 10, -186, 22, 9), kMuzzle, 0);
    }
    cairo_save(cr);
    // Slumping squashes the bear onto its feet and tips it back.
    cairo_translate(cr, 0, -200);
    cairo_rotate(cr, pose.tilt);
    cairo_scale(cr, 1 + 0.05 * pose.sink, 1 - 0.2 * pose.sink);
    cairo_translate(cr, 0, 200);

    Body(cr, Ellipse(0, -84, 114, 102), fur, 12, kBossOutline);
    Body(cr, Ellipse(-24, -92, 70, 72), kBelly, 8, 0);
    Body(cr, RoundedPolygon({-18, -44, 10, -44, -6, -84, 14, -84, -30, -146, -18, -100, -38, -100}, 2), kSpark, 3, 2.5);

    const double hy = 54 - pose.headDrop - 30 * pose.sink;
    for (const double x : {-52.0, 58.0}) {
        Body(cr, Circle(x, hy + 72, 28), fur, 6, kBossOutline);
        Flat(cr, Circle(x - 2, hy + 70, 14), kMuzzle, 0);
    }
    Body(cr, Ellipse(6, hy, 92, 86), fur, 12, kBossOutline);
    Body(cr, Ellipse(-58, hy - 24, 50, 38), kMuzzle, 6, kBossOutline);
    if (pose.mouth > 0) {
        const double open = 8 + 24 * pose.mouth;
        Flat(cr, Ellipse(-64, hy - 50, 30, open), kMouth, kBossOutline * 0.75);
        for (const double x : {-80.0, -50.0}) {
            Flat(cr,
                 RoundedPolygon({x - 6, hy - 50 + open - 2, x + 6, hy - 50 + open - 2, x, hy - 50 + open - 16}, 1.5),
                 Palette::White, 1.5);
        }
    } else {
        Limb(cr, {-84, hy - 46, -66, hy - 52, -48, hy - 46}, Palette::Ink, 3, 0);
    }
    Body(cr, Ellipse(-94, hy - 10, 18, 13), kNose, 3, kBossOutline * 0.6);

    const double eyeX[2] = {-52, 2}, eyeY[2] = {hy + 24, hy + 28};
    for (int i = 0; i < 2; ++i) {
        if (pose.beaten) {
            CrossedEye(cr, eyeX[i], eyeY[i], 10, kBossOutline * 0.8);
            continue;
        }
        Glow(cr, eyeX[i], eyeY[i], 26, Palette::Gold, 0.25 + 0.4 * pose.sparks);
        Eye(cr, eyeX[i], eyeY[i], 13, 15, -0.6, 0, pose.lids, Palette::Gold, kBossOutline * 0.7);
        Brow(cr, eyeX[i], eyeY[i] + 21, 15, i == 0 ? -5 : 5, kBossOutline * 1.2);
    }
    if (pose.sparks > 0) {
        const int count = static_cast<int>(2 + 6 * pose.sparks);
        for (int i = 0; i < count; ++i) {
            const double a = 0.3 + i * 2.6 / count;
            Spark(cr, 6 + 96 * std::cos(a), hy + 90 * std::sin(a), a + 0.2, 22 + 16 * pose.sparks, 2.5, seed + i);
        }
    }
    cairo_restore(cr);
}

void Arm(cairo_t* cr, const Colour& fur, bool openPaw, double charge, std::uint64_t seed) {
    Limb(cr, {0, 2, 2, -60, 0, -112}, fur, 44, kBossOutline);
    Body(cr, Circle(0, 4, 28), fur, 7, kBossOutline);
    if (charge > 0) Glow(cr, 0, -126, 33, kSpark, 0.7 * charge);
    Body(cr, Circle(0, -126, 30.5), fur, 7, kBossOutline);
    if (openPaw) {
        Body(cr, Ellipse(-2, -128, 17, 15), kMuzzle, 3, kBossOutline * 0.6);
        for (int i = 0; i < 3; ++i)
            Flat(cr, Circle(-16 + i * 14, -108 + (i == 1 ? 4 : 0), 6), kMuzzle, kBossOutline * 0.5);
    } else {
        Style::SetColour(cr, Style::Mix(fur, Palette::Ink, 0.5));
        cairo_set_line_width(cr, 2.5);
        for (const double x : {-12.0, 2.0, 16.0}) {
            cairo_new_path(cr);
            cairo_move_to(cr, x - 4, -112);
            cairo_line_to(cr, x - 2, -130);
            cairo_stroke(cr);
        }
    }
    for (const double x : {-18.0, -5.0, 8.0}) {
        Flat(cr, RoundedPolygon({x - 5, -150, x + 5, -150, x - 3, -160}, 1.5), Palette::White, 1.8);
    }
    if (charge > 0) {
        for (int i = 0; i < 4; ++i) {
            const double a = -kPi / 2 + (i - 1.5) * 0.7;
            Spark(cr, 20 * std::cos(a), -126 + 20 * std::sin(a), a + kPi, 14, 2, seed + i);
        }
    }
}

}  // namespace

void DrawBearBody(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    BearPose pose;
    if (canvas.frame % 2 == 1) {
        // Breathing out: the head sinks, the eyes narrow.
        pose.headDrop = 10;
        pose.lids = 0.35;
    }
    Bear(canvas.cr, pose, canvas.seed);
}

void DrawBearRoar(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    const double t = (canvas.frame + 1.0) / std::max(1, canvas.frameCount);
    BearPose pose;
    pose.headDrop = -4;
    pose.mouth = 0.3 + 0.7 * t;
    pose.sparks = t;
    Bear(canvas.cr, pose, canvas.seed + canvas.frame * 31);
}

void DrawBearDeath(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    const int k = canvas.frame;
    BearPose pose;
    pose.beaten = true;
    pose.flash = k == 0 ? 0.5 : 0;
    pose.mouth = k < 3 ? 0.4 : 0;
    pose.sink = std::min(1.0, k / 6.0);
    pose.tilt = k % 2 == 1 ? 0.03 : -0.02;
    Bear(canvas.cr, pose, canvas.seed);
    if (k >= 2 && k < 6) DizzyStars(canvas.cr, 0, 150 - 30 * pose.sink, 80, 4, 12, 0.9 * k);
    if (k >= 4) {
        const double t = (k - 3.0) / std::max(1, canvas.frameCount - 4);
        // Smoke rises from its flanks; the face stays readable.
        constexpr double kSpots[3][2] = {{-100, -120}, {100, -96}, {-10, -168}};
        for (int i = 0; i < 3; ++i) {
            SmokePuff(canvas.cr, kSpots[i][0], kSpots[i][1] + 30 * t, 52, t, 0.85 - 0.3 * t, Palette::LightGrey,
                      canvas.seed + i);
        }
    }
}

void DrawBearArm(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    // Frame 1 is the lightning paw, opened and crackling.
    const bool lightning = canvas.frame % 2 == 1;
    Arm(canvas.cr, kFur, lightning, lightning ? 1 : 0, canvas.seed);
}

void DrawBearArmDeath(const FrameCanvas& canvas) {
    KeepMargin(canvas);
    const int k = canvas.frame;
    const double t = k / static_cast<double>(std::max(1, canvas.frameCount - 1));
    const Colour fur = k == 0 ? Style::Mix(kFur, Palette::White, 0.5) : Style::Mix(kFur, Palette::Ink, 0.35 * t);
    Arm(canvas.cr, fur, k >= 3, k == 1 ? 0.5 : 0, canvas.seed + k);
    if (k >= 2) SmokePuff(canvas.cr, 0, -110 + 60 * t, 30, t, 0.9 - 0.4 * t, Palette::LightGrey, canvas.seed + k);
}

}  // namespace AssetGen::Boss
