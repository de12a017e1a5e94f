#include "AssetGen_SheetImage.h"

#include "AssetGen_Placeholder.h"
#include "renderer/Renderer_TextureRows.h"

namespace AssetGen {

std::span<const SheetArt> FamilyArt(Family family) {
    switch (family) {
        case Family::Interface: return InterfaceArt();
        case Family::World: return WorldArt();
        case Family::Player: return PlayerArt();
        case Family::Enemy: return EnemyArt();
        case Family::Boss: return BossArt();
        case Family::None: break;
    }
    return {};
}

DrawFrame FindDrawing(const ManifestRow& sheet) {
    for (const SheetArt& art : FamilyArt(sheet.family)) {
        if (art.sheet == sheet.SheetName()) {
            return art.draw;
        }
    }
    return nullptr;
}

CellRect CellOfFrame(const SheetGrid& grid, int frame) {
    const auto textureRow = static_cast<std::uint32_t>(frame / grid.columns);
    const auto imageRow = Renderer::TextureRowOfImageRow(textureRow, static_cast<std::uint32_t>(grid.rows));
    return {(frame % grid.columns) * grid.frameWidth, static_cast<int>(imageRow) * grid.frameHeight,
            grid.frameWidth, grid.frameHeight};
}

cairo_surface_t* RenderSheet(const ManifestRow& sheet) {
    const SheetGrid& grid = sheet.grid;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, grid.ImageWidth(), grid.ImageHeight());
    cairo_t* cr = cairo_create(surface);
    const DrawFrame draw = FindDrawing(sheet);
    const std::uint64_t seed = SeedOfPath(sheet.path);
    for (int frame = 0; frame < grid.frameCount; ++frame) {
        const CellRect cell = CellOfFrame(grid, frame);
        cairo_save(cr);
        cairo_rectangle(cr, cell.x, cell.y, cell.width, cell.height);
        cairo_clip(cr);
        cairo_translate(cr, cell.x + cell.width / 2.0, cell.y + cell.height / 2.0);
        cairo_scale(cr, 1, -1);
        const FrameCanvas canvas{cr, cell.width, cell.height, frame, grid.frameCount, seed};
        if (draw != nullptr) {
            draw(canvas);
        } else {
            DrawPlaceholder(canvas, grid.Has(kFillsCell));
        }
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

}  // namespace AssetGen
