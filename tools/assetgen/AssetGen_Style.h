#pragma once

#include <cairo.h>

#include <functional>
#include <initializer_list>
#include <string_view>

#include "AssetGen_Lettering.h"
#include "AssetGen_Sheet.h"

// The look every sheet shares: one palette, a dark outline about two pixels
// wide at the 96-pixel scale, light from the upper left, cel-shaded tones and
// one highlight, chunky rounded shapes, lettering in DejaVu. All coordinates
// are a FrameCanvas's: origin at the cell's centre, y up, one unit per pixel.
namespace AssetGen::Style {

struct Colour {
    double r = 0.0;  // 0 .. 1
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

constexpr Colour Rgb(int r, int g, int b, double a = 1.0) { return {r / 255.0, g / 255.0, b / 255.0, a}; }

// The palette: every colour a sheet uses comes from here or is mixed from it.
namespace Palette {
// Outline and neutrals.
inline constexpr Colour Ink = Rgb(26, 20, 35);
inline constexpr Colour White = Rgb(255, 255, 255);
inline constexpr Colour PaleGrey = Rgb(226, 228, 232);
inline constexpr Colour LightGrey = Rgb(188, 192, 200);
inline constexpr Colour MidGrey = Rgb(128, 132, 142);
inline constexpr Colour DarkGrey = Rgb(70, 72, 84);
inline constexpr Colour Black = Rgb(0, 0, 0);
// The four weapons: plasma, beam, flamer, minigun (their bars and gauges).
inline constexpr Colour Plasma = Rgb(203, 52, 242);
inline constexpr Colour Beam = Rgb(13, 165, 252);
inline constexpr Colour Flamer = Rgb(254, 121, 40);
inline constexpr Colour Minigun = Rgb(254, 252, 0);
// The game's own: ember orange and red, gold, the robot's steel and teal.
inline constexpr Colour Ember = Rgb(255, 112, 38);
inline constexpr Colour EmberRed = Rgb(214, 48, 42);
inline constexpr Colour Gold = Rgb(255, 204, 64);
inline constexpr Colour Steel = Rgb(150, 168, 186);
inline constexpr Colour SteelDark = Rgb(84, 98, 120);
inline constexpr Colour Teal = Rgb(38, 190, 170);
inline constexpr Colour Navy = Rgb(36, 44, 78);
// The three themes: grassland by day, dry dusk, snowy night.
inline constexpr Colour Grass = Rgb(98, 190, 72);
inline constexpr Colour Soil = Rgb(150, 96, 58);
inline constexpr Colour Sand = Rgb(226, 176, 104);
inline constexpr Colour DuskRock = Rgb(176, 92, 70);
inline constexpr Colour Snow = Rgb(236, 244, 255);
inline constexpr Colour Ice = Rgb(130, 196, 236);
inline constexpr Colour SkyDay = Rgb(120, 196, 250);
inline constexpr Colour SkyDusk = Rgb(250, 150, 96);
inline constexpr Colour SkyNight = Rgb(28, 34, 80);
// Menus and HUD.
inline constexpr Colour Panel = Rgb(58, 64, 92);
inline constexpr Colour PanelLight = Rgb(96, 106, 146);
inline constexpr Colour Health = Rgb(84, 220, 96);
inline constexpr Colour Danger = Rgb(236, 54, 54);
}  // namespace Palette

// The weapon colours in the order of the weapon bits 0 to 3.
Colour WeaponColour(int weapon);

Colour Mix(const Colour& a, const Colour& b, double t);  // t = 0 gives a
Colour WithAlpha(const Colour& c, double a);
void SetColour(cairo_t* cr, const Colour& c);

// A base colour's cel tones: shadow, base, light and the highlight.
struct Tones {
    Colour shadow;
    Colour base;
    Colour light;
    Colour highlight;
};
Tones TonesOf(const Colour& base);

// The outline width for a sprite about `size` pixels tall: 2 at 96, never
// thinner than 1.5 (it must survive the cell being sampled) nor thicker than 5.
double OutlineWidth(double size);
inline constexpr double kOutline = 2.0;

// Appends a path to the context; called more than once by the shaders.
using PathFunction = std::function<void(cairo_t*)>;

// Paths, all in FrameCanvas coordinates (y up).
void RoundedRectangle(cairo_t* cr, double left, double bottom, double width, double height, double radius);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
struct Point {
    double x;
    double y;
};
void Polygon(cairo_t* cr, std::initializer_list<Point> points);  // closed

// Strokes the current path `width` wide in `colour` over a dark outline
// `outline` wider on each side, with round ends; the path is consumed.
void OutlinedStroke(cairo_t* cr, const Colour& colour, double width, double outline = kOutline / 2.0);

// Fills `path` cel-shaded (base, a light rim toward the upper left and a
// shadow toward the lower right of the picture, `depth` pixels deep) and
// strokes its outline; right in a FrameCanvas space and a PixelSpace alike.
void CelFill(cairo_t* cr, const PathFunction& path, const Tones& tones, double depth = 3.0, double outline = kOutline);
// Fills `path` flat and strokes its outline.
void FlatFill(cairo_t* cr, const PathFunction& path, const Colour& fill, double outline = kOutline);
// A soft highlight: a small light ellipse, the glint of the upper-left light.
void Highlight(cairo_t* cr, double cx, double cy, double rx, double ry, const Colour& c = Palette::White);

// Crisp HUD art: within the scope the context's units are the cell's pixels
// with the origin at the cell's TOP-LEFT corner and y down, so whole numbers
// fall on pixel edges whatever the cell's size.
class PixelSpace {
public:
    explicit PixelSpace(const FrameCanvas& canvas);
    ~PixelSpace();
    PixelSpace(const PixelSpace&) = delete;
    PixelSpace& operator=(const PixelSpace&) = delete;

private:
    cairo_t* cr_;
};

// Lettering, in the DejaVu faces of AssetGen_Lettering.h.
struct LetteringStyle {
    DejaVu face = DejaVu::SansBold;
    double size = 24.0;           // pixels, the em size
    Colour top = Palette::White;  // a vertical gradient from top to bottom of the ink
    Colour bottom = Palette::LightGrey;
    Colour outline = Palette::Ink;
    double outlineWidth = 3.0;  // 0: none
    double shadowOffset = 0.0;  // a drop shadow down and right, in the outline colour
};

// Draws `text` upright with its ink box centred on (cx, cy), in a y-up
// FrameCanvas space or a y-down PixelSpace alike.
void Lettering(cairo_t* cr, std::string_view text, double cx, double cy, const LetteringStyle& style);
// Lettering() at the largest size up to style.size whose ink, outline
// included, fits a box of maxWidth x maxHeight centred on (cx, cy).
void LetteringToFit(cairo_t* cr, std::string_view text, double cx, double cy, double maxWidth, double maxHeight,
                    LetteringStyle style);

struct InkSize {
    double width;
    double height;
};
// The size of `text`'s ink at `style`, outline not included.
InkSize LetteringSize(cairo_t* cr, std::string_view text, const LetteringStyle& style);

}  // namespace AssetGen::Style
