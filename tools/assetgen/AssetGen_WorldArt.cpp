// The world's scenery: terrain tiles, skies, the title sun and the clouds.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "AssetGen_Random.h"
#include "AssetGen_Sheet.h"
#include "AssetGen_Style.h"

namespace AssetGen {
namespace {

using Style::Colour;
using Style::Mix;
using Style::Rgb;
namespace Palette = Style::Palette;

constexpr double kPi = std::numbers::pi;

// ---------------------------------------------------------------- terrain
//
// Tiles are 50 x 50 and stand 46 (stage) or 48 (title) apart, so each
// overlaps its neighbours by a few pixels: along every edge a tile shows
// the same plain material at the same height. Local y +18 is where the
// ground is walked on (the top of pixel row 7), x -22 the wall of a step
// (pixel column 3); the raised blocks are walked on at +17.
constexpr double kHalfTile = 25.0;
constexpr double kSurface = 18.0;
constexpr double kWall = -22.0;
constexpr double kBlockSurface = 17.0;
constexpr double kTileOutline = 1.5;

// One theme's materials: 0 grassland by day, 1 dry dusk, 2 snowy night.
struct Ground {
    Colour cover;  // grass, dry grass or snow
    Colour soil;
    Colour pebble;
    Colour stone;  // the raised blocks
    bool snow;
};

const Ground& GroundOf(int theme) {
    static const std::array<Ground, 3> kGrounds{{
        {Palette::Grass, Palette::Soil, Rgb(196, 170, 140), Rgb(150, 150, 162), false},
        {Rgb(214, 170, 78), Palette::DuskRock, Rgb(232, 196, 150), Palette::Sand, false},
        {Palette::Snow, Rgb(84, 90, 128), Rgb(150, 170, 200), Mix(Palette::Ice, Palette::SkyNight, 0.3), true},
    }};
    return kGrounds.at(static_cast<std::size_t>(std::clamp(theme, 0, 2)));
}

void Rectangle(cairo_t* cr, double left, double bottom, double right, double top) {
    cairo_rectangle(cr, left, bottom, right - left, top - bottom);
}

void FillRectangle(cairo_t* cr, const Colour& colour, double left, double bottom, double right, double top) {
    cairo_new_path(cr);
    Rectangle(cr, left, bottom, right, top);
    Style::SetColour(cr, colour);
    cairo_fill(cr);
}

// Soil with a few pebbles kept clear of the edges, where neighbours overlap.
// Flipped either way it still tiles.
void Soil(cairo_t* cr, const Ground& ground, Random& random, double top, int pebbles) {
    FillRectangle(cr, ground.soil, -kHalfTile, -kHalfTile, kHalfTile, top);
    const Style::Tones pebble = Style::TonesOf(Mix(ground.soil, ground.pebble, 0.7));
    for (int i = 0; i < pebbles; ++i) {
        const double rx = 2.0 + 2.0 * random.Unit();
        const double ry = rx * (0.6 + 0.2 * random.Unit());
        const double x = random.Signed() * (kHalfTile - 5.0 - rx);
        const double y = -kHalfTile + 5.0 + ry + random.Unit() * (top - 2.0 * ry - 12.0 + kHalfTile);
        Style::CelFill(cr, [&](cairo_t* c) { Style::Ellipse(c, x, y, rx, ry); }, pebble, 1.0, 1.0);
    }
    // Specks of darker soil.
    Style::SetColour(cr, Style::TonesOf(ground.soil).shadow);
    for (int i = 0; i < 6; ++i) {
        const double x = random.Signed() * (kHalfTile - 4.0);
        const double y = -kHalfTile + 4.0 + random.Unit() * (top + kHalfTile - 10.0);
        cairo_new_path(cr);
        Style::Ellipse(cr, x, y, 1.2, 0.8);
        cairo_fill(cr);
    }
}

// The lower edge of the grass or snow: whole scallops, so it meets both
// tile edges at the same depth whatever the variant.
double CoverBottom(double x, int scallops, double depth) {
    return kSurface - 9.0 - depth * std::fabs(std::sin(scallops * kPi * (x + kHalfTile) / (2.0 * kHalfTile)));
}

void CoverPath(cairo_t* cr, double left, int scallops, double depth) {
    cairo_new_path(cr);
    cairo_move_to(cr, left, kSurface);
    cairo_line_to(cr, kHalfTile, kSurface);
    for (double x = kHalfTile; x >= left; x -= 1.0) {
        cairo_line_to(cr, x, CoverBottom(x, scallops, depth));
    }
    cairo_line_to(cr, left, CoverBottom(left, scallops, depth));
    cairo_close_path(cr);
}

// Blades or snow lumps standing on the surface, away from the tile's edges.
// Their outlines go down first and their fills last, over the band's inked
// top, so they grow out of the cover.
struct Tufts {
    std::array<double, 3> x{};
    std::array<double, 3> height{};
    int count = 0;
};

Tufts PlaceTufts(Random& random, double left) {
    Tufts tufts;
    tufts.count = 2 + random.Below(2);
    for (int i = 0; i < tufts.count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        tufts.x[at] = left + 6.0 + (kHalfTile - 12.0 - left) * (i + 0.2 + 0.6 * random.Unit()) / tufts.count;
        tufts.height[at] = 3.0 + 2.5 * random.Unit();
    }
    return tufts;
}

void TuftPaths(cairo_t* cr, const Ground& ground, const Tufts& tufts) {
    cairo_new_path(cr);
    for (int i = 0; i < tufts.count; ++i) {
        const double x = tufts.x[static_cast<std::size_t>(i)];
        const double height = tufts.height[static_cast<std::size_t>(i)];
        if (ground.snow) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, kSurface - 1.5, height, 0.0, kPi);
            cairo_close_path(cr);
            continue;
        }
        cairo_move_to(cr, x - 4.0, kSurface - 1.5);
        cairo_line_to(cr, x - 3.0, kSurface + height * 0.7);
        cairo_line_to(cr, x - 1.2, kSurface + 0.5);
        cairo_line_to(cr, x, kSurface + height);
        cairo_line_to(cr, x + 1.2, kSurface + 0.5);
        cairo_line_to(cr, x + 3.0, kSurface + height * 0.8);
        cairo_line_to(cr, x + 4.0, kSurface - 1.5);
        cairo_close_path(cr);
    }
}

// The grass (or snow) band from `left` to the right edge: its top is the
// walking line, inked; a shade of soil follows its scalloped bottom.
void Cover(cairo_t* cr, const Ground& ground, Random& random, double left) {
    const int scallops = 3 + random.Below(3);
    const double depth = 2.0 + 2.0 * random.Unit();
    const Style::Tones soil = Style::TonesOf(ground.soil);
    const Style::Tones cover = Style::TonesOf(ground.cover);
    const Tufts tufts = PlaceTufts(random, left);

    TuftPaths(cr, ground, tufts);
    Style::SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);

    cairo_save(cr);
    cairo_translate(cr, 0.0, -2.5);
    CoverPath(cr, left, scallops, depth);
    Style::SetColour(cr, soil.shadow);
    cairo_fill(cr);
    cairo_restore(cr);

    CoverPath(cr, left, scallops, depth);
    Style::SetColour(cr, cover.base);
    cairo_fill_preserve(cr);
    Style::SetColour(cr, cover.shadow);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    FillRectangle(cr, cover.light, left, kSurface - 3.5, kHalfTile, kSurface - 1.5);
    FillRectangle(cr, Palette::Ink, left, kSurface - kTileOutline, kHalfTile, kSurface);
    TuftPaths(cr, ground, tufts);
    Style::SetColour(cr, cover.light);
    cairo_fill(cr);
}

// The face of a step: the wall at x -22 with the cover folding over its
// edge and the soil below it in shade.
void StepFace(cairo_t* cr, const Ground& ground) {
    const Style::Tones soil = Style::TonesOf(ground.soil);
    const Style::Tones cover = Style::TonesOf(ground.cover);
    FillRectangle(cr, soil.shadow, kWall, -kHalfTile, kWall + 4.0, kSurface);
    auto lip = [](cairo_t* c) {
        cairo_move_to(c, kWall, kSurface);
        cairo_line_to(c, kWall + 6.0, kSurface);
        cairo_curve_to(c, kWall + 6.0, kSurface - 8.0, kWall + 3.0, kSurface - 12.0, kWall, kSurface - 13.0);
        cairo_close_path(c);
    };
    cairo_new_path(cr);
    lip(cr);
    Style::SetColour(cr, cover.base);
    cairo_fill(cr);
    FillRectangle(cr, Palette::Ink, kWall, -kHalfTile, kWall + kTileOutline, kSurface);
}

// Top tiles with the ground's collider: frames 3t and 3t + 1 flat, 3t + 2
// the top of a step up (its wall on the left; mirrored for a step down).
void DrawColliderTile(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Ground& ground = GroundOf(canvas.frame / 3);
    const bool step = canvas.frame % 3 == 2;
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
    const double left = step ? kWall : -kHalfTile;
    cairo_save(cr);
    cairo_new_path(cr);
    Rectangle(cr, left, -kHalfTile, kHalfTile, kHalfTile);
    cairo_clip(cr);
    Soil(cr, ground, random, kSurface, 2);
    Cover(cr, ground, random, left);
    cairo_restore(cr);
    if (step) {
        StepFace(cr, ground);
    }
}

// A raised block's stone: one slab per tile in a frame of mortar, the same
// whichever way it is flipped.
void Slab(cairo_t* cr, const Ground& ground, double top) {
    FillRectangle(cr, Style::TonesOf(ground.stone).shadow, -kHalfTile, -kHalfTile, kHalfTile, top);
    Style::CelFill(
        cr, [top](cairo_t* c) { Style::RoundedRectangle(c, -23.0, -23.0, 46.0, top + 21.0, 5.0); },
        Style::TonesOf(ground.stone), 2.5, 1.0);
}

// The tile under the top of a step up: soil below the wall's foot, and left
// of the wall the lower ground's own surface, which it may lie over.
void StepFoot(cairo_t* cr, const Ground& ground, Random& random) {
    cairo_save(cr);
    cairo_new_path(cr);
    Rectangle(cr, -kHalfTile, -kHalfTile, kHalfTile, kHalfTile);
    Rectangle(cr, kWall, kSurface, -kHalfTile, kHalfTile);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    Soil(cr, ground, random, kHalfTile, 2);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_new_path(cr);
    Rectangle(cr, -kHalfTile, -kHalfTile, kWall, kHalfTile);
    cairo_clip(cr);
    Cover(cr, ground, random, -kHalfTile);
    cairo_restore(cr);
    const Style::Tones soil = Style::TonesOf(ground.soil);
    FillRectangle(cr, soil.shadow, kWall, kSurface - 6.0, kWall + 4.0, kHalfTile);
    FillRectangle(cr, Palette::Ink, kWall, kSurface - 1.0, kWall + kTileOutline, kHalfTile);
}

// Filling tiles, five per theme t: 5t and 5t + 1 soil (flipped at random by
// the game), 5t + 2 a raised block's body, 5t + 3 its top, 5t + 4 the tile
// under a step's top.
void DrawFillTile(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const Ground& ground = GroundOf(canvas.frame / 5);
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
    switch (canvas.frame % 5) {
        case 2:
            Slab(cr, ground, kHalfTile);
            break;
        case 3: {
            cairo_save(cr);
            cairo_new_path(cr);
            Rectangle(cr, -kHalfTile, -kHalfTile, kHalfTile, kBlockSurface);
            cairo_clip(cr);
            Slab(cr, ground, kBlockSurface - 2.0);
            cairo_restore(cr);
            cairo_save(cr);
            cairo_translate(cr, 0.0, kBlockSurface - kSurface);
            Cover(cr, ground, random, -kHalfTile);
            cairo_restore(cr);
            break;
        }
        case 4:
            StepFoot(cr, ground, random);
            break;
        default:
            Soil(cr, ground, random, kHalfTile, 3);
            break;
    }
}

// ------------------------------------------------------------------- sky
//
// One pixel wide, stretched across the view by the game: the colour from
// the top of the sky down to the horizon behind the ground.
struct SkyStop {
    double at;  // 0 the top, 1 the bottom
    Colour colour;
};

void DrawSky(const FrameCanvas& canvas, std::initializer_list<SkyStop> stops) {
    cairo_t* cr = canvas.cr;
    const double half = canvas.height / 2.0;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, half, 0.0, -half);
    for (const SkyStop& stop : stops) {
        cairo_pattern_add_color_stop_rgb(gradient, stop.at, stop.colour.r, stop.colour.g, stop.colour.b);
    }
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
}

void DrawDaySky(const FrameCanvas& canvas) {
    DrawSky(canvas, {{0.0, Rgb(58, 132, 226)}, {0.55, Palette::SkyDay}, {1.0, Rgb(214, 238, 255)}});
}

void DrawDuskSky(const FrameCanvas& canvas) {
    DrawSky(canvas,
            {{0.0, Rgb(62, 46, 112)}, {0.45, Rgb(178, 88, 128)}, {0.8, Palette::SkyDusk}, {1.0, Rgb(255, 206, 128)}});
}

void DrawNightSky(const FrameCanvas& canvas) {
    DrawSky(canvas, {{0.0, Rgb(8, 10, 32)}, {0.6, Palette::SkyNight}, {1.0, Rgb(58, 82, 128)}});
}

// ------------------------------------------------------------------- sun
//
// A low morning sun: a soft glow, a ring of short rounded rays, and the
// disc in cel tones lit from the upper left. Everything stays inside the
// 128-pixel radius of its cell, less the margin.
void DrawTitleSun(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    const double radius = std::min(canvas.width, canvas.height) / 2.0 - 3.0;
    const double disc = radius * 0.48;

    cairo_pattern_t* glow = cairo_pattern_create_radial(0.0, 0.0, disc, 0.0, 0.0, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, 1.0, 0.86, 0.45, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, 1.0, 0.7, 0.3, 0.0);
    cairo_set_source(cr, glow);
    cairo_new_path(cr);
    cairo_arc(cr, 0.0, 0.0, radius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    // Chunky rays with round ends: each stroked wide in ink, then narrower
    // in its colour, all outlines first so no ray's ink crosses another.
    const int rays = 12;
    auto strokeRays = [&](const Colour& colour, double extra) {
        Style::SetColour(cr, colour);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < rays; ++i) {
            const double angle = (i + 0.5) * 2.0 * kPi / rays;
            const bool longRay = i % 2 == 0;
            const double width = (longRay ? 15.0 : 11.0) + extra;
            const double inner = disc + 10.0;
            const double outer = radius * (longRay ? 0.9 : 0.78) - width / 2.0;
            cairo_new_path(cr);
            cairo_move_to(cr, inner * std::cos(angle), inner * std::sin(angle));
            cairo_line_to(cr, outer * std::cos(angle), outer * std::sin(angle));
            cairo_set_line_width(cr, width);
            cairo_stroke(cr);
        }
    };
    strokeRays(Palette::Ink, 5.0);
    strokeRays(Mix(Palette::Gold, Palette::White, 0.35), 0.0);

    const Style::Tones tones{Palette::Ember, Mix(Palette::Gold, Palette::Ember, 0.25), Palette::Gold,
                             Mix(Palette::Gold, Palette::White, 0.75)};
    Style::CelFill(
        cr, [disc](cairo_t* c) { Style::Ellipse(c, 0.0, 0.0, disc, disc); }, tones, disc * 0.22, 3.0);
    Style::Highlight(cr, -disc * 0.42, disc * 0.42, disc * 0.2, disc * 0.13, tones.highlight);
}

// ---------------------------------------------------------------- clouds
//
// White and light grey only: each stage tints them with its theme. Three
// shapes, each a flat-bottomed heap of puffs, shaded on their lower side.
// The greys are neutral and light enough that even the faintest edge pixel,
// once its alpha is rounded, stays a light grey.
constexpr Colour kCloudShade = Rgb(218, 218, 218);
constexpr Colour kCloudLight = Rgb(234, 234, 234);
void DrawCloud(const FrameCanvas& canvas) {
    cairo_t* cr = canvas.cr;
    Random random(canvas.seed + static_cast<std::uint64_t>(canvas.frame));
    const double halfWidth = canvas.width / 2.0 - 4.0;
    const double halfHeight = canvas.height / 2.0 - 4.0;
    const double base = std::round(-halfHeight * 0.72);  // the flat bottom, on a pixel edge

    struct Puff {
        double x, y, r;
    };
    // A low row of small puffs along the base and a few big ones heaped on
    // it, highest near the middle, every one inside the cell.
    std::vector<Puff> puffs;
    const double span = halfWidth * (0.82 + 0.14 * random.Unit());
    const int low = 5 + random.Below(3);
    for (int i = 0; i < low; ++i) {
        const double along = -1.0 + 2.0 * i / (low - 1);
        const double r = halfHeight * (0.34 + 0.1 * random.Unit());
        puffs.push_back({along * (span - r), base + r * 0.75, r});
    }
    const int high = 2 + random.Below(3);
    for (int i = 0; i < high; ++i) {
        const double along = (-1.0 + 2.0 * (i + 0.5) / high) * (0.55 + 0.15 * random.Unit());
        const double r = halfHeight * (0.42 + 0.2 * (1.0 - along * along) + 0.1 * random.Unit());
        const double y = std::min(base + r * (0.9 + 0.4 * random.Unit()), halfHeight - r);
        puffs.push_back({along * (span - r), y, r});
    }
    auto heap = [&](cairo_t* c) {
        for (const Puff& p : puffs) {
            cairo_new_sub_path(c);
            cairo_arc(c, p.x, p.y, p.r, 0.0, 2.0 * kPi);
        }
    };

    cairo_save(cr);
    cairo_new_path(cr);
    Rectangle(cr, -halfWidth, base, halfWidth, halfHeight);
    cairo_clip(cr);
    cairo_new_path(cr);
    heap(cr);
    Style::SetColour(cr, kCloudShade);  // the rim, in shade below
    cairo_fill(cr);
    // Lighter tones: the heap moved toward the light, so only its lower
    // right rim keeps the shade.
    auto tone = [&](const Colour& colour, double shift) {
        cairo_save(cr);
        cairo_translate(cr, -shift, 1.6 * shift);
        cairo_new_path(cr);
        heap(cr);
        Style::SetColour(cr, colour);
        cairo_fill(cr);
        cairo_restore(cr);
    };
    tone(kCloudLight, 4.0);
    tone(Palette::White, 9.0);
    // The flat underside in shade.
    cairo_new_path(cr);
    heap(cr);
    cairo_clip(cr);
    FillRectangle(cr, kCloudLight, -halfWidth, base, halfWidth, base + 14.0);
    FillRectangle(cr, kCloudShade, -halfWidth, base, halfWidth, base + 5.0);
    cairo_restore(cr);
}

constexpr SheetArt kWorldArt[] = {
    {"GrassTileset", DrawFillTile}, {"GrassColliderTileset", DrawColliderTile},
    {"Sky1Gradient", DrawDaySky},   {"Sky2Gradient", DrawDuskSky},
    {"Sky3Gradient", DrawNightSky}, {"TitleSun", DrawTitleSun},
    {"BGCloud", DrawCloud},
};

}  // namespace

std::span<const SheetArt> WorldArt() { return kWorldArt; }

}  // namespace AssetGen
