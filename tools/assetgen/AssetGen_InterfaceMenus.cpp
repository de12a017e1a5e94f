// The menus' sheets: buttons, shop tabs, weapon selection buttons, the shop's
// level capsule and the pieces of the frame panels.
#include <algorithm>
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
using InterfaceParts::ButtonLook;

constexpr double kMargin = 2.0;
// The panel's centre colour: the menus write black text on it.
constexpr Colour kPanelFace = Rgb(246, 238, 222);
// The cross-section of the panel's edge pipes, outside to outside: a steel
// conduit glowing with embers; symmetric, as the pipes are turned both ways.
constexpr std::array<Colour, 9> kPipeRows{Palette::Ink,   Palette::SteelDark, Palette::Steel,
                                          Palette::Ember, Palette::Gold,      Palette::Ember,
                                          Palette::Steel, Palette::SteelDark, Palette::Ink};

// Frames 0, 1, 2 of the game's buttons: idle, hovered, pressed.
ButtonLook LookOfFrame(int frame) {
    static constexpr std::array kLooks{ButtonLook::Idle, ButtonLook::Hover, ButtonLook::Pressed};
    return kLooks.at(static_cast<std::size_t>(frame % 3));
}

void Button(const FrameCanvas& c) {
    InterfaceParts::ButtonFace(c.cr, 0, 0, c.width - 2 * kMargin, c.height - 2 * kMargin, LookOfFrame(c.frame));
}

// A shop tab: rounded toward the left, square where it meets the panel.
// Frame 0 selected (the panel's own face), 1 normal, 2 hovered. Tab k is the
// health page (k = -1) or weapon k's page.
void Tab(const FrameCanvas& c, int weapon, std::string_view word) {
    cairo_t* cr = c.cr;
    const double inset = kMargin + kOutline * 0.75;
    const double left = -c.width / 2.0 + inset;
    const double right = c.width / 2.0 - inset;
    const double bottom = -c.height / 2.0 + inset;
    const double top = c.height / 2.0 - inset;
    const double r = 14.0;
    auto shape = [&](cairo_t* p) {
        cairo_move_to(p, right, top);
        cairo_line_to(p, left + r, top);
        cairo_arc(p, left + r, top - r, r, std::numbers::pi / 2, std::numbers::pi);
        cairo_line_to(p, left, bottom + r);
        cairo_arc(p, left + r, bottom + r, r, std::numbers::pi, 1.5 * std::numbers::pi);
        cairo_line_to(p, right, bottom);
        cairo_close_path(p);
    };
    const int look = c.frame % 3;
    const Colour face = look == 0 ? kPanelFace : look == 1 ? Palette::SteelDark : Palette::PanelLight;
    CelFill(cr, shape, TonesOf(face), 3.0, kOutline);
    if (look == 0) {
        cairo_new_path(cr);
        cairo_move_to(cr, left + 4.0, top - 4.0);
        cairo_line_to(cr, right, top - 4.0);
        SetColour(cr, Palette::Ember);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
    }
    const double iconX = left + 28.0;
    const double iconSize = c.height * 0.66;
    if (weapon < 0) {
        InterfaceParts::RobotIcon(cr, iconX, 0, iconSize);
    } else {
        InterfaceParts::WeaponIcon(cr, weapon, iconX, 0, iconSize);
    }
    const LetteringStyle style{.size = 20,
                               .top = look == 0 ? Palette::Ink : Palette::White,
                               .bottom = look == 0 ? Palette::Navy : Palette::PaleGrey,
                               .outline = Palette::Ink,
                               .outlineWidth = look == 0 ? 0.0 : 2.0};
    const double textLeft = iconX + iconSize / 2.0 + 2.0;
    LetteringToFit(cr, word, (textLeft + right - 4.0) / 2.0, 0, right - 4.0 - textLeft, c.height * 0.5, style);
}

// A weapon selection button: the weapon's icon on a button face.
void WeaponSelection(const FrameCanvas& c, int weapon) {
    Button(c);
    const double press = LookOfFrame(c.frame) == ButtonLook::Pressed ? -2.0 : 1.0;
    InterfaceParts::WeaponIcon(c.cr, weapon, 0, press, std::min(c.width, c.height) * 0.62);
}

}  // namespace

void ButtonTemplate(const FrameCanvas& c) { Button(c); }
void OneCharButton(const FrameCanvas& c) { Button(c); }
void LevelSelButton(const FrameCanvas& c) { Button(c); }

void RobotTab(const FrameCanvas& c) { Tab(c, -1, "HEALTH"); }
void PlasmaTab(const FrameCanvas& c) { Tab(c, 0, "PLASMA"); }
void BeamTab(const FrameCanvas& c) { Tab(c, 1, "BEAM"); }
void FlamerTab(const FrameCanvas& c) { Tab(c, 2, "FLAMER"); }
void MiniTab(const FrameCanvas& c) { Tab(c, 3, "MINIGUN"); }

void PlasmaSel(const FrameCanvas& c) { WeaponSelection(c, 0); }
void LightSel(const FrameCanvas& c) { WeaponSelection(c, 1); }
void FlameSel(const FrameCanvas& c) { WeaponSelection(c, 2); }
void MiniGunSel(const FrameCanvas& c) { WeaponSelection(c, 3); }

void ShopCapsule(const FrameCanvas& c) {
    // Frame k: an upgrade of level k, k of the five cells lit.
    cairo_t* cr = c.cr;
    const double w = c.width - 2 * kMargin - 2.0;
    const double h = c.height - 2 * kMargin - 2.0;
    CelFill(
        cr, [&](cairo_t* p) { RoundedRectangle(p, -w / 2, -h / 2, w, h, h / 2); }, TonesOf(Palette::Panel), 3.0,
        kOutline);
    const double inner = h - 14.0;
    const double cellGap = 4.0;
    const double cellWidth = (w - h + 6.0 - 4 * cellGap) / 5.0;
    const double first = -w / 2 + h / 2 - 3.0;
    for (int k = 0; k < 5; ++k) {
        const double x = first + k * (cellWidth + cellGap);
        const bool lit = k < c.frame;
        const Colour colour = lit ? Mix(Palette::Ember, Palette::Gold, k / 4.0) : Palette::DarkGrey;
        CelFill(
            cr, [&](cairo_t* p) { RoundedRectangle(p, x, -inner / 2, cellWidth, inner, 4.0); }, TonesOf(colour), 2.0,
            1.5);
        if (lit) {
            Highlight(cr, x + cellWidth * 0.3, inner * 0.22, cellWidth * 0.16, inner * 0.1);
        }
    }
}

void FrameBG(const FrameCanvas& c) {
    SetColour(c.cr, kPanelFace);
    cairo_paint(c.cr);
}

void FramePipe(const FrameCanvas& c) {
    PixelSpace space(c);
    for (int row = 0; row < c.height; ++row) {
        cairo_new_path(c.cr);
        cairo_rectangle(c.cr, 0, row, c.width, 1);
        SetColour(c.cr, kPipeRows.at(static_cast<std::size_t>(row) % kPipeRows.size()));
        cairo_fill(c.cr);
    }
}

void FrameCorner(const FrameCanvas& c) {
    // The top-left corner (the code turns it for the others): the pipes'
    // centre lines run 8 pixels in from the corner piece's centre, along
    // y = +8 to the right edge and x = -8 to the bottom edge, and bend
    // between them.
    cairo_t* cr = c.cr;
    const double line = 8.0;
    const double bend = 10.0;
    const double edge = c.width / 2.0;
    const double pi = std::numbers::pi;
    for (std::size_t i = 0; i < kPipeRows.size(); ++i) {
        const double d = 4.0 - static_cast<double>(i);  // toward the outside
        cairo_new_path(cr);
        cairo_move_to(cr, edge, line + d);
        cairo_line_to(cr, -line + bend, line + d);
        cairo_arc(cr, -line + bend, line - bend, bend + d, pi / 2, pi);
        cairo_line_to(cr, -line - d, -edge);
        SetColour(cr, kPipeRows.at(i));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
    const double jointX = -line + bend - bend * std::cos(pi / 4);
    const double jointY = line - bend + bend * std::sin(pi / 4);
    CelFill(
        cr, [&](cairo_t* p) { Ellipse(p, jointX, jointY, 7.0, 7.0); }, TonesOf(Palette::Steel), 2.0, kOutline);
    FlatFill(
        cr, [&](cairo_t* p) { Ellipse(p, jointX, jointY, 2.5, 2.5); }, Palette::Ember, 1.0);
}

}  // namespace AssetGen::InterfaceSheets
