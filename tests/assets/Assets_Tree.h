#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "AssetGen_Manifest.h"
#include "AssetGen_SheetImage.h"
#include "os/OS_Image.h"

// The build's own generated tree, as the asset tests read it.
namespace assettest {

std::string ResourcePath(std::string_view pathBelowResources);

// The decoded image of a file below the tree; empty (0 x 0) when it cannot
// be decoded (the failure is recorded).
os::Image DecodeResource(std::string_view pathBelowResources);

// The decoded image of a manifest row's file; empty (0 x 0) when it cannot
// be decoded (the failure is recorded).
os::Image LoadImage(const AssetGen::ManifestRow& row);

// One cell of a decoded sheet, pixels counted from the cell's top left.
class Cell {
public:
    Cell(const os::Image& image, const AssetGen::CellRect& rect) : m_image(image), m_rect(rect) {}

    int Width() const { return m_rect.width; }
    int Height() const { return m_rect.height; }
    const std::uint8_t* Pixel(int x, int y) const {
        return &m_image.pixels[(static_cast<std::size_t>(m_rect.y + y) * m_image.width + m_rect.x + x) * 4];
    }
    std::uint8_t Alpha(int x, int y) const { return Pixel(x, y)[3]; }
    bool Inked(int x, int y) const { return Alpha(x, y) >= kInkAlpha; }

    static constexpr std::uint8_t kInkAlpha = 64;

private:
    const os::Image& m_image;
    AssetGen::CellRect m_rect;
};

// The share (0..1) of the pixels within `radius` of (cx, cy) that are inked;
// the centre is given as collision shapes are, from the cell's centre, y up.
inline double InkedShareOfCircle(const Cell& cell, double cx, double cy, double radius) {
    int inside = 0;
    int inked = 0;
    for (int y = 0; y < cell.Height(); ++y) {
        for (int x = 0; x < cell.Width(); ++x) {
            const double dx = x + 0.5 - cell.Width() / 2.0 - cx;
            const double dy = cell.Height() / 2.0 - (y + 0.5) - cy;
            if (dx * dx + dy * dy <= radius * radius) {
                ++inside;
                inked += cell.Inked(x, y) ? 1 : 0;
            }
        }
    }
    return inside == 0 ? 0.0 : static_cast<double>(inked) / inside;
}

inline Cell CellOf(const os::Image& image, const AssetGen::SheetGrid& grid, int frame) {
    return Cell(image, AssetGen::CellOfFrame(grid, frame));
}

}  // namespace assettest
