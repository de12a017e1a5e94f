#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Every file of the generated Resources tree, one row each: where it goes,
// what kind of file it is and, for a sprite sheet, the grid the game cuts it
// into. The generator writes exactly these files and the asset tests check
// them against the same rows.
namespace AssetGen {

enum class FileKind { Sheet, Font, Particle, Path, Collision, Icon, Sound, GuiImage, Skin };

// Who draws a sheet (the list of drawing functions it is found in).
enum class Family { None, Interface, World, Player, Enemy, Boss };

// What the game does with a sheet's cells, which the art has to allow for.
enum SheetFlag : unsigned {
    kFillsCell = 1u << 0,      // ink reaches the cell's edges; no transparent margin
    kTinted = 1u << 1,         // drawn white or light grey: the code tints it
    kCroppedWidth = 1u << 2,   // the code narrows the frame, keeping its left part
    kCroppedHeight = 1u << 3,  // the code lowers the frame, keeping its bottom part
};

struct SheetGrid {
    int columns = 0;
    int rows = 0;
    int frameCount = 0;
    // The bounding rectangle of the collision actor animating the sheet, in
    // sprite pixels: the engine's frame size is the image size over the grid.
    int frameWidth = 0;
    int frameHeight = 0;
    unsigned flags = 0;

    int ImageWidth() const { return columns * frameWidth; }
    int ImageHeight() const { return rows * frameHeight; }
    bool Has(SheetFlag flag) const { return (flags & flag) != 0; }
};

struct ManifestRow {
    std::string path;  // below Resources/, '/' separated, exactly as the game spells it
    FileKind kind;
    Family family = Family::None;  // sheets only
    SheetGrid grid{};               // sheets only

    // The sheet's name: the file name without folder and ".png".
    std::string_view SheetName() const;
};

std::span<const ManifestRow> Manifest();

// The row of a path below Resources/, or null.
const ManifestRow* FindRow(std::string_view path);
// The row of the sheet of this name, or null.
const ManifestRow* FindSheet(std::string_view sheetName);

// A frame sprite drawn over a fill sprite of the same size: the frame must
// leave transparent every pixel where its fill has ink. The fill's centre
// lies (fillX, fillY) sprite pixels (y up) from the frame's centre, as the
// levels place the two objects.
struct FrameOverFill {
    std::string_view frame;
    std::string_view fill;
    int fillX;
    int fillY;
};

std::span<const FrameOverFill> FramesOverFills();

// The seed of every random choice made for a file: from its path alone.
std::uint64_t SeedOfPath(std::string_view path);

std::string_view KindName(FileKind kind);

}  // namespace AssetGen
