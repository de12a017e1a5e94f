#include "AssetGen_PlayerEffects.h"

#include <cmath>
#include <numbers>

namespace AssetGen::PlayerEffects {

using Style::Colour;
using Style::SetColour;

void Spark(cairo_t* cr, double x, double y, double angle, double length, double width, const Colour& colour) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    auto streak = [&](double w, double along) {
        cairo_new_path(cr);
        cairo_move_to(cr, x - s * w / 2.0, y + c * w / 2.0);
        cairo_line_to(cr, x + c * along, y + s * along);
        cairo_line_to(cr, x + s * w / 2.0, y - c * w / 2.0);
        cairo_line_to(cr, x - c * w / 2.0, y - s * w / 2.0);
        cairo_close_path(cr);
        cairo_fill(cr);
    };
    cairo_save(cr);
    SetColour(cr, colour);
    streak(width, length);
    SetColour(cr, Style::Mix(colour, Style::Palette::White, 0.75));
    streak(width * 0.45, length * 0.7);
    cairo_restore(cr);
}

void Blob(cairo_t* cr, std::span<const Circle> circles, const Style::Tones& tones, double outline) {
    auto fill = [&](double dx, double dy, double grow) {
        cairo_new_path(cr);
        for (const Circle& circle : circles) {
            const double r = circle.r + grow;
            if (r <= 0.0) {
                continue;
            }
            cairo_new_sub_path(cr);
            cairo_arc(cr, circle.x + dx, circle.y + dy, r, 0.0, 2.0 * std::numbers::pi);
        }
        cairo_fill(cr);
    };
    cairo_save(cr);
    // Drawing the outline as a larger fill underneath keeps it off the seams
    // where the circles overlap.
    if (outline > 0.0) {
        SetColour(cr, Style::Palette::Ink);
        fill(0.0, 0.0, outline / 2.0);
    }
    SetColour(cr, tones.shadow);
    fill(0.0, 0.0, -outline / 2.0);
    SetColour(cr, tones.base);
    fill(-1.2, 1.2, -outline / 2.0 - 1.6);
    cairo_new_path(cr);
    for (const Circle& circle : circles) {
        const double r = circle.r * 0.3;
        if (r >= 0.8) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, circle.x - circle.r * 0.35, circle.y + circle.r * 0.35, r, 0.0, 2.0 * std::numbers::pi);
        }
    }
    SetColour(cr, tones.light);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Star(cairo_t* cr, double cx, double cy, int points, double inner, double outer, double turn, const Colour& fill,
          double outline) {
    Style::FlatFill(cr, [=](cairo_t* c) {
        for (int i = 0; i < 2 * points; ++i) {
            const double a = turn + i * std::numbers::pi / points;
            const double r = (i % 2 == 0) ? outer : inner;
            cairo_line_to(c, cx + r * std::cos(a), cy + r * std::sin(a));
        }
        cairo_close_path(c);
    }, fill, outline);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, const Colour& colour) {
    cairo_save(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0.0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, colour.r, colour.g, colour.b, colour.a);
    cairo_pattern_add_color_stop_rgba(glow, 0.5, colour.r, colour.g, colour.b, colour.a * 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, colour.r, colour.g, colour.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * std::numbers::pi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_restore(cr);
}

}  // namespace AssetGen::PlayerEffects
