// The mascot that rides on the robot's head, and the drop enemies leave
// behind (also the HUD's counter icon).
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

constexpr double kPi = std::numbers::pi;
constexpr double kLine = 1.1;

}  // namespace

// Quorvex: a round little piglet with a flame tuft, facing +x, its feet on
// the bottom of its cell so that it stands on the robot's head. Drawn for its
// 20 x 26 cell: few shapes, a thin outline, one big eye.
void DrawQuorvex(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Colour skin = Mix(Palette::EmberRed, Palette::White, 0.6);
    const Tones tones = TonesOf(skin);
    // Flame tuft on the crown, behind the head.
    FlatFill(cr, [](cairo_t* c) {
        cairo_move_to(c, -3.5, 2.0);
        cairo_curve_to(c, -4.5, 6.0, -2.5, 7.5, -1.0, 10.0);
        cairo_curve_to(c, -0.5, 8.0, 0.5, 7.5, 2.0, 8.5);
        cairo_curve_to(c, 2.5, 6.0, 3.0, 4.0, 2.5, 2.0);
        cairo_close_path(c);
    }, Palette::Ember, kLine);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, -0.6, 5.0, 1.3, 2.0); }, Palette::Gold, 0.0);
    for (double x : {-3.2, 2.6}) {
        CelFill(cr, [x](cairo_t* c) { RoundedRectangle(c, x - 1.5, -10.2, 3.0, 3.5, 1.0); }, tones, 0.8, kLine);
    }
    CelFill(cr, [](cairo_t* c) { Ellipse(c, -0.3, -2.6, 7.0, 6.4); }, tones, 1.5, kLine);
    // An ear pricked up at the back of the head.
    CelFill(cr, [](cairo_t* c) { Polygon(c, {{-6.0, 1.5}, {-6.2, 6.2}, {-2.6, 3.4}}); }, tones, 0.6, kLine);
    // Snout toward +x with its nostril, the eye, a blush.
    CelFill(cr, [](cairo_t* c) { Ellipse(c, 5.3, -3.2, 1.9, 2.2); }, TonesOf(Mix(skin, Palette::EmberRed, 0.35)), 0.6,
            kLine);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 5.8, -2.8, 0.5, 0.8); }, Palette::Ink, 0.0);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 2.0, 0.2, 1.9, 2.2); }, Palette::White, 0.0);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 2.6, 0.0, 1.2, 1.6); }, Palette::Ink, 0.0);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 2.9, 0.6, 0.5, 0.5); }, Palette::White, 0.0);
    FlatFill(cr, [](cairo_t* c) { Ellipse(c, 1.0, -4.6, 1.5, 0.9); }, WithAlpha(Palette::EmberRed, 0.5), 0.0);
}

// The drop: a glazed ember donut with sprinkles that bobs and glints
// (4 frames). Its pickup circle is the whole cell.
void DrawEnemyDrop(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const double phase = canvas.frame / static_cast<double>(canvas.frameCount);
    const double bob = 2.0 * std::sin(2.0 * kPi * phase);
    const double outer = 22.0;
    const double hole = 7.5;
    cairo_save(cr);
    cairo_translate(cr, 0.0, bob);
    PlayerEffects::Glow(cr, 0.0, 0.0, 27.5, WithAlpha(Palette::Gold, 0.35));
    // The glow must not fill the hole.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    Ellipse(cr, 0.0, 0.0, hole, hole * 0.85);
    cairo_fill(cr);
    cairo_restore(cr);
    auto ring = [&](double r, double dx, double dy) {
        return [=](cairo_t* c) {
            cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
            Ellipse(c, dx, dy, r, r * 0.92);
            Ellipse(c, dx, dy, hole, hole * 0.85);
        };
    };
    CelFill(cr, ring(outer, 0.0, 0.0), TonesOf(Mix(Palette::Sand, Palette::Soil, 0.35)), 3.5);
    // The icing: a wavy ring in ember orange.
    auto icing = [&](cairo_t* c) {
        cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_new_sub_path(c);
        for (int i = 0; i <= 48; ++i) {
            const double a = 2.0 * kPi * i / 48.0;
            const double r = outer - 4.0 + 1.6 * std::sin(a * 7.0);
            cairo_line_to(c, r * std::cos(a), 0.92 * r * std::sin(a) + 0.5);
        }
        cairo_close_path(c);
        Ellipse(c, 0.0, 0.5, hole + 3.0, (hole + 3.0) * 0.85);
    };
    CelFill(cr, icing, TonesOf(Palette::Ember), 2.5, 1.6);
    // Sprinkles, fixed on the donut.
    Random random(canvas.seed);
    const std::array<Colour, 4> colours{Palette::Gold, Palette::White, Palette::Teal, Palette::Plasma};
    for (int i = 0; i < 14; ++i) {
        const double a = 2.0 * kPi * (i + 0.4 * random.Unit()) / 14.0;
        const double r = hole + 5.5 + random.Unit() * 5.0;
        const double x = r * std::cos(a);
        const double y = 0.92 * r * std::sin(a);
        const double turn = random.Unit() * kPi;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, turn);
        FlatFill(cr, [](cairo_t* c) { RoundedRectangle(c, -1.8, -0.7, 3.6, 1.4, 0.7); },
                 colours[static_cast<std::size_t>(i) % colours.size()], 0.0);
        cairo_restore(cr);
    }
    // A glint travelling over the icing.
    const double ga = kPi * (0.55 + 0.5 * phase);
    PlayerEffects::Star(cr, 15.0 * std::cos(ga), 13.0 * std::sin(ga), 4, 1.0, 4.5, 0.0, Palette::White, 0.0);
    cairo_restore(cr);
}

}  // namespace AssetGen::PlayerParts
