#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>

#include "AssetGen_Sheet.h"
#include "AssetGen_Style.h"

// Drawing pieces the enemies and bosses share, on top of the common style:
// chunky bodies whose overlapping lobes read as one outlined shape, eyes,
// limbs, glows and the puffs, shards and flashes of their deaths and hits.
namespace AssetGen::Foe {

using Style::Colour;
using Style::PathFunction;
using Style::Tones;
namespace Palette = Style::Palette;

inline constexpr double kPi = 3.14159265358979323846;

// Outlines: the style's 2 pixels on the 96-pixel enemies; the bosses, drawn
// at the same scale but four times as tall, a little heavier.
inline constexpr double kEnemyOutline = Style::kOutline;
inline constexpr double kBossOutline = 4.0;

// One drawing shared by several sheets that differ only by a variant (a
// theme, a fight phase, a side), as the sheet lists need it.
template <void (*Draw)(const FrameCanvas&, int), int Variant>
void DrawVariant(const FrameCanvas& canvas) {
    Draw(canvas, Variant);
}

// Clips drawing to the cell less its 2-pixel margin: flying debris, rays and
// tumbling poses must not reach the neighbouring cells, which filtering and
// mipmaps sample.
void KeepMargin(const FrameCanvas& canvas);

// The alpaca's wool, also on its bombs.
inline constexpr Colour kAlpacaWool = Style::Rgb(244, 216, 200);

// Paths (FrameCanvas coordinates, y up).
PathFunction Ellipse(double cx, double cy, double rx, double ry);
PathFunction Circle(double cx, double cy, double r);
// A closed polygon through (x, y) pairs with its corners rounded by `radius`.
PathFunction RoundedPolygon(std::initializer_list<double> xy, double radius);
// A fluffy round shape: an ellipse ringed by `bumps` circles of radius `bump`.
PathFunction Fluffy(double cx, double cy, double rx, double ry, int bumps, double bump);
// `points` spikes between the inner and outer radius, the first at angle `turn`.
PathFunction Star(double cx, double cy, int points, double inner, double outer, double turn);

// A cel-shaded shape whose outline lies wholly outside it: overlapping lobes
// of one path show a single outer edge.
void Body(cairo_t* cr, const PathFunction& path, const Colour& base, double depth, double outline);
// The same flat, optionally translucent.
void Flat(cairo_t* cr, const PathFunction& path, const Colour& fill, double outline, double alpha = 1.0);
// A round stroke along a polyline of (x, y) pairs over its own outline.
void Limb(cairo_t* cr, std::initializer_list<double> xy, const Colour& colour, double width, double outline);
// A soft radial halo, cheap on large cells.
void Glow(cairo_t* cr, double cx, double cy, double radius, const Colour& colour, double alpha);

// An eye looking toward (lookX, lookY) in -1..1, its lid `closed` 0..1.
void Eye(cairo_t* cr, double cx, double cy, double rx, double ry, double lookX, double lookY, double closed,
         const Colour& iris, double outline);
// The crossed-out eye of a beaten foe.
void CrossedEye(cairo_t* cr, double cx, double cy, double size, double outline);
// An angry brow over an eye facing left: its inner end low.
void Brow(cairo_t* cr, double cx, double cy, double halfWidth, double tilt, double outline);

// Little stars circling a dazed head on a flat ellipse, turned by `phase`.
void DizzyStars(cairo_t* cr, double cx, double cy, double radius, int count, double size, double phase);
// A puff of smoke within `radius` of its centre, spread by `grow` 0..1 and
// faded by `alpha`.
void SmokePuff(cairo_t* cr, double cx, double cy, double radius, double grow, double alpha, const Colour& colour,
               std::uint64_t seed);
// Shards thrown out from the centre, `t` 0..1 of the way, fading late.
void Shards(cairo_t* cr, double cx, double cy, double reach, double t, int count, double size, const Colour& colour,
            std::uint64_t seed);
// A star-shaped flash with a pale core.
void Burst(cairo_t* cr, double cx, double cy, double radius, int points, const Colour& colour, double alpha,
           double turn);

}  // namespace AssetGen::Foe
