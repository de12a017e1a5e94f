#pragma once

#include <cairo.h>

#include <string>

// Lettering in the art: cairo FreeType faces over the DejaVu files, with
// fixed font options, so no fontconfig setting changes a pixel.
namespace AssetGen {

enum class DejaVu { Sans, SansBold, SansMono, SansMonoBold };

// The folder holding the DejaVu files; the driver sets it once, before any
// drawing starts.
void SetFontDirectory(const std::string& directory);
std::string FontFile(DejaVu face);

// Shared by every thread for the whole run; null when the file cannot be
// loaded (the driver checks every face before drawing).
cairo_font_face_t* FontFace(DejaVu face);

// Selects the face at `size` units with grey antialiasing, no hinting and
// unhinted metrics.
void UseFont(cairo_t* cr, DejaVu face, double size);

// Draws `text` centred on (x, y) in the canvas's y-up units, glyphs upright.
void DrawCentredText(cairo_t* cr, const char* text, double x, double y);

}  // namespace AssetGen
