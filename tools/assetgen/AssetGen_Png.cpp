#include "AssetGen_Png.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace AssetGen {

void StraightRgbaRow(const unsigned char* source, int width, std::uint8_t* row) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t argb;
        std::memcpy(&argb, source + 4 * x, 4);
        const std::uint32_t alpha = argb >> 24;
        std::uint8_t* out = row + 4 * x;
        for (int channel = 0; channel < 3; ++channel) {
            const std::uint32_t value = (argb >> (16 - 8 * channel)) & 0xFF;
            out[channel] = static_cast<std::uint8_t>(alpha == 0 ? 0 : (value * 255 + alpha / 2) / alpha);
        }
        out[3] = static_cast<std::uint8_t>(alpha);
    }
}

namespace {

// libpng reports errors by longjmp to the setjmp here, so this frame holds
// nothing with a destructor and nothing it changes after the setjmp.
bool WriteRows(png_structp png, png_infop info, FILE* file, cairo_surface_t* surface, std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        StraightRgbaRow(data + static_cast<std::size_t>(y) * stride, width, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WritePng(cairo_surface_t* surface, const std::string& path, std::string& error) {
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        error = path + ": not an ARGB32 image";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(cairo_image_surface_get_width(surface)) * 4);
    bool written = info != nullptr && WriteRows(png, info, file, surface, row.data());
    png_destroy_write_struct(&png, &info);
    written = std::fclose(file) == 0 && written;
    if (!written) {
        error = "cannot write " + path;
    }
    return written;
}

}  // namespace AssetGen
