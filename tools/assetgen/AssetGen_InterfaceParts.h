#pragma once

#include <cairo.h>

#include <string_view>

// Pieces the Interface sheets share, so that a weapon, a key or a button
// looks the same on every menu and HUD sheet and in the GUI skins.
// Coordinates are a FrameCanvas's (y up).
namespace AssetGen::InterfaceParts {

// The three looks of a clickable face. The labels the game writes over them
// are black when idle, yellow when hovered and light grey when pressed, so
// the idle face is light and the other two dark.
enum class ButtonLook { Idle, Hover, Pressed, Focused, Disabled };

// A rounded button face filling the box centred on (cx, cy).
void ButtonFace(cairo_t* cr, double cx, double cy, double width, double height, ButtonLook look);

// The icon of weapon 0 (plasma), 1 (beam), 2 (flamer) or 3 (minigun) in its
// colour, fitting a square of `size` centred on (cx, cy).
void WeaponIcon(cairo_t* cr, int weapon, double cx, double cy, double size);

// The robot hero's head, the icon of its health.
void RobotIcon(cairo_t* cr, double cx, double cy, double size);

// A keyboard key cap with its letter, the box centred on (cx, cy).
void KeyCap(cairo_t* cr, std::string_view letter, double cx, double cy, double width, double height);

// A five-pointed star path of outer radius r, one point up (y up).
void StarPath(cairo_t* cr, double cx, double cy, double r);

}  // namespace AssetGen::InterfaceParts
