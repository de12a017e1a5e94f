#pragma once

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <string>
#include <vector>

// The game's resources for pixel tests on SDL's offscreen driver: the
// generated tree, but for sheets and the default font written in their
// place, so that what a widget draws can be told by colour. The program is
// made to run beside this tree while it lives.
namespace mygametest {

class PixelResources {
public:
    // Side of a glyph cell of the solid font, and its advance.
    static constexpr int kGlyphSize = 16;

    PixelResources();
    ~PixelResources();
    PixelResources(const PixelResources&) = delete;
    PixelResources& operator=(const PixelResources&) = delete;

    // Animations/<sheet>.png at the manifest's size and grid: frame i's
    // cell (rows of cells counted from the image's bottom, as the engine
    // cuts them) all in colour i; cells past the frames transparent. False for a
    // name the manifest has no sheet of, or too few colours.
    bool WriteFlatSheet(const std::string& sheet, const std::vector<testsupport::Rgba>& frameColours) const;
    // Fonts/DefaultFont/DefaultFont: every character a solid white square
    // of kGlyphSize pixels on the pen line, the next one kGlyphSize further
    // on; a line feed goes kGlyphSize down.
    void WriteSolidFont() const;

    const std::string& Root() const { return m_folder.Path(); }

private:
    testsupport::TempDirectory m_folder;
};

}  // namespace mygametest
