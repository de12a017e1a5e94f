#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace AssetGen {

// One row of premultiplied native-endian ARGB words (cairo's ARGB32) as
// straight RGBA bytes.
void StraightRgbaRow(const unsigned char* source, int width, std::uint8_t* row);

// Writes an ARGB32 surface as an 8-bit RGBA PNG with straight alpha, always
// with its alpha channel (cairo's own writer drops it from opaque images),
// with no time stamp or other varying chunk. False, with the reason in
// `error`, on failure.
bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& error);

}  // namespace AssetGen
