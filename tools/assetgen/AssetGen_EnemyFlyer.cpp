// The flyer: a beetle by day, a bat at dusk, an ice moth at night. Its body
// circle lies below the cell's centre, so the body hangs low under wings that
// beat above it.
#include <algorithm>
#include <array>
#include <cmath>

#include "AssetGen_EnemyFigures.h"
#include "AssetGen_FoeStyle.h"

namespace AssetGen::Enemy {

namespace {

using namespace Foe;


struct FlyerLook {
    Colour body, wing, accent, iris;
    double radius, centreY, span;
};

const FlyerLook& LookOf(int theme) {
    static const FlyerLook kLooks[3] = {
        {Style::Rgb(222, 62, 50), Style::Rgb(206, 236, 255, 0.8), Palette::Ink, Style::Rgb(250, 200, 60), 19, -18, 40},
        {Style::Rgb(118, 76, 132), Style::Rgb(168, 98, 140), Style::Rgb(250, 150, 96), Style::Rgb(250, 170, 40), 19,
         -18, 42},
        {Style::Rgb(222, 232, 255), Style::Rgb(140, 198, 246), Style::Rgb(44, 70, 150), Style::Rgb(60, 180, 255), 25,
         -12, 50},
    };
    return kLooks[theme];
}

struct Pose {
    double beat = 0;  // wing lift, -1 down .. 1 up
    double turn = 0;  // radians, tumbling when beaten
    bool knockedOut = false;
    double flash = 0;
    double scale = 1;
};

void Wing(cairo_t* cr, int theme, const FlyerLook& look, double side, double beat) {
    const double cy = look.centreY, r = look.radius;
    const double tipX = side * look.span, tipY = cy + r * 0.9 + beat * 22;
    const double rootX = side * r * 0.3, rootY = cy + r * 0.35;
    const Colour wing = side > 0 ? Style::Mix(look.wing, Palette::Ink, 0.15) : look.wing;
    if (theme == 0) {
        // Clear beetle wings over the shell.
        cairo_save(cr);
        cairo_translate(cr, rootX, rootY);
        cairo_rotate(cr, std::atan2(tipY - rootY, tipX - rootX));
        const double len = std::hypot(tipX - rootX, tipY - rootY);
        Flat(cr, Ellipse(len * 0.55, 0, len * 0.55, 8), wing, kEnemyOutline * 0.75);
        Style::SetColour(cr, Style::WithAlpha(Palette::Ink, 0.35));
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, 4, 0);
        cairo_line_to(cr, len * 0.9, 0);
        cairo_stroke(cr);
        cairo_restore(cr);
        return;
    }
    const double trailX = side * look.span * 0.55, trailY = cy - r * 0.1 + beat * 10;
    if (theme == 1) {
        // A bat's membrane with scalloped trailing edge and finger bones.
        Body(cr,
             RoundedPolygon({rootX, rootY + 6, tipX, tipY, side * look.span * 0.85, tipY - 14, trailX + side * 8,
                             trailY + 2, trailX, trailY - 2, rootX, rootY - 8},
                            3),
             wing, 3, kEnemyOutline);
        Style::SetColour(cr, Style::Mix(wing, Palette::Ink, 0.45));
        cairo_set_line_width(cr, 1.6);
        for (const double f : {0.55, 0.8}) {
            cairo_move_to(cr, rootX, rootY);
            cairo_line_to(cr, rootX + (tipX - rootX) * f, trailY + (tipY - trailY) * f * 0.7);
        }
        cairo_stroke(cr);
        return;
    }
    // An ice moth's broad wing with an eye spot.
    Body(cr,
         RoundedPolygon(
             {rootX, rootY + 4, tipX, tipY + 4, tipX - side * 4, tipY - 18, trailX, trailY - 12, rootX, rootY - 10}, 9),
         wing, 4, kEnemyOutline);
    const double spotX = rootX + (tipX - rootX) * 0.62, spotY = rootY + (tipY - rootY) * 0.5 - 5;
    Flat(cr, Circle(spotX, spotY, 6), look.accent, kEnemyOutline * 0.6);
    Flat(cr, Circle(spotX - 1, spotY + 1, 2.5), Palette::White, 0);
}

void Figure(cairo_t* cr, int theme, const Pose& pose) {
    const FlyerLook& look = LookOf(theme);
    const double r = look.radius, cy = look.centreY;
    const Colour body = Style::Mix(look.body, Palette::White, pose.flash);
    cairo_save(cr);
    // Tumbling turns about the cell's centre so the wings stay inside it.
    cairo_rotate(cr, pose.turn);
    cairo_scale(cr, pose.scale, pose.scale);

    if (theme != 0) {
        Wing(cr, theme, look, 1, pose.beat);
        Wing(cr, theme, look, -1, pose.beat * 0.9);
    }
    // The face looks left, into the flight.
    const double faceX = -r * 0.55, eyeY = cy + r * 0.15;
    if (theme == 0) {
        Limb(cr, {-r * 0.9, cy + r * 0.3, -r * 1.3, cy + r * 1.0, -r * 1.55, cy + r * 1.05}, Palette::Ink, 1.6, 0);
        Limb(cr, {-r * 0.7, cy + r * 0.4, -r * 0.9, cy + r * 1.15, -r * 1.15, cy + r * 1.25}, Palette::Ink, 1.6, 0);
        Body(cr, Circle(-r * 0.8, cy - 1, r * 0.58), Style::Rgb(52, 44, 60), 2.5, kEnemyOutline);
        Body(cr, Circle(r * 0.1, cy, r), body, 4, kEnemyOutline);
        Style::SetColour(cr, Palette::Ink);
        cairo_set_line_width(cr, 1.8);
        cairo_move_to(cr, r * 0.1 - r * 0.5, cy + r * 0.86);
        cairo_line_to(cr, r * 0.1 + r * 0.2, cy - r * 0.97);
        cairo_stroke(cr);
        for (const auto& spot : {std::array<double, 3>{0.45, 0.35, 0.22}, std::array<double, 3>{0.5, -0.35, 0.18},
                                 std::array<double, 3>{-0.15, -0.45, 0.16}}) {
            Flat(cr, Circle(r * 0.1 + spot[0] * r, cy + spot[1] * r, spot[2] * r), Palette::Ink, 0);
        }
        Wing(cr, theme, look, 1, pose.beat);
        Wing(cr, theme, look, -1, pose.beat * 0.9);
        const double ex = -r * 1.0;
        if (pose.knockedOut) {
            CrossedEye(cr, ex, eyeY - 2, r * 0.14, kEnemyOutline * 0.8);
        } else {
            Eye(cr, ex, eyeY - 2, r * 0.2, r * 0.24, -0.6, 0, 0, look.iris, kEnemyOutline * 0.6);
            Brow(cr, ex, eyeY + r * 0.22, r * 0.18, -r * 0.06, kEnemyOutline * 0.8);
        }
        cairo_restore(cr);
        return;
    }
    if (theme == 1) {
        for (const double side : {-1.0, 1.0}) {
            const double x = faceX * 0.4 + side * r * 0.45;
            Body(cr, RoundedPolygon({x - 6, cy + r * 0.6, x + 6, cy + r * 0.6, x + side * 3, cy + r * 1.35}, 2), body,
                 2, kEnemyOutline);
        }
        Body(cr, Ellipse(0, cy, r * 1.05, r), body, 4, kEnemyOutline);
    } else {
        for (const double side : {-1.0, 1.0}) {
            Limb(cr, {faceX + side * 5, cy + r * 0.7, faceX + side * 10 - 6, cy + r * 1.35}, look.accent, 2, 0.8);
        }
        Body(cr, Ellipse(r * 0.15, cy - 2, r * 1.0, r * 0.92), body, 5, kEnemyOutline);
        Style::SetColour(cr, Style::Mix(body, look.accent, 0.35));
        cairo_set_line_width(cr, 2);
        for (const double x : {0.25, 0.6}) {
            cairo_move_to(cr, x * r, cy + r * 0.6);
            cairo_curve_to(cr, x * r + 4, cy, x * r + 4, cy - r * 0.3, x * r, cy - r * 0.7);
        }
        cairo_stroke(cr);
    }
    for (int i = 0; i < 2; ++i) {
        const double ex = faceX + (i == 0 ? -r * 0.22 : r * 0.3);
        if (pose.knockedOut) {
            CrossedEye(cr, ex, eyeY, r * 0.13, kEnemyOutline * 0.8);
        } else {
            Eye(cr, ex, eyeY, r * 0.19, r * 0.24, -0.5, -0.1, 0, look.iris, kEnemyOutline * 0.6);
            Brow(cr, ex, eyeY + r * 0.32, r * 0.17, (i == 0 ? -1 : 1) * r * 0.06, kEnemyOutline * 0.8);
        }
    }
    if (theme == 1) {
        const double my = cy - r * 0.35;
        Limb(cr, {faceX - r * 0.3, my, faceX + r * 0.4, my}, Palette::Ink, 1.6, 0);
        for (const double x : {faceX - r * 0.15, faceX + r * 0.25}) {
            Flat(cr, RoundedPolygon({x - 2.5, my, x + 2.5, my, x, my - 6}, 0.8), Palette::White, 1);
        }
    }
    cairo_restore(cr);
}

}  // namespace

void DrawFlyerFlap(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    Pose pose;
    pose.beat = std::cos(2 * kPi * canvas.frame / std::max(1, canvas.frameCount));
    Figure(canvas.cr, theme, pose);
}

void DrawFlyerDeath(const FrameCanvas& canvas, int theme) {
    KeepMargin(canvas);
    const FlyerLook& look = LookOf(theme);
    const int k = canvas.frame;
    constexpr int kTumbleFrames = 4;
    Pose pose;
    pose.knockedOut = true;
    if (k < kTumbleFrames) {
        pose.beat = -0.7 + 0.25 * (k % 2);
        pose.turn = -0.55 * (k + 1);
        pose.flash = k == 0 ? 0.55 : 0.1;
        pose.scale = theme == 2 ? 0.7 : 0.8;
        Figure(canvas.cr, theme, pose);
        return;
    }
    const double t = static_cast<double>(k - kTumbleFrames + 1) / std::max(1, canvas.frameCount - kTumbleFrames);
    pose.beat = -0.8;
    pose.turn = -0.55 * (k + 1);
    pose.scale = 0.8 * (1 - t);
    if (pose.scale > 0.25) Figure(canvas.cr, theme, pose);
    SmokePuff(canvas.cr, 0, look.centreY + 6, 40, t, 1 - 0.6 * t, Palette::PaleGrey, canvas.seed);
    Shards(canvas.cr, 0, look.centreY + 4, 32, t, 7, 5, look.body, canvas.seed + 1);
}

}  // namespace AssetGen::Enemy
