#include "AssetGen_BitmapFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <memory>

#include "AssetGen_Lettering.h"
#include "AssetGen_OutputFiles.h"

namespace AssetGen::BitmapFont {
namespace {

constexpr int kFirstCode = static_cast<int>(Engine::kFontFirstCharacter);
constexpr int kLastCode = kFirstCode + static_cast<int>(Engine::kFontGlyphCount) - 1;
constexpr int kBoxCode = 127;  // no character: the controls page shows it for such a key
// Ink stays a pixel narrower than the slot, so neighbours never touch.
constexpr int kMaxInkWidth = kAdvance - 1;
constexpr FT_Pos kOne = 64;  // 26.6 fixed point

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

struct Cell {
    int left;  // in image pixels
    int top;
};

Cell CellOf(int code) {
    const int index = code - kFirstCode;
    return {(index % kColumns) * kCellSize, (index / kColumns) * kCellSize};
}

// The face scaled so that ascent plus descent fill one line height.
struct Scale {
    FT_Pos pixelsPerEm;  // 26.6
    FT_Pos descent;      // 26.6, positive
    int ascentPixels;
    int descentPixels;
};

Scale FitLineHeight(FT_Face face) {
    const FT_Pos span = face->ascender - face->descender;
    Scale scale{};
    scale.pixelsPerEm = kLineHeight * kOne * face->units_per_EM / span;
    scale.descent = -face->descender * scale.pixelsPerEm / face->units_per_EM;
    scale.ascentPixels = static_cast<int>(std::lround(face->ascender * scale.pixelsPerEm / 64.0 / face->units_per_EM));
    scale.descentPixels = static_cast<int>(std::lround(scale.descent / 64.0));
    return scale;
}

// Copies a cell-sized coverage bitmap into the image, keeping only the
// glyph's slot and the bottom line-height rows of the cell.
void Blit(const std::vector<unsigned char>& coverage, Cell cell, std::vector<std::uint8_t>& image) {
    for (int row = kCellSize - kLineHeight; row < kCellSize; ++row) {
        for (int column = kPenColumn; column < kPenColumn + kAdvance; ++column) {
            image[static_cast<std::size_t>(cell.top + row) * kImageSize + cell.left + column] =
                coverage[static_cast<std::size_t>(row) * kCellSize + column];
        }
    }
}

// One glyph, narrowed to the slot when wider, centred in it, standing on
// the baseline. FreeType's y grows up from the bitmap's bottom row.
bool DrawGlyph(FT_Library library, FT_Face face, const Scale& scale, int code, std::vector<std::uint8_t>& image) {
    // Scaled here rather than by FreeType's size, which a face may round
    // to whole pixels per em.
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_NO_SCALE) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return false;
    }
    FT_Outline* outline = &face->glyph->outline;
    FT_Matrix toPixels{FT_DivFix(scale.pixelsPerEm, face->units_per_EM), 0, 0,
                       FT_DivFix(scale.pixelsPerEm, face->units_per_EM)};
    FT_Outline_Transform(outline, &toPixels);
    FT_BBox box;
    FT_Outline_Get_CBox(outline, &box);
    if (box.xMax - box.xMin > kMaxInkWidth * kOne) {
        FT_Matrix narrow{FT_DivFix(kMaxInkWidth * kOne, box.xMax - box.xMin), 0, 0, 0x10000};
        FT_Outline_Transform(outline, &narrow);
        FT_Outline_Get_CBox(outline, &box);
    }
    const FT_Pos slotCentre = kPenColumn * kOne + kAdvance * kOne / 2;
    FT_Outline_Translate(outline, slotCentre - (box.xMin + box.xMax) / 2, scale.descent);

    std::vector<unsigned char> coverage(kCellSize * kCellSize, 0);
    FT_Bitmap target{};
    target.rows = kCellSize;
    target.width = kCellSize;
    target.pitch = kCellSize;
    target.buffer = coverage.data();
    target.num_grays = 256;
    target.pixel_mode = FT_PIXEL_MODE_GRAY;
    if (FT_Outline_Get_Bitmap(library, outline, &target) != 0) {
        return false;
    }
    Blit(coverage, CellOf(code), image);
    return true;
}

// A hollow box the height of a capital, two pixels thick, on the baseline.
void DrawBox(const Scale& scale, std::vector<std::uint8_t>& image) {
    const Cell cell = CellOf(kBoxCode);
    const int bottom = kCellSize - scale.descentPixels;  // first row below the box
    const int top = bottom - (scale.ascentPixels - 3);
    const int left = kPenColumn + 3;
    const int right = kPenColumn + kAdvance - 3;  // first column right of the box
    for (int row = top; row < bottom; ++row) {
        for (int column = left; column < right; ++column) {
            const bool edge = row < top + 2 || row >= bottom - 2 || column < left + 2 || column >= right - 2;
            if (edge) {
                image[static_cast<std::size_t>(cell.top + row) * kImageSize + cell.left + column] = 255;
            }
        }
    }
}

Engine::FontFile Metrics(const Scale& scale) {
    Engine::FontFile file;
    Engine::FontMetrics& m = file.metrics;
    m.unused1 = scale.ascentPixels;
    m.topOffset = kTopOffset;
    m.unused3 = scale.descentPixels;
    m.cellSize = kCellSize;
    m.rise = kRise;
    m.lineHeight = kLineHeight;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        Engine::FontGlyph& g = file.glyphs[static_cast<std::size_t>(code - kFirstCode)];
        g.code = static_cast<std::uint16_t>(code);
        g.boxWidth = kAdvance;
        g.advance = code == ' ' ? kSpaceAdvance : kAdvance;
        g.boxHeight = kLineHeight;
        g.cellOffset = static_cast<float>(kPenColumn);
    }
    return file;
}

}  // namespace

bool Build(const std::string& faceFile, Font& font, std::string& error) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        error = "FreeType could not start";
        return false;
    }
    const Library library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), faceFile.c_str(), 0, &rawFace) != 0) {
        error = "cannot read the font face " + faceFile;
        return false;
    }
    const Face face(rawFace);
    const Scale scale = FitLineHeight(face.get());
    font.alpha.assign(static_cast<std::size_t>(kImageSize) * kImageSize, 0);
    for (int code = kFirstCode + 1; code < kBoxCode; ++code) {
        if (!DrawGlyph(library.get(), face.get(), scale, code, font.alpha)) {
            error = "the font face " + faceFile + " has no outline for character " + std::to_string(code);
            return false;
        }
    }
    DrawBox(scale, font.alpha);
    font.metrics = Metrics(scale);
    return true;
}

std::vector<std::uint8_t> MetricsFile(const Font& font) { return Engine::EncodeFontFile(font.metrics, kFaceName); }

bool WriteImage(const std::string& path, std::uint64_t, std::string& error) {
    Font font;
    return Build(FontFile(DejaVu::SansBold), font, error) && WriteWhitePng(path, kImageSize, kImageSize, font.alpha, error);
}

bool WriteMetrics(const std::string& path, std::uint64_t, std::string& error) {
    Font font;
    return Build(FontFile(DejaVu::SansBold), font, error) && WriteBytes(path, MetricsFile(font), error);
}

}  // namespace AssetGen::BitmapFont
