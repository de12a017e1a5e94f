#include "AssetGen_FoeStyle.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "AssetGen_Random.h"

namespace AssetGen::Foe {

namespace {

void Trace(cairo_t* cr, const PathFunction& path) {
    cairo_new_path(cr);
    path(cr);
}

void Underlay(cairo_t* cr, const PathFunction& path, double outline, double alpha) {
    if (outline <= 0) return;
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Trace(cr, path);
    cairo_set_line_width(cr, outline * 2);
    Style::SetColour(cr, Style::WithAlpha(Palette::Ink, alpha));
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace

void KeepMargin(const FrameCanvas& canvas) {
    constexpr double kMargin = 2.5;
    cairo_new_path(canvas.cr);
    cairo_rectangle(canvas.cr, -canvas.width / 2.0 + kMargin, -canvas.height / 2.0 + kMargin,
                    canvas.width - 2 * kMargin, canvas.height - 2 * kMargin);
    cairo_clip(canvas.cr);
}

PathFunction Ellipse(double cx, double cy, double rx, double ry) {
    return [=](cairo_t* cr) { Style::Ellipse(cr, cx, cy, rx, ry); };
}

PathFunction Circle(double cx, double cy, double r) { return Ellipse(cx, cy, r, r); }

PathFunction RoundedPolygon(std::initializer_list<double> xy, double radius) {
    std::vector<double> p(xy);
    return [p, radius](cairo_t* cr) {
        const std::size_t n = p.size() / 2;
        if (n < 3) return;
        // A point on the edge from vertex a toward vertex b, at most halfway.
        auto along = [&](std::size_t a, std::size_t b, double* x, double* y) {
            const double ax = p[2 * (a % n)], ay = p[2 * (a % n) + 1];
            const double bx = p[2 * (b % n)], by = p[2 * (b % n) + 1];
            const double len = std::hypot(bx - ax, by - ay);
            const double t = len > 0 ? std::min(radius, len * 0.5) / len : 0;
            *x = ax + (bx - ax) * t;
            *y = ay + (by - ay) * t;
        };
        double x, y;
        along(0, 1, &x, &y);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, x, y);
        for (std::size_t i = 1; i <= n; ++i) {
            const double vx = p[2 * (i % n)], vy = p[2 * (i % n) + 1];
            double inX, inY, outX, outY;
            along(i, i - 1, &inX, &inY);
            along(i, i + 1, &outX, &outY);
            cairo_line_to(cr, inX, inY);
            cairo_curve_to(cr, vx, vy, vx, vy, outX, outY);
        }
        cairo_close_path(cr);
    };
}

PathFunction Fluffy(double cx, double cy, double rx, double ry, int bumps, double bump) {
    return [=](cairo_t* cr) {
        Style::Ellipse(cr, cx, cy, rx, ry);
        for (int i = 0; i < bumps; ++i) {
            const double a = i * 2 * kPi / bumps;
            Style::Ellipse(cr, cx + rx * std::cos(a), cy + ry * std::sin(a), bump, bump);
        }
    };
}

PathFunction Star(double cx, double cy, int points, double inner, double outer, double turn) {
    return [=](cairo_t* cr) {
        cairo_new_sub_path(cr);
        for (int i = 0; i < points * 2; ++i) {
            const double a = turn + i * kPi / points;
            const double r = (i % 2 == 0) ? outer : inner;
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        }
        cairo_close_path(cr);
    };
}

void Body(cairo_t* cr, const PathFunction& path, const Colour& base, double depth, double outline) {
    Underlay(cr, path, outline, 1.0);
    Style::CelFill(cr, path, Style::TonesOf(base), depth, 0.0);
}

void Flat(cairo_t* cr, const PathFunction& path, const Colour& fill, double outline, double alpha) {
    Underlay(cr, path, outline, alpha);
    cairo_save(cr);
    Trace(cr, path);
    Style::SetColour(cr, Style::WithAlpha(fill, fill.a * alpha));
    cairo_fill(cr);
    cairo_restore(cr);
}

void Limb(cairo_t* cr, std::initializer_list<double> xy, const Colour& colour, double width, double outline) {
    std::vector<double> p(xy);
    auto polyline = [&](double w, const Colour& c) {
        cairo_new_path(cr);
        for (std::size_t i = 0; i + 1 < p.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
        cairo_set_line_width(cr, w);
        Style::SetColour(cr, c);
        cairo_stroke(cr);
    };
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    polyline(width + outline * 2, Palette::Ink);
    polyline(width, colour);
    cairo_restore(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, const Colour& colour, double alpha) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 0.45, colour.r, colour.g, colour.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
    cairo_save(cr);
    cairo_new_path(cr);
    Style::Ellipse(cr, cx, cy, radius, radius);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(glow);
}

void Eye(cairo_t* cr, double cx, double cy, double rx, double ry, double lookX, double lookY, double closed,
         const Colour& iris, double outline) {
    if (closed >= 0.85) {
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, cx - rx, cy);
        cairo_curve_to(cr, cx - rx * 0.4, cy - ry * 0.5, cx + rx * 0.4, cy - ry * 0.5, cx + rx, cy);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, outline * 1.4);
        Style::SetColour(cr, Palette::Ink);
        cairo_stroke(cr);
        cairo_restore(cr);
        return;
    }
    const double open = ry * (1 - closed);
    const double eyeY = cy - (ry - open);
    Flat(cr, Ellipse(cx, eyeY, rx, open), Palette::White, outline);
    cairo_save(cr);
    cairo_new_path(cr);
    Style::Ellipse(cr, cx, eyeY, rx, open);
    cairo_clip(cr);
    const double ir = std::min(rx, ry) * 0.62;
    const double ix = cx + lookX * (rx - ir * 0.8), iy = eyeY + lookY * std::max(0.0, open - ir * 0.6);
    Flat(cr, Circle(ix, iy, ir), iris, 0);
    Flat(cr, Circle(ix, iy, ir * 0.55), Palette::Ink, 0);
    Flat(cr, Circle(ix - ir * 0.35, iy + ir * 0.4, ir * 0.3), Palette::White, 0);
    cairo_restore(cr);
}

void CrossedEye(cairo_t* cr, double cx, double cy, double size, double outline) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - size, cy - size);
    cairo_line_to(cr, cx + size, cy + size);
    cairo_move_to(cr, cx - size, cy + size);
    cairo_line_to(cr, cx + size, cy - size);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, outline * 1.6);
    Style::SetColour(cr, Palette::Ink);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Brow(cairo_t* cr, double cx, double cy, double halfWidth, double tilt, double outline) {
    Limb(cr, {cx - halfWidth, cy - tilt, cx + halfWidth, cy + tilt}, Palette::Ink, outline * 1.5, 0);
}

void DizzyStars(cairo_t* cr, double cx, double cy, double radius, int count, double size, double phase) {
    for (int i = 0; i < count; ++i) {
        const double a = phase + i * 2 * kPi / count;
        Body(cr, Star(cx + radius * std::cos(a), cy + radius * 0.3 * std::sin(a), 5, size * 0.45, size, a),
             Palette::Gold, size * 0.2, std::max(1.0, size * 0.15));
    }
}

void SmokePuff(cairo_t* cr, double cx, double cy, double radius, double grow, double alpha, const Colour& colour,
               std::uint64_t seed) {
    Random random(seed);
    constexpr int kLobes = 5;
    // Lobes and their spread stay within `radius` of the centre at any growth.
    const double spread = radius * (0.25 + 0.38 * grow);
    const double lobe = radius * (0.45 - 0.15 * grow);
    std::vector<double> lobes;
    for (int i = 0; i < kLobes; ++i) {
        const double a = (i + 0.3 * random.Signed()) * 2 * kPi / kLobes;
        lobes.push_back(cx + spread * std::cos(a));
        lobes.push_back(cy + spread * std::sin(a) * 0.8);
        lobes.push_back(lobe * (0.8 + 0.2 * random.Unit()));
    }
    const PathFunction path = [=](cairo_t* c) {
        Style::Ellipse(c, cx, cy, lobe * 1.2, lobe * 1.1);
        for (std::size_t i = 0; i < lobes.size(); i += 3)
            Style::Ellipse(c, lobes[i], lobes[i + 1], lobes[i + 2], lobes[i + 2]);
    };
    cairo_push_group(cr);
    Body(cr, path, colour, lobe * 0.3, std::clamp(radius * 0.06, 1.5, 4.0));
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

void Shards(cairo_t* cr, double cx, double cy, double reach, double t, int count, double size, const Colour& colour,
            std::uint64_t seed) {
    Random random(seed);
    const double fade = std::clamp(1.3 - t, 0.0, 1.0);
    for (int i = 0; i < count; ++i) {
        const double a = (i + 0.5 * random.Signed()) * 2 * kPi / count;
        const double d = reach * t * (0.7 + 0.3 * random.Unit());
        const double s = size * (0.7 + 0.5 * random.Unit()) * (1 - 0.4 * t);
        const double spin = random.Signed() * 3 + t * 4;
        cairo_save(cr);
        cairo_translate(cr, cx + d * std::cos(a), cy + d * std::sin(a));
        cairo_rotate(cr, spin);
        Flat(cr, RoundedPolygon({-s, -s * 0.6, s, -s * 0.3, -s * 0.2, s}, s * 0.2), colour, std::max(1.0, size * 0.16),
             fade);
        cairo_restore(cr);
    }
}

void Burst(cairo_t* cr, double cx, double cy, double radius, int points, const Colour& colour, double alpha,
           double turn) {
    Flat(cr, Star(cx, cy, points, radius * 0.45, radius, turn), colour, 0, alpha);
    Flat(cr, Star(cx, cy, points, radius * 0.25, radius * 0.6, turn + 0.3), Style::Mix(colour, Palette::White, 0.7), 0,
         alpha);
}

}  // namespace AssetGen::Foe
