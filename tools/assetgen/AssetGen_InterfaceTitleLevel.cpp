// The title level's own sheets: the three menu machines, the exit sign, the
// key prompt above a machine and the control hints.
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

#include "AssetGen_InterfaceParts.h"
#include "AssetGen_InterfaceSheets.h"
#include "AssetGen_Style.h"

namespace AssetGen::InterfaceSheets {
namespace {

using namespace Style;

constexpr double kPi = std::numbers::pi;

// What a machine's screen shows, at a phase of 0 .. 1 through its loop.
using ScreenPicture = void (*)(cairo_t* cr, double cx, double cy, double size, double phase);

void GearPicture(cairo_t* cr, double cx, double cy, double size, double phase) {
    constexpr int kTeeth = 8;
    const double outer = size * 0.45;
    const double inner = size * 0.34;
    const double turn = phase * 2.0 * kPi / kTeeth;
    CelFill(
        cr,
        [&](cairo_t* p) {
            for (int k = 0; k < 4 * kTeeth; ++k) {
                const double a = turn + k * kPi / (2 * kTeeth);
                const double r = (k % 4 < 2) ? outer : inner;
                const double x = cx + r * std::cos(a);
                const double y = cy + r * std::sin(a);
                k == 0 ? cairo_move_to(p, x, y) : cairo_line_to(p, x, y);
            }
            cairo_close_path(p);
            cairo_new_sub_path(p);
            cairo_arc_negative(p, cx, cy, size * 0.13, 2.0 * kPi, 0.0);
        },
        TonesOf(Palette::Teal), 2.0, 2.0);
}

void FlagPicture(cairo_t* cr, double cx, double cy, double size, double phase) {
    const double s = size;
    FlatFill(
        cr,
        [&](cairo_t* p) {
            Polygon(p, {{cx - s * 0.5, cy - s * 0.4},
                        {cx - s * 0.12, cy + s * 0.02},
                        {cx + s * 0.12, cy - s * 0.16},
                        {cx + s * 0.5, cy + s * 0.12},
                        {cx + s * 0.5, cy - s * 0.4}});
        },
        Palette::Grass, 1.5);
    const double poleX = cx - s * 0.12;
    cairo_new_path(cr);
    cairo_move_to(cr, poleX, cy + s * 0.02);
    cairo_line_to(cr, poleX, cy + s * 0.46);
    SetColour(cr, Palette::PaleGrey);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    const double wave = std::sin(phase * 2.0 * kPi) * s * 0.05;
    FlatFill(
        cr,
        [&](cairo_t* p) {
            cairo_move_to(p, poleX, cy + s * 0.46);
            cairo_curve_to(p, poleX + s * 0.15, cy + s * 0.46 + wave, poleX + s * 0.25, cy + s * 0.4 - wave,
                           poleX + s * 0.36, cy + s * 0.42);
            cairo_line_to(p, poleX + s * 0.36, cy + s * 0.22);
            cairo_curve_to(p, poleX + s * 0.25, cy + s * 0.2 - wave, poleX + s * 0.15, cy + s * 0.26 + wave, poleX,
                           cy + s * 0.26);
            cairo_close_path(p);
        },
        Palette::Ember, 1.5);
}

void WeaponsPicture(cairo_t* cr, double cx, double cy, double size, double phase) {
    InterfaceParts::WeaponIcon(cr, static_cast<int>(phase * 3.0) % 3, cx, cy, size * 0.9);
}

// A menu machine of the title level, standing on the cell's bottom: its name
// on the marquee, its picture on the screen, a light chasing along its keys.
void Machine(const FrameCanvas& c, std::string_view name, const Colour& body, ScreenPicture picture) {
    cairo_t* cr = c.cr;
    const double phase = static_cast<double>(c.frame) / c.frameCount;
    const double half = c.width / 2.0 - 8.0;
    const double bottom = -c.height / 2.0 + 3.0;
    const double top = c.height / 2.0 - 3.0;
    for (int side = -1; side <= 1; side += 2) {
        FlatFill(
            cr, [&](cairo_t* p) { RoundedRectangle(p, side * (half - 12.0) - 9.0, bottom, 18.0, 10.0, 3.0); },
            Palette::DarkGrey, kOutline);
    }
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -half, bottom + 6.0, 2.0 * half, top - bottom - 6.0, 14.0); },
        TonesOf(body), 5.0, kOutline);
    // The marquee with the machine's name.
    const double marqueeBottom = top - 30.0;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -half + 7.0, marqueeBottom, 2.0 * half - 14.0, 24.0, 7.0); },
        TonesOf(Rgb(246, 238, 222)), 2.0, kOutline);
    const LetteringStyle marquee{.size = 16.0, .top = Palette::Ink, .bottom = Palette::Navy, .outlineWidth = 0.0};
    LetteringToFit(cr, name, 0, marqueeBottom + 12.0, 2.0 * half - 22.0, 20.0, marquee);
    // The screen: the picture, with a scan line rolling down it.
    const double screenTop = marqueeBottom - 6.0;
    const double screenHeight = 58.0;
    const double screenBottom = screenTop - screenHeight;
    const double screenHalf = half - 10.0;
    auto screen = [&](cairo_t* p) {
        RoundedRectangle(p, -screenHalf, screenBottom, 2.0 * screenHalf, screenHeight, 6.0);
    };
    FlatFill(cr, screen, Palette::Navy, kOutline);
    cairo_save(cr);
    cairo_new_path(cr);
    screen(cr);
    cairo_clip(cr);
    picture(cr, 0, screenBottom + screenHeight / 2.0, screenHeight * 0.85, phase);
    const double scan = screenTop - phase * screenHeight;
    cairo_new_path(cr);
    cairo_rectangle(cr, -screenHalf, scan - 3.0, 2.0 * screenHalf, 3.0);
    SetColour(cr, WithAlpha(Palette::White, 0.25));
    cairo_fill(cr);
    cairo_restore(cr);
    Highlight(cr, -screenHalf + 8.0, screenTop - 7.0, 4.0, 2.0, WithAlpha(Palette::White, 0.7));
    // Three keys; the lit one moves on every frame.
    const double keysY = screenBottom - 14.0;
    for (int k = 0; k < 3; ++k) {
        const bool lit = k == c.frame % 3;
        CelFill(
            cr, [&](cairo_t* p) { Ellipse(p, (k - 1) * 22.0, keysY, 6.5, 6.5); },
            TonesOf(lit ? Palette::Gold : Palette::SteelDark), 2.0, kOutline);
    }
    // The slot things come out of.
    FlatFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -24.0, bottom + 14.0, 48.0, 14.0, 4.0); }, Palette::Ink, 0.0);
    FlatFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -20.0, bottom + 16.0, 40.0, 5.0, 2.0); },
        Mix(body, Palette::Ink, 0.5), 0.0);
}

// The exit sign's board on its post; the bulbs around it lit by `bulbLit`.
template <typename BulbLit>
void Sign(const FrameCanvas& c, std::string_view text, const Colour& board, const Colour& letters, BulbLit bulbLit) {
    cairo_t* cr = c.cr;
    const double inset = 3.5;  // the margin and half the outline
    const double bottom = -c.height / 2.0 + inset;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -4.0, bottom, 8.0, 22.0, 2.0); }, TonesOf(Palette::SteelDark), 1.5,
        kOutline);
    const double boardBottom = bottom + 15.0;
    const double boardTop = c.height / 2.0 - inset;
    const double half = c.width / 2.0 - inset;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -half, boardBottom, 2.0 * half, boardTop - boardBottom, 8.0); },
        TonesOf(board), 3.0, kOutline);
    constexpr int kBulbsAcross = 6;
    int bulb = 0;
    for (int row = 0; row < 2; ++row) {
        for (int k = 0; k < kBulbsAcross; ++k, ++bulb) {
            const double x = -half + 8.0 + k * (2.0 * half - 16.0) / (kBulbsAcross - 1);
            const double y = row == 0 ? boardTop - 5.0 : boardBottom + 5.0;
            const bool lit = bulbLit(bulb);
            FlatFill(
                cr, [&](cairo_t* p) { Ellipse(p, x, y, 2.2, 2.2); }, lit ? Palette::Gold : Palette::DarkGrey, 1.0);
        }
    }
    const LetteringStyle style{
        .size = 22.0, .top = letters, .bottom = Mix(letters, Palette::Ink, 0.25), .outlineWidth = 2.0};
    LetteringToFit(cr, text, 0, (boardBottom + boardTop) / 2.0, 2.0 * half - 8.0, boardTop - boardBottom - 16.0, style);
}

}  // namespace

void OptionMachine(const FrameCanvas& c) { Machine(c, "OPTIONS", Palette::Steel, GearPicture); }
void LevelSelMachine(const FrameCanvas& c) { Machine(c, "LEVELS", Palette::Grass, FlagPicture); }
void WepSelMachine(const FrameCanvas& c) { Machine(c, "SHOP", Palette::Ember, WeaponsPicture); }

void MenuSignGeneric(const FrameCanvas& c) {
    // Not yet in use: dark, with an arrow whose dots run toward the exit.
    Sign(c, "", Palette::DarkGrey, Palette::White, [](int) { return false; });
    cairo_t* cr = c.cr;
    for (int k = 0; k < 4; ++k) {
        const bool lit = k == c.frame % 4;
        const double x = -18.0 + k * 10.0;
        FlatFill(
            cr,
            [&](cairo_t* p) {
                Polygon(p, {{x - 3.0, 10.0}, {x + 4.0, 3.0}, {x - 3.0, -4.0}});
            },
            lit ? Palette::Gold : Palette::MidGrey, 1.0);
    }
}

void MenuExit(const FrameCanvas& c) {
    // Idle: the bulbs chase around the board.
    const int frame = c.frame;
    Sign(c, "EXIT", Palette::EmberRed, Palette::White, [frame](int bulb) { return (bulb + frame) % 4 == 0; });
}

void MenuExitHover(const FrameCanvas& c) {
    Sign(c, "EXIT", Palette::Ember, Palette::Minigun, [](int) { return true; });
}

void PushX(const FrameCanvas& c) { InterfaceParts::KeyCap(c.cr, "X", 0, 0, c.width - 8.0, c.height - 4.0); }

void ControlInstruction(const FrameCanvas& c) {
    // Frame 0: walk with A and D; frame 1: jump with W (the default keys).
    cairo_t* cr = c.cr;
    const double key = c.height - 22.0;
    const double left = -c.width / 2.0 + 3.0;
    const double right = c.width / 2.0 - 3.0;
    const char* const keys = c.frame == 0 ? "AD" : "W";
    double x = left;
    for (const char* k = keys; *k != '\0'; ++k) {
        InterfaceParts::KeyCap(cr, std::string_view(k, 1), x + key / 2.0, 0, key, key);
        x += key + 3.0;
    }
    const LetteringStyle words{.size = 30.0, .outlineWidth = 3.0};
    LetteringToFit(cr, c.frame == 0 ? "MOVE" : "JUMP", (x + right) / 2.0, 0, right - x, c.height - 4.0, words);
}

}  // namespace AssetGen::InterfaceSheets
