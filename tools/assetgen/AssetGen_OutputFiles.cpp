#include "AssetGen_OutputFiles.h"

#include <cairo.h>

#include <fstream>

#include "AssetGen_Png.h"

namespace AssetGen {

bool WriteText(const std::string& path, std::string_view text, std::string& error) {
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error) {
    return WriteText(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, error);
}

bool WriteWhitePng(const std::string& path, int width, int height, std::span<const std::uint8_t> alpha,
                   std::string& error) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            // Premultiplied white: every channel equals the alpha.
            const std::uint32_t a = alpha[static_cast<std::size_t>(y) * width + x];
            row[x] = a << 24 | a << 16 | a << 8 | a;
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool written = WritePng(surface, path, error);
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace AssetGen
