#include "AssetGen_Style.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace AssetGen::Style {
namespace {

constexpr double kPi = std::numbers::pi;

// Glyphs are laid out y down: a y-up user space is flipped for them.
bool UserSpaceIsYUp(cairo_t* cr) {
    double dx = 0.0;
    double dy = 1.0;
    cairo_user_to_device_distance(cr, &dx, &dy);
    return dy < 0.0;
}

// Replaces the current path with the text's outline, its ink box centred on
// the origin of a y-down space.
void CentredTextPath(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t ink;
    cairo_text_extents(cr, text.c_str(), &ink);
    cairo_new_path(cr);
    cairo_move_to(cr, -ink.x_bearing - ink.width / 2.0, -ink.y_bearing - ink.height / 2.0);
    cairo_text_path(cr, text.c_str());
}

}  // namespace

Colour WeaponColour(int weapon) {
    static constexpr std::array<Colour, 4> kColours{Palette::Plasma, Palette::Beam, Palette::Flamer, Palette::Minigun};
    return kColours.at(static_cast<std::size_t>(weapon));
}

Colour Mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour WithAlpha(const Colour& c, double a) { return {c.r, c.g, c.b, a}; }

void SetColour(cairo_t* cr, const Colour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

Tones TonesOf(const Colour& base) {
    // The shadow leans toward the outline's violet rather than plain black,
    // so shaded colours stay lively.
    return {Mix(base, Palette::Ink, 0.38), base, Mix(base, Palette::White, 0.35), Mix(base, Palette::White, 0.8)};
}

double OutlineWidth(double size) { return std::clamp(kOutline * size / 96.0, 1.5, 5.0); }

void RoundedRectangle(cairo_t* cr, double left, double bottom, double width, double height, double radius) {
    const double r = std::clamp(radius, 0.0, std::min(width, height) / 2.0);
    const double right = left + width;
    const double top = bottom + height;
    cairo_new_sub_path(cr);
    cairo_arc(cr, right - r, top - r, r, 0.0, kPi / 2.0);
    cairo_arc(cr, left + r, top - r, r, kPi / 2.0, kPi);
    cairo_arc(cr, left + r, bottom + r, r, kPi, 1.5 * kPi);
    cairo_arc(cr, right - r, bottom + r, r, 1.5 * kPi, 2.0 * kPi);
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 1e-6), std::max(ry, 1e-6));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void Polygon(cairo_t* cr, std::initializer_list<Point> points) {
    bool first = true;
    for (const Point& p : points) {
        if (first) {
            cairo_move_to(cr, p.x, p.y);
            first = false;
        } else {
            cairo_line_to(cr, p.x, p.y);
        }
    }
    cairo_close_path(cr);
}

void OutlinedStroke(cairo_t* cr, const Colour& colour, double width, double outline) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, width + 2.0 * outline);
    cairo_stroke_preserve(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CelFill(cairo_t* cr, const PathFunction& path, const Tones& tones, double depth, double outline) {
    // The light comes from the upper left of the picture whatever way the
    // user space is turned: (-1, -1) in device space, where y runs down.
    double lx = -1.0;
    double ly = -1.0;
    cairo_device_to_user_distance(cr, &lx, &ly);
    const double length = std::hypot(lx, ly);
    lx /= length;
    ly /= length;
    // A tone's rim is the shape less the shape moved toward that tone's side.
    auto rim = [&](const Colour& tone, double dx, double dy) {
        cairo_push_group(cr);
        SetColour(cr, tone);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_save(cr);
        cairo_translate(cr, dx, dy);
        cairo_new_path(cr);
        path(cr);
        cairo_restore(cr);
        cairo_fill(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    };
    cairo_save(cr);
    cairo_new_path(cr);
    path(cr);
    cairo_clip(cr);
    SetColour(cr, tones.base);
    cairo_paint(cr);
    rim(tones.shadow, lx * depth, ly * depth);
    rim(tones.light, -lx * depth * 0.6, -ly * depth * 0.6);
    cairo_restore(cr);
    if (outline > 0.0) {
        cairo_save(cr);
        cairo_new_path(cr);
        path(cr);
        SetColour(cr, Palette::Ink);
        cairo_set_line_width(cr, outline);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

void FlatFill(cairo_t* cr, const PathFunction& path, const Colour& fill, double outline) {
    cairo_save(cr);
    cairo_new_path(cr);
    path(cr);
    SetColour(cr, fill);
    if (outline > 0.0) {
        cairo_fill_preserve(cr);
        SetColour(cr, Palette::Ink);
        cairo_set_line_width(cr, outline);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Highlight(cairo_t* cr, double cx, double cy, double rx, double ry, const Colour& c) {
    cairo_save(cr);
    cairo_new_path(cr);
    Ellipse(cr, cx, cy, rx, ry);
    SetColour(cr, WithAlpha(c, c.a * 0.85));
    cairo_fill(cr);
    cairo_restore(cr);
}

PixelSpace::PixelSpace(const FrameCanvas& canvas) : cr_(canvas.cr) {
    cairo_save(cr_);
    cairo_translate(cr_, -canvas.width / 2.0, canvas.height / 2.0);
    cairo_scale(cr_, 1.0, -1.0);
}

PixelSpace::~PixelSpace() { cairo_restore(cr_); }

InkSize LetteringSize(cairo_t* cr, std::string_view text, const LetteringStyle& style) {
    cairo_save(cr);
    UseFont(cr, style.face, style.size);
    cairo_text_extents_t ink;
    cairo_text_extents(cr, std::string(text).c_str(), &ink);
    cairo_restore(cr);
    return {ink.width, ink.height};
}

void Lettering(cairo_t* cr, std::string_view text, double cx, double cy, const LetteringStyle& style) {
    const std::string owned(text);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    if (UserSpaceIsYUp(cr)) {
        cairo_scale(cr, 1.0, -1.0);
    }
    UseFont(cr, style.face, style.size);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_text_extents_t ink;
    cairo_text_extents(cr, owned.c_str(), &ink);

    if (style.shadowOffset > 0.0) {
        cairo_save(cr);
        cairo_translate(cr, style.shadowOffset, style.shadowOffset);
        CentredTextPath(cr, owned);
        SetColour(cr, style.outline);
        cairo_set_line_width(cr, 2.0 * style.outlineWidth);
        cairo_fill_preserve(cr);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    CentredTextPath(cr, owned);
    if (style.outlineWidth > 0.0) {
        // Stroked twice as wide and then covered by the fill, so the outline
        // lies wholly outside the glyphs and thin strokes keep their colour.
        SetColour(cr, style.outline);
        cairo_set_line_width(cr, 2.0 * style.outlineWidth);
        cairo_stroke_preserve(cr);
    }
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, -ink.height / 2.0, 0.0, ink.height / 2.0);
    cairo_pattern_add_color_stop_rgba(gradient, 0.0, style.top.r, style.top.g, style.top.b, style.top.a);
    cairo_pattern_add_color_stop_rgba(gradient, 1.0, style.bottom.r, style.bottom.g, style.bottom.b, style.bottom.a);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
    cairo_restore(cr);
}

void LetteringToFit(cairo_t* cr, std::string_view text, double cx, double cy, double maxWidth, double maxHeight,
                    LetteringStyle style) {
    // Ink grows in proportion to the size, so one measurement finds the scale.
    const InkSize ink = LetteringSize(cr, text, style);
    const double margin = 2.0 * (style.outlineWidth + style.shadowOffset);
    if (ink.width > 0.0 && ink.height > 0.0) {
        const double scale = std::min((maxWidth - margin) / ink.width, (maxHeight - margin) / ink.height);
        if (scale < 1.0) {
            style.size *= scale;
        }
    }
    Lettering(cr, text, cx, cy, style);
}

}  // namespace AssetGen::Style
