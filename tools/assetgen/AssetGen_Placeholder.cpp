#include "AssetGen_Placeholder.h"

#include <algorithm>
#include <string>

#include "AssetGen_Lettering.h"

namespace AssetGen {

void DrawPlaceholder(const FrameCanvas& canvas, bool fillsCell) {
    cairo_t* cr = canvas.cr;
    const double margin = fillsCell ? 0.0 : 2.0;
    const double halfWidth = std::max(canvas.width / 2.0 - margin, 0.5);
    const double halfHeight = std::max(canvas.height / 2.0 - margin, 0.5);
    cairo_rectangle(cr, -halfWidth, -halfHeight, 2 * halfWidth, 2 * halfHeight);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1.0, 0.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.1, 0.0, 0.1);
    cairo_set_line_width(cr, 4.0);
    const double reach = halfWidth + halfHeight;
    for (double x = -reach; x < reach; x += 16.0) {
        cairo_move_to(cr, x, -halfHeight);
        cairo_line_to(cr, x + 2 * halfHeight, halfHeight);
    }
    cairo_stroke(cr);

    const double size = std::min(halfWidth, halfHeight);
    if (size < 4.0) {
        return;
    }
    const std::string number = std::to_string(canvas.frame);
    UseFont(cr, DejaVu::SansBold, size);
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_rectangle(cr, -size * 0.6 * static_cast<double>(number.size()), -size * 0.6, size * 1.2 * static_cast<double>(number.size()),
                    size * 1.2);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    DrawCentredText(cr, number.c_str(), 0, 0);
}

}  // namespace AssetGen
