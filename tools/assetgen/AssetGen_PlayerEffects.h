#pragma once

#include <cairo.h>

#include <span>

#include "AssetGen_Style.h"

// Effects shared by the robot's death, the shots and their impacts: sparks,
// outlined blobs of smoke and fire, star-shaped flashes and glows.
namespace AssetGen::PlayerEffects {

struct Circle {
    double x;
    double y;
    double r;
};

// A bright streak from (x, y) toward `angle` (radians), tapering to its tip,
// with a white-hot core.
void Spark(cairo_t* cr, double x, double y, double angle, double length, double width, const Style::Colour& colour);

// Overlapping circles filled as one shape: one outline around the union,
// shaded toward the lower right, a light rim toward the upper left.
void Blob(cairo_t* cr, std::span<const Circle> circles, const Style::Tones& tones, double outline = Style::kOutline);

// A star of `points` spikes between `inner` and `outer` radii, turned by
// `turn` radians; filled with `fill` and outlined when `outline` > 0.
void Star(cairo_t* cr, double cx, double cy, int points, double inner, double outer, double turn,
          const Style::Colour& fill, double outline);

// A soft round glow fading from `colour` at the centre to nothing at `radius`.
void Glow(cairo_t* cr, double cx, double cy, double radius, const Style::Colour& colour);

}  // namespace AssetGen::PlayerEffects
