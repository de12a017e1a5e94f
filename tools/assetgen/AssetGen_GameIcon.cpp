#include "AssetGen_Bytes.h"
#include "AssetGen_GameIcon.h"

#include <cairo.h>

#include <numbers>
#include <utility>

#include "AssetGen_OutputFiles.h"
#include "AssetGen_Png.h"
#include "AssetGen_Style.h"

namespace AssetGen::GameIcon {
namespace {

using Style::Colour;
namespace Palette = Style::Palette;

constexpr double kDesign = 256.0;  // the emblem is drawn in these units, y down
constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kInfoHeaderBytes = 40;

void Flame(cairo_t* cr, double scale) {
    cairo_save(cr);
    cairo_translate(cr, 128.0, 150.0);
    cairo_scale(cr, scale, scale);
    cairo_new_path(cr);
    cairo_move_to(cr, 0.0, -112.0);
    cairo_curve_to(cr, 20.0, -70.0, 76.0, -44.0, 70.0, 12.0);
    cairo_curve_to(cr, 66.0, 52.0, 36.0, 74.0, 0.0, 74.0);
    cairo_curve_to(cr, -36.0, 74.0, -66.0, 52.0, -70.0, 12.0);
    cairo_curve_to(cr, -74.0, -30.0, -40.0, -44.0, -34.0, -84.0);
    cairo_curve_to(cr, -14.0, -64.0, -10.0, -40.0, -12.0, -28.0);
    cairo_curve_to(cr, 6.0, -50.0, 8.0, -80.0, 0.0, -112.0);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// A dark round badge ringed in ember red, holding a flame of three tones
// and a glint; light from the upper left.
void DrawEmblem(cairo_t* cr) {
    const double pi = std::numbers::pi;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_new_path(cr);
    cairo_arc(cr, 128.0, 128.0, 118.0, 0.0, 2.0 * pi);
    Style::SetColour(cr, Palette::Navy);
    cairo_fill_preserve(cr);
    Style::SetColour(cr, Palette::EmberRed);
    cairo_set_line_width(cr, 14.0);
    cairo_stroke_preserve(cr);
    Style::SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, 4.0);
    cairo_stroke(cr);

    Style::FlatFill(cr, [](cairo_t* c) { Flame(c, 1.0); }, Palette::EmberRed, 8.0);
    Flame(cr, 0.72);
    Style::SetColour(cr, Palette::Ember);
    cairo_fill(cr);
    Flame(cr, 0.42);
    Style::SetColour(cr, Palette::Gold);
    cairo_fill(cr);
    Style::Highlight(cr, 100.0, 140.0, 8.0, 14.0, Style::Mix(Palette::Gold, Palette::White, 0.7));
}

int MaskRowBytes(int size) { return (size + 31) / 32 * 4; }

std::uint32_t EntryBytes(int size) {
    return static_cast<std::uint32_t>(kInfoHeaderBytes + size * size * 4 + MaskRowBytes(size) * size);
}

// BITMAPINFOHEADER (its height counts the colour rows and the mask rows),
// the BGRA rows bottom-up, then the mask: 1 where the pixel is not fully
// opaque, so readers that honour the mask keep the alpha as drawn.
void PutEntryImage(std::vector<std::uint8_t>& bytes, int size) {
    AppendU32LE(bytes, kInfoHeaderBytes);
    AppendU32LE(bytes, static_cast<std::uint32_t>(size));
    AppendU32LE(bytes, static_cast<std::uint32_t>(2 * size));
    AppendU16LE(bytes, 1);   // planes
    AppendU16LE(bytes, 32);  // bits per pixel
    AppendU32LE(bytes, 0);   // uncompressed
    AppendU32LE(bytes, EntryBytes(size) - kInfoHeaderBytes);
    for (int i = 0; i < 4; ++i) {
        AppendU32LE(bytes, 0);  // resolution and palette: none
    }
    const std::vector<std::uint8_t> pixels = Emblem(size);
    for (int y = size - 1; y >= 0; --y) {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * size * 4;
        bytes.insert(bytes.end(), row, row + size * 4);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> mask(static_cast<std::size_t>(MaskRowBytes(size)), 0);
        for (int x = 0; x < size; ++x) {
            if (pixels[(static_cast<std::size_t>(y) * size + x) * 4 + 3] != 255) {
                mask[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        bytes.insert(bytes.end(), mask.begin(), mask.end());
    }
}

}  // namespace

std::vector<std::uint8_t> Emblem(int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / kDesign, size / kDesign);
    DrawEmblem(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);

    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = &pixels[static_cast<std::size_t>(y) * size * 4];
        StraightRgbaRow(data + static_cast<std::ptrdiff_t>(y) * stride, size, row);
        for (int x = 0; x < size; ++x) {
            std::swap(row[4 * x], row[4 * x + 2]);  // RGBA to the icon's BGRA
        }
    }
    cairo_surface_destroy(surface);
    return pixels;
}

std::vector<std::uint8_t> IconFile() {
    std::vector<std::uint8_t> bytes;
    AppendU16LE(bytes, 0);  // reserved
    AppendU16LE(bytes, 1);  // an icon
    AppendU16LE(bytes, static_cast<std::uint32_t>(std::size(kSizes)));
    std::uint32_t offset = kDirectoryBytes + kEntryBytes * static_cast<std::uint32_t>(std::size(kSizes));
    for (const int size : kSizes) {
        // 256 is written as 0 in the one-byte sizes.
        bytes.push_back(static_cast<std::uint8_t>(size % 256));
        bytes.push_back(static_cast<std::uint8_t>(size % 256));
        bytes.push_back(0);  // no palette
        bytes.push_back(0);
        AppendU16LE(bytes, 1);   // planes
        AppendU16LE(bytes, 32);  // bits per pixel
        AppendU32LE(bytes, EntryBytes(size));
        AppendU32LE(bytes, offset);
        offset += EntryBytes(size);
    }
    for (const int size : kSizes) {
        PutEntryImage(bytes, size);
    }
    return bytes;
}

bool Write(const std::string& path, std::uint64_t, std::string& error) { return WriteBytes(path, IconFile(), error); }

}  // namespace AssetGen::GameIcon
