#pragma once

#include <cairo.h>

#include <string>

namespace AssetGen {

// Writes an ARGB32 surface as an 8-bit RGBA PNG with straight alpha, always
// with its alpha channel (cairo's own writer drops it from opaque images),
// with no time stamp or other varying chunk. False, with the reason in
// `error`, on failure.
bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& error);

}  // namespace AssetGen
