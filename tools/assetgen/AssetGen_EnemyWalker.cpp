// The walking thrower: a sprout by day, a cactus at dusk, a little yeti at
// night. Its body circle (actor of the walkers) sits low in the cell, so the
// body is a round lump on short feet with the decoration on top.
#include <algorithm>
#include <cmath>

#include "AssetGen_EnemyFigures.h"
#include "AssetGen_FoeStyle.h"

namespace AssetGen::Enemy {

namespace {

using namespace Foe;

constexpr double kFeetY = -37.0;

struct WalkerLook {
    Colour body, belly, feet, iris, ball, trim;
    double radius;  // body
    double centreY;
};

const WalkerLook& LookOf(int theme) {
    static const WalkerLook kLooks[3] = {
        {Palette::Grass, Style::Rgb(206, 240, 150), Style::Rgb(70, 120, 50), Style::Rgb(90, 60, 30),
         Style::Rgb(170, 112, 60), Style::Rgb(60, 160, 70), 28, -14},
        {Style::Rgb(128, 168, 78), Style::Rgb(222, 214, 140), Style::Rgb(120, 86, 60), Style::Rgb(150, 40, 40),
         Palette::Sand, Style::Rgb(240, 104, 150), 27, -14},
        {Palette::Snow, Style::Rgb(150, 178, 226), Style::Rgb(84, 98, 150), Style::Rgb(40, 120, 200), Palette::Snow,
         Style::Rgb(176, 150, 220), 33, -9},
    };
    return kLooks[theme];
}

struct Pose {
    double dx = 0;        // the whole figure moved sideways
    double lean = 0;      // shear of the body over the feet, + leans back (right)
    double squash = 1;    // height factor about the feet
    double handX = 0.95;  // the throwing hand, in body radii from the body centre
    double handY = -0.35;
    bool holding = true;
    bool knockedOut = false;
    double flash = 0;  // white flash of a hit, 0..1
    double scale = 1;  // shrinking away
};

void Leaf(cairo_t* cr, double x, double y, double angle, double length, double width, const Colour& colour) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    Body(cr, Ellipse(length * 0.5, 0, length * 0.5, width * 0.5), colour, width * 0.18, kEnemyOutline);
    Style::SetColour(cr, Style::Mix(colour, Palette::Ink, 0.35));
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, length * 0.15, 0);
    cairo_line_to(cr, length * 0.85, 0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// What stands above the body: leaves, a flower, horns.
void Crest(cairo_t* cr, int theme, const WalkerLook& look, double top) {
    if (theme == 0) {
        Limb(cr, {2, top - 4, 3, top + 8}, Style::Rgb(70, 130, 50), 3, kEnemyOutline * 0.75);
        Leaf(cr, 3, top + 8, 2.3, 20, 10, look.trim);
        Leaf(cr, 3, top + 8, 0.5, 17, 9, Style::Mix(look.trim, Palette::Grass, 0.5));
    } else if (theme == 1) {
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * kPi / 5 + 0.3;
            Body(cr, Ellipse(4 + 6 * std::cos(a), top + 3 + 6 * std::sin(a), 4.5, 4.5), look.trim, 1.2,
                 kEnemyOutline * 0.75);
        }
        Flat(cr, Circle(4, top + 3, 3.2), Palette::Gold, kEnemyOutline * 0.5);
    } else {
        for (const double side : {-1.0, 1.0}) {
            const double x = side * 14;
            Body(cr, RoundedPolygon({x - 5, top - 8, x + 5, top - 8, x + side * 7, top + 8}, 2), look.trim, 1.5,
                 kEnemyOutline);
        }
    }
}

void Figure(cairo_t* cr, int theme, const Pose& pose) {
    const WalkerLook& look = LookOf(theme);
    const double r = look.radius, cy = look.centreY;
    const Colour tint = Style::Mix(look.body, Palette::White, pose.flash);
    cairo_save(cr);
    cairo_translate(cr, pose.dx, kFeetY);
    cairo_scale(cr, pose.scale, pose.scale);
    // Feet stay planted; the body leans and squashes over them.
    for (const double side : {1.0, -1.0}) {
        Body(cr, Ellipse(side * r * 0.42 - 2, -1, r * 0.36, 5), look.feet, 2, kEnemyOutline);
    }
    cairo_matrix_t lean;
    cairo_matrix_init(&lean, 1, 0, pose.lean, pose.squash, 0, 0);
    cairo_transform(cr, &lean);
    cairo_translate(cr, 0, -kFeetY);

    const double hx = pose.handX * r, hy = cy + pose.handY * r;
    const double sx = r * 0.5, sy = cy + r * 0.05;
    const Colour arm = Style::Mix(tint, Palette::Ink, 0.12);
    auto drawArm = [&] {
        Limb(cr, {sx, sy, (sx + hx) * 0.5 + 2, (sy + hy) * 0.5 + 3, hx, hy}, arm, r * 0.26, kEnemyOutline);
        if (pose.holding) Body(cr, Circle(hx, hy + r * 0.12, r * 0.3), look.ball, 2, kEnemyOutline);
    };
    // The throwing arm swings behind the body, so the face stays clear.
    drawArm();

    const double top = cy + r * (theme == 1 ? 1.15 : 1.0);
    if (theme != 1) Crest(cr, theme, look, top);
    if (theme == 1) {
        // A cactus stands taller than it is wide, ribbed and spined.
        Body(cr, RoundedPolygon({-r, cy - r, r, cy - r, r * 0.95, top, -r * 0.95, top}, r * 0.85), tint, 4, kEnemyOutline);
        Style::SetColour(cr, Style::Mix(tint, Palette::Ink, 0.3));
        cairo_set_line_width(cr, 1.4);
        for (const double x : {-0.5, 0.5}) {
            cairo_move_to(cr, x * r + 4, cy - r * 0.6);
            cairo_curve_to(cr, x * r * 1.2 + 4, cy, x * r * 1.2 + 4, cy + r * 0.4, x * r + 4, top - 6);
        }
        cairo_stroke(cr);
        for (const double x : {-0.8, 0.85, -0.2}) {
            const double y = cy + (x + 0.3) * r * 0.5;
            Style::SetColour(cr, Palette::Ink);
            cairo_move_to(cr, x * r + 1, y);
            cairo_line_to(cr, x * r + (x > 0 ? 7 : -7), y + 4);
            cairo_stroke(cr);
        }
        Crest(cr, theme, look, top);
    } else if (theme == 2) {
        // Shaggy fur: a ragged star of a rim around the round body.
        Body(cr, Star(0, cy, 22, r * 0.9, r * 1.02, 0.1), tint, 5, kEnemyOutline);
        Body(cr, Ellipse(-r * 0.28, cy + r * 0.12, r * 0.55, r * 0.5), look.belly, 3, kEnemyOutline * 0.75);
    } else {
        Body(cr, Ellipse(0, cy, r * 1.05, r), tint, 4.5, kEnemyOutline);
    }
    if (theme != 2) Body(cr, Ellipse(-r * 0.25, cy - r * 0.42, r * 0.52, r * 0.4), look.belly, 2.5, 0);

    // The face looks left, where the walker is heading.
    const double eyeY = cy + r * (theme == 2 ? 0.22 : 0.28);
    const double ex[2] = {-r * 0.55, -r * 0.08};
    for (int i = 0; i < 2; ++i) {
        if (pose.knockedOut) {
            CrossedEye(cr, ex[i], eyeY, r * 0.13, kEnemyOutline);
        } else {
            Eye(cr, ex[i], eyeY, r * 0.17, r * 0.22, -0.6, 0.1, 0, look.iris, kEnemyOutline * 0.75);
            Brow(cr, ex[i], eyeY + r * 0.3, r * 0.16, (i == 0 ? -1 : 1) * r * 0.05, kEnemyOutline);
        }
    }
    const double mouthY = cy - r * 0.08;
    if (!pose.holding || pose.knockedOut) {
        Flat(cr, Ellipse(-r * 0.38, mouthY, r * 0.13, r * 0.1), Style::Rgb(120, 30, 40), kEnemyOutline * 0.6);
    } else {
        Limb(cr, {-r * 0.5, mouthY + 1, -r * 0.3, mouthY - 1.5}, Palette::Ink, 1.4, 0);
    }
    cairo_restore(cr);
}

}  // namespace

void DrawWalkerThrow(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    static const Pose kPoses[3] = {
        {0, 0, 1, 0.95, -0.35, true},
        {0, 0.14, 0.93, 0.75, 1.0, true},
        {0, -0.16, 1.04, -1.3, 0.0, false},
    };
    Figure(canvas.cr, theme, kPoses[std::clamp(canvas.frame, 0, 2)]);
}

void DrawWalkerDeath(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    const WalkerLook& look = LookOf(theme);
    const int k = canvas.frame;
    const int puffFrames = std::max(1, canvas.frameCount - 3);
    Pose pose{6, 0, 1, 0.9, -0.6, false, true};
    if (k <= 2) {
        pose.flash = k == 0 ? 0.55 : 0.15;
        pose.lean = 0.1 + 0.08 * k;
        pose.squash = 1 - 0.13 * k;
        Figure(canvas.cr, theme, pose);
        return;
    }
    const double t = static_cast<double>(k - 2) / puffFrames;
    pose.lean = 0.26;
    pose.squash = 0.7;
    pose.scale = 1 - t;
    if (pose.scale > 0.2) Figure(canvas.cr, theme, pose);
    SmokePuff(canvas.cr, 6, -6, 40, t, 1 - 0.6 * t, Palette::PaleGrey, canvas.seed);
    Shards(canvas.cr, 6, look.centreY, 32, t, 6, 5, look.body, canvas.seed + 1);
}

}  // namespace AssetGen::Enemy
