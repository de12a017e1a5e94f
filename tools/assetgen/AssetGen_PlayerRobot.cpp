// The hero: a chunky tracked robot facing +x, drawn once as a model with a
// pose so that the standing, hurt and dying sheets stay on model.
//
// The game tests hits against a circle of radius 30 at (0, -14), so the body
// fills that circle: tracks from y -44 to -29, a wide shell up to y 18. The
// mascot rides on the flat head top (its cell spans y 19 to 45), and the gun
// turns about (0, 0), across the chest, so the eye sits above y 10 where a
// level gun does not hide it.
#include <array>
#include <cmath>
#include <numbers>

#include "AssetGen_PlayerEffects.h"
#include "AssetGen_PlayerParts.h"
#include "AssetGen_Random.h"
#include "AssetGen_Style.h"

namespace AssetGen::PlayerParts {
namespace {

using namespace Style;
using PlayerEffects::Blob;
using PlayerEffects::Circle;
using PlayerEffects::Glow;
using PlayerEffects::Spark;

constexpr double kPi = std::numbers::pi;

const Colour kShell = Mix(Palette::Steel, Palette::White, 0.45);
const Colour kTrim = Palette::EmberRed;
const Colour kMetal = Palette::SteelDark;
const Colour kEye = Mix(Palette::Teal, Palette::White, 0.35);
const Colour kSmoke = Palette::MidGrey;

enum class Eye { Open, Squint, Red, Off };

struct Pose {
    double dx = 0.0;  // the whole robot's offset (shaking)
    double dy = 0.0;
    double lean = 0.0;  // radians about the tracks' centre, positive leaning back
    Eye eye = Eye::Open;
    bool head = true;  // false: the head has come off
    Colour tint{};  // painted over the whole robot by `tintAmount`
    double tintAmount = 0.0;
    double cracks = 0.0;  // 0 .. 1: glowing cracks in the shell
};

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, const Colour& c, double width) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Eyes(cairo_t* cr, Eye eye) {
    switch (eye) {
        case Eye::Open:
        case Eye::Red: {
            const Colour c = eye == Eye::Open ? kEye : Palette::Danger;
            Glow(cr, 17.0, 10.5, 8.0, WithAlpha(c, 0.55));
            FlatFill(cr, [](cairo_t* c2) { Ellipse(c2, 17.0, 10.5, 4.5, 3.2); }, c, 0.0);
            FlatFill(cr, [](cairo_t* c2) { Ellipse(c2, 15.8, 11.4, 1.8, 1.2); }, Palette::White, 0.0);
            break;
        }
        case Eye::Squint:
            // A chevron pointing back: the robot winces.
            cairo_save(cr);
            cairo_new_path(cr);
            cairo_move_to(cr, 20.5, 14.0);
            cairo_line_to(cr, 14.0, 10.5);
            cairo_line_to(cr, 20.5, 7.0);
            SetColour(cr, kEye);
            cairo_set_line_width(cr, 2.4);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
            cairo_restore(cr);
            break;
        case Eye::Off:
            Line(cr, 13.0, 10.5, 21.0, 10.5, Mix(Palette::Navy, Palette::White, 0.25), 2.0);
            break;
    }
}

// The head, its bottom edge centred on the origin: shell cap, dark visor
// toward +x with the eye, an antenna toward the back.
void Head(cairo_t* cr, Eye eye) {
    cairo_new_path(cr);
    cairo_move_to(cr, -17.0, 15.0);
    cairo_line_to(cr, -21.0, 25.0);
    OutlinedStroke(cr, Palette::MidGrey, 1.4, 1.1);
    CelFill(cr, [](cairo_t* c) { Ellipse(c, -21.5, 26.0, 3.2, 3.2); }, TonesOf(Palette::Ember), 1.2);
    cairo_save(cr);
    cairo_translate(cr, 0.0, -1.0);
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -30.0, 2.0, 60.0, 18.5, 9.0); }, TonesOf(kShell), 3.0);
    // Cooling slits at the back of the head.
    for (double y : {7.0, 11.0}) {
        Line(cr, -24.0, y, -16.0, y, Mix(kShell, Palette::Ink, 0.45), 1.6);
    }
    FlatFill(cr, [](cairo_t* c) { RoundedRectangle(c, 0.0, 4.5, 27.5, 12.0, 5.0); }, Palette::Navy);
    // A glint across the glass toward the light.
    Line(cr, 3.5, 13.0, 7.0, 15.0, WithAlpha(Palette::White, 0.55), 1.4);
    cairo_translate(cr, 0.0, 1.0);
    Eyes(cr, eye);
    cairo_restore(cr);
}

void Tracks(cairo_t* cr) {
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -29.0, -43.5, 58.0, 15.0, 7.5); }, TonesOf(Palette::DarkGrey), 2.5);
    for (double x : {-18.0, 0.0, 18.0}) {
        CelFill(cr, [x](cairo_t* c) { Ellipse(c, x, -36.0, 4.8, 4.8); }, TonesOf(Palette::LightGrey), 1.5, 1.6);
        FlatFill(cr, [x](cairo_t* c) { Ellipse(c, x, -36.0, 1.4, 1.4); }, Palette::DarkGrey, 0.0);
    }
    // Cleats along the bottom run of the track.
    for (double x = -22.0; x <= 22.0; x += 7.33) {
        Line(cr, x, -43.0, x + 1.5, -41.8, Mix(Palette::DarkGrey, Palette::Ink, 0.5), 1.3);
    }
}

void Backpack(cairo_t* cr) {
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -38.0, -25.0, 12.0, 24.0, 4.0); }, TonesOf(kMetal), 2.0);
    for (double y : {-19.0, -14.0, -9.0}) {
        Line(cr, -35.5, y, -30.0, y, Mix(kMetal, Palette::Ink, 0.5), 1.4);
    }
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -37.0, -1.0, 5.0, 7.0, 1.5); }, TonesOf(kMetal), 1.2, 1.6);
}

void Body(cairo_t* cr, double cracks) {
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -28.0, -33.0, 56.0, 36.0, 9.0); }, TonesOf(kShell), 3.5);
    // The neck ring the head sits on.
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -25.0, -3.5, 50.0, 6.0, 2.0); }, TonesOf(kMetal), 1.5);
    // Chest plate with the ember core, below where the gun crosses.
    CelFill(cr, [](cairo_t* c) { RoundedRectangle(c, -20.0, -28.0, 34.0, 16.0, 5.0); }, TonesOf(kTrim), 2.0, 1.8);
    Glow(cr, -3.0, -20.0, 9.0, WithAlpha(Palette::Gold, 0.6));
    CelFill(cr, [](cairo_t* c) { Ellipse(c, -3.0, -20.0, 4.5, 4.5); }, TonesOf(Palette::Gold), 1.2, 1.6);
    Highlight(cr, -4.3, -18.6, 1.3, 1.0);
    for (double x : {-15.0, 9.0}) {
        FlatFill(cr, [x](cairo_t* c) { Ellipse(c, x, -20.0, 1.3, 1.3); }, Mix(kTrim, Palette::Ink, 0.45), 0.0);
    }
    if (cracks > 0.0) {
        // Cracks grow from the core as the robot overheats.
        const Colour hot = Mix(Palette::Ember, Palette::Gold, 0.5);
        cairo_new_path(cr);
        cairo_move_to(cr, -3.0, -20.0);
        cairo_rel_line_to(cr, 8.0 * cracks, 6.0 * cracks);
        cairo_rel_line_to(cr, 6.0 * cracks, -2.0 * cracks);
        cairo_move_to(cr, -3.0, -20.0);
        cairo_rel_line_to(cr, -9.0 * cracks, 9.0 * cracks);
        cairo_rel_line_to(cr, -3.0 * cracks, 8.0 * cracks);
        cairo_move_to(cr, -3.0, -20.0);
        cairo_rel_line_to(cr, 4.0 * cracks, -9.0 * cracks);
        OutlinedStroke(cr, hot, 1.4, 0.8);
    }
}

// Paints `tint` over everything drawn between Begin and End, keeping its alpha.
void BeginTint(cairo_t* cr, double amount) {
    if (amount > 0.0) {
        cairo_push_group(cr);
    }
}

void EndTint(cairo_t* cr, const Colour& tint, double amount) {
    if (amount > 0.0) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        SetColour(cr, WithAlpha(tint, amount));
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    }
}

void Robot(cairo_t* cr, const Pose& pose) {
    cairo_save(cr);
    BeginTint(cr, pose.tintAmount);
    cairo_translate(cr, pose.dx, pose.dy);
    cairo_translate(cr, 0.0, -36.0);
    cairo_rotate(cr, pose.lean);
    cairo_translate(cr, 0.0, 36.0);
    Backpack(cr);
    Tracks(cr);
    Body(cr, pose.cracks);
    if (pose.head) {
        cairo_save(cr);
        cairo_translate(cr, 0.0, 1.0);
        Head(cr, pose.eye);
        cairo_restore(cr);
    }
    EndTint(cr, pose.tint, pose.tintAmount);
    cairo_restore(cr);
}

// Sparks thrown off the shell at points drawn from `random`.
void SparkBurst(cairo_t* cr, Random& random, int count, double spread, const Colour& colour) {
    for (int i = 0; i < count; ++i) {
        const double x = random.Signed() * spread;
        const double y = -14.0 + random.Signed() * spread;
        const double angle = std::atan2(y + 14.0, x) + random.Signed() * 0.6;
        Spark(cr, x, y, angle, 7.0 + random.Unit() * 6.0, 2.6, colour);
    }
}

void SmokeCloud(cairo_t* cr, double x, double y, double size, double darkness) {
    const Colour grey = Mix(kSmoke, Palette::Ink, darkness);
    const std::array<Circle, 4> puffs{
        Circle{x - size * 0.55, y - size * 0.1, size * 0.55},
        Circle{x + size * 0.5, y - size * 0.05, size * 0.6},
        Circle{x, y + size * 0.35, size * 0.7},
        Circle{x + size * 0.1, y - size * 0.35, size * 0.5},
    };
    Blob(cr, puffs, TonesOf(grey), 2.0);
}

void Fireball(cairo_t* cr, double x, double y, double size, double cool) {
    const std::array<Circle, 5> outer{
        Circle{x, y, size},
        Circle{x - size * 0.7, y - size * 0.2, size * 0.65},
        Circle{x + size * 0.7, y - size * 0.15, size * 0.6},
        Circle{x - size * 0.3, y + size * 0.6, size * 0.6},
        Circle{x + size * 0.35, y + size * 0.55, size * 0.55},
    };
    Blob(cr, outer, TonesOf(Mix(Palette::Ember, kSmoke, cool)), 2.0);
    const std::array<Circle, 3> inner{
        Circle{x, y - size * 0.05, size * 0.55},
        Circle{x - size * 0.3, y + size * 0.2, size * 0.35},
        Circle{x + size * 0.3, y + size * 0.15, size * 0.35},
    };
    Blob(cr, inner, TonesOf(Mix(Palette::Gold, Palette::Ember, cool)), 0.0);
}

}  // namespace

void DrawPlayer(const FrameCanvas& canvas) { Robot(canvas.cr, Pose{}); }

// Two frames alternate while the robot is invulnerable: a red flash, then a
// white one, both wincing and rocked back a little.
void DrawPlayerDmg(const FrameCanvas& canvas) {
    const bool red = canvas.frame % 2 == 0;
    Pose pose;
    pose.eye = Eye::Squint;
    pose.lean = red ? 0.07 : 0.035;
    pose.dx = red ? -1.5 : -0.5;
    pose.tint = red ? Palette::Danger : Palette::White;
    pose.tintAmount = red ? 0.45 : 0.5;
    Robot(canvas.cr, pose);
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
    SparkBurst(canvas.cr, random, red ? 5 : 3, 30.0, Palette::Gold);
}

// The death, 17 frames: sparks and a red eye, the shell overheating and
// cracking, a flash, the blast throwing the head up out of a fireball, smoke
// rising while the head falls back and lands askew on the charred wreck.
void DrawPlayerDeath(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const int f = canvas.frame;
    const double last = std::max(1, canvas.frameCount - 1);
    const double t = f / last;  // 0 .. 1 over the animation
    Random random(canvas.seed + static_cast<std::uint64_t>(f));
    const Colour charred = Mix(Palette::DarkGrey, Palette::Ink, 0.3);

    // Phases in frames of 17: 0-3 sparking, 4-6 overheating, 7 flash,
    // 8-11 blast, 12-16 smoke and the head's landing.
    const double blastStart = 7.0 / 16.0;
    const double landed = 13.0 / 16.0;
    const bool intact = t < blastStart;

    if (!intact) {
        // Smoke columns behind the wreck, rising and thinning.
        const double s = (t - blastStart) / (1.0 - blastStart);
        SmokeCloud(cr, -8.0, 14.0 + 62.0 * s, 10.0 + 12.0 * s * (1.0 - 0.5 * s), 0.25 + 0.2 * s);
        if (s > 0.25) {
            SmokeCloud(cr, 10.0, 4.0 + 50.0 * (s - 0.25), 7.0 + 6.0 * s, 0.35);
        }
    }

    Pose pose;
    if (intact) {
        const double heat = std::clamp((t - 3.0 / 16.0) / (4.0 / 16.0), 0.0, 1.0);
        const double shake = 1.0 + 2.0 * heat;
        pose.dx = (f % 2 == 0 ? 1.0 : -1.0) * shake;
        pose.dy = (f % 3 == 0 ? 0.5 : -0.5) * shake * 0.5;
        pose.eye = (f % 2 == 0) ? Eye::Red : Eye::Off;
        pose.cracks = heat;
        pose.tint = Mix(Palette::Ember, Palette::EmberRed, 0.3);
        pose.tintAmount = 0.5 * heat;
        if (heat > 0.0) {
            Glow(cr, 0.0, -12.0, 46.0, WithAlpha(Palette::Ember, std::min(1.0, 1.2 * heat)));
        }
        if (f == 6) {
            pose.tint = Palette::White;
            pose.tintAmount = 0.75;
        }
    } else {
        pose.head = false;
        pose.eye = Eye::Off;
        pose.cracks = 1.0;
        pose.tint = charred;
        pose.tintAmount = 0.7;
        pose.dy = -1.0;
        pose.lean = -0.05;
    }
    Robot(cr, pose);

    if (intact) {
        SparkBurst(cr, random, 2 + f / 2, 28.0, f % 2 == 0 ? Palette::Gold : kEye);
        if (f >= 3) {
            SmokeCloud(cr, -32.0 + 2.0 * (f - 3), 8.0 + 5.0 * (f - 3), 4.0 + 1.5 * (f - 3), 0.2);
        }
        return;
    }
    if (f == 7) {
        PlayerEffects::Star(cr, 0.0, -10.0, 10, 30.0, 44.0, 0.1, Mix(Palette::Gold, Palette::White, 0.6), 2.0);
        PlayerEffects::Star(cr, 0.0, -10.0, 8, 16.0, 28.0, 0.4, Palette::White, 0.0);
        return;
    }

    // Embers glowing in the wreck.
    Glow(cr, -3.0, -20.0, 10.0 - 4.0 * t, WithAlpha(Palette::Ember, 0.8));

    const double s = (t - blastStart) / (1.0 - blastStart);  // 0 .. 1 after the flash
    if (f <= 11) {
        // The fireball rises and cools.
        const double b = (f - 8) / 3.0;
        Fireball(cr, 0.0, 6.0 + 34.0 * b, 21.0 + 7.0 * b, 0.3 * b);
        Random debris(canvas.seed);
        for (int i = 0; i < 6; ++i) {
            const double vx = debris.Signed() * 28.0;
            const double vy = 50.0 + debris.Unit() * 40.0;
            const double k = b + 0.35;
            const double x = vx * k;
            const double y = -6.0 + vy * k - 60.0 * k * k;
            CelFill(cr, [x, y](cairo_t* c) { RoundedRectangle(c, x - 2.5, y - 2.5, 5.0, 5.0, 1.0); },
                    TonesOf(kMetal), 1.0, 1.5);
        }
    }

    // The head's flight: up out of the blast, turning, then down onto the wreck.
    const double flight = std::clamp(s / ((landed - blastStart) / (1.0 - blastStart)), 0.0, 1.0);
    const double hx = 14.0 * flight;
    const double hy = 3.0 + 4.0 * 50.0 * flight * (1.0 - flight) + (flight >= 1.0 ? -2.0 : 0.0);
    const double spin = -flight * 2.0 * kPi * 0.75 - (flight >= 1.0 ? 0.35 : 0.0) + (flight >= 1.0 ? 2.0 * kPi * 0.75 : 0.0);
    cairo_save(cr);
    cairo_translate(cr, hx, hy + 8.0);
    cairo_rotate(cr, spin);
    cairo_translate(cr, 0.0, -8.0);
    BeginTint(cr, 0.45);
    Head(cr, Eye::Off);
    EndTint(cr, charred, 0.45);
    cairo_restore(cr);

    if (flight >= 1.0) {
        // Dizzy sparks over the landed head, fewer as it cools.
        const int count = 16 - f + 1;
        for (int i = 0; i < count; ++i) {
            const double a = 2.0 * kPi * (i / static_cast<double>(count)) + f * 0.6;
            Spark(cr, 14.0 + 20.0 * std::cos(a), 36.0 + 5.0 * std::sin(a), a, 5.0, 2.0, Palette::Gold);
        }
    }
}

}  // namespace AssetGen::PlayerParts
