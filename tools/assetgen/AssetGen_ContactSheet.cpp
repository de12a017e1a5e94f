#include "AssetGen_ContactSheet.h"

#include <cairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AssetGen_Lettering.h"
#include "AssetGen_Manifest.h"
#include "AssetGen_SheetImage.h"

namespace AssetGen {
namespace {

constexpr int kColumns = 10;
constexpr double kBox = 240.0;  // the largest a picture is drawn
constexpr double kTileWidth = 260.0;
constexpr double kLabelHeight = 22.0;
constexpr double kTileHeight = kBox + kLabelHeight + 18.0;
constexpr double kLargestEnlargement = 4.0;
constexpr double kThinnest = 24.0;  // one-pixel strips are widened to this

bool IsPicture(const ManifestRow& row) {
    return row.path.ends_with(".png");
}

void DrawChecks(cairo_t* cr, double width, double height) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_clip(cr);
    // Mid greys, so that white art and dark outlines both show.
    cairo_set_source_rgb(cr, 0.62, 0.62, 0.62);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    for (double y = 0; y < height; y += 8) {
        for (double x = (static_cast<int>(y / 8) % 2) * 8.0; x < width; x += 16) {
            cairo_rectangle(cr, x, y, 8, 8);
        }
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawGrid(cairo_t* cr, const SheetGrid& grid, double scaleX, double scaleY) {
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.0, 0.7, 0.9, 0.9);
    for (int column = 1; column < grid.columns; ++column) {
        cairo_move_to(cr, column * grid.frameWidth * scaleX, 0);
        cairo_line_to(cr, column * grid.frameWidth * scaleX, grid.ImageHeight() * scaleY);
    }
    for (int row = 1; row < grid.rows; ++row) {
        cairo_move_to(cr, 0, row * grid.frameHeight * scaleY);
        cairo_line_to(cr, grid.ImageWidth() * scaleX, row * grid.frameHeight * scaleY);
    }
    cairo_stroke(cr);
    UseFont(cr, DejaVu::SansBold, 10);
    for (int frame = 0; frame < grid.frameCount; ++frame) {
        const CellRect cell = CellOfFrame(grid, frame);
        const double x = cell.x * scaleX;
        const double y = cell.y * scaleY;
        if (frame == 0) {
            cairo_set_source_rgb(cr, 0.9, 0.0, 0.0);
            cairo_set_line_width(cr, 2.0);
            cairo_rectangle(cr, x + 1, y + 1, cell.width * scaleX - 2, cell.height * scaleY - 2);
            cairo_stroke(cr);
        }
        const std::string number = std::to_string(frame);
        cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.7);
        cairo_rectangle(cr, x, y, 7.0 * static_cast<double>(number.size()) + 4, 12);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1.0, 1.0, 0.3);
        cairo_move_to(cr, x + 2, y + 10);
        cairo_show_text(cr, number.c_str());
    }
}

// Draws one picture with its name into the tile whose top left is (x, y).
void DrawTile(cairo_t* cr, cairo_surface_t* picture, const ManifestRow& row, double x, double y) {
    const double width = cairo_image_surface_get_width(picture);
    const double height = cairo_image_surface_get_height(picture);
    const double fit = std::min({kLargestEnlargement, kBox / width, kBox / height});
    const double scaleX = std::min(std::max(fit, kThinnest / width), kBox / width);
    const double scaleY = std::min(std::max(fit, kThinnest / height), kBox / height);

    cairo_save(cr);
    cairo_translate(cr, x, y);
    UseFont(cr, DejaVu::SansBold, 12);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_move_to(cr, 0, 15);
    // Sheets by name with their grid; other pictures by file name, which fits the tile.
    std::string label(row.kind == FileKind::Sheet ? row.SheetName() : row.path.substr(row.path.rfind('/') + 1));
    if (row.kind == FileKind::Sheet) {
        label += "  " + std::to_string(row.grid.columns) + "x" + std::to_string(row.grid.rows) + " of " +
                 std::to_string(row.grid.frameWidth) + "x" + std::to_string(row.grid.frameHeight);
    }
    cairo_show_text(cr, label.c_str());

    cairo_translate(cr, 0, kLabelHeight);
    DrawChecks(cr, width * scaleX, height * scaleY);
    cairo_save(cr);
    cairo_scale(cr, scaleX, scaleY);
    cairo_set_source_surface(cr, picture, 0, 0);
    // Enlarged pixels stay sharp, one-pixel strips included.
    cairo_pattern_set_filter(cairo_get_source(cr),
                             std::max(scaleX, scaleY) >= 1.0 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    // The picture's bounds, which an opaque white picture would not show.
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, -0.5, -0.5, width * scaleX + 1, height * scaleY + 1);
    cairo_stroke(cr);
    if (row.kind == FileKind::Sheet) {
        DrawGrid(cr, row.grid, scaleX, scaleY);
    }
    cairo_restore(cr);
}

}  // namespace

bool WriteContactSheet(const std::string& resources, const std::string& output, std::string& error) {
    // Sheets first, in manifest order, then the other pictures.
    std::vector<const ManifestRow*> rows;
    for (const ManifestRow& row : Manifest()) {
        if (row.kind == FileKind::Sheet) {
            rows.push_back(&row);
        }
    }
    for (const ManifestRow& row : Manifest()) {
        if (row.kind != FileKind::Sheet && IsPicture(row)) {
            rows.push_back(&row);
        }
    }
    const int tileRows = (static_cast<int>(rows.size()) + kColumns - 1) / kColumns;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(kColumns * kTileWidth),
                                                        static_cast<int>(tileRows * kTileHeight));
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    int placed = 0;
    for (const ManifestRow* row : rows) {
        cairo_surface_t* picture = cairo_image_surface_create_from_png((resources + "/" + row->path).c_str());
        if (cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS) {
            DrawTile(cr, picture, *row, (placed % kColumns) * kTileWidth + 8, (placed / kColumns) * kTileHeight + 4);
            ++placed;
        }
        cairo_surface_destroy(picture);
    }
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(sheet, output.c_str());
    cairo_surface_destroy(sheet);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = output + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace AssetGen
