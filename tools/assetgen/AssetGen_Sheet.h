#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>
#include <string_view>

// How the art of a sprite sheet is drawn: one function per sheet, called once
// per frame, so that every frame of an animation comes from the same model
// and only its phase differs.
namespace AssetGen {

struct FrameCanvas {
    // Clipped to the frame's cell. Origin at the cell's centre, x right, y UP,
    // one unit per sprite pixel: the engine draws a sprite centred on its
    // object with y up, and collision shapes are given the same way. Lettering
    // flips y locally (cairo_scale (1, -1)) so glyphs stand upright.
    cairo_t* cr;
    int width;  // the cell in pixels
    int height;
    int frame;  // 0 .. frameCount - 1
    int frameCount;
    // Fixed per sheet (from its name): draw random detail from
    // Random(seed) or Random(seed + frame), never from anything else.
    std::uint64_t seed;
};

using DrawFrame = void (*)(const FrameCanvas&);

struct SheetArt {
    std::string_view sheet;  // the PNG's name without ".png", exactly as the manifest spells it
    DrawFrame draw;
};

// The families of art; each lists the sheets it draws.
std::span<const SheetArt> InterfaceArt();  // logos, menus, menu machines, signs, HUD
std::span<const SheetArt> WorldArt();      // terrain, skies, sun, clouds
std::span<const SheetArt> PlayerArt();     // the robot, its guns, shots and impacts, the mascot, pickups
std::span<const SheetArt> EnemyArt();      // the three themes' enemies and their shots
std::span<const SheetArt> BossArt();       // the three bosses and their parts

}  // namespace AssetGen
