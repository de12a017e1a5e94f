#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_BitmapFont.h"
#include "engine/Engine_FontFile.h"
#include "gui/GUI_SkinDescriptor.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <cstdint>
#include <span>
#include <string>

namespace testsupport {

// A temporary "Resources" tree beside a pretended executable, where tests
// write the GUI's skins, cursor images and fonts. The executable path is
// restored when it goes.
class GuiTestResources {
public:
    GuiTestResources();
    ~GuiTestResources();
    GuiTestResources(const GuiTestResources&) = delete;
    GuiTestResources& operator=(const GuiTestResources&) = delete;

    // Skins\name\name.gui with the piece sets and Skins\name\name.png, a
    // width x height image of one colour.
    void WriteSkin(const std::string& name, std::span<const GUI::PieceSet> pieceSets, std::uint32_t width,
                   std::uint32_t height, Rgba colour = {255, 255, 255, 255}) const;
    // The same with the image given.
    void WriteSkin(const std::string& name, std::span<const GUI::PieceSet> pieceSets, const os::Image& image) const;
    // Skins\name\name.gui holding exactly these bytes.
    void WriteSkinDescriptor(const std::string& name, const Bytes& bytes) const;
    // Cursors\name: a flat PNG.
    void WriteCursor(const std::string& name, std::uint32_t width, std::uint32_t height,
                     Rgba colour = {255, 0, 0, 255}) const;
    // Fonts\name\name.tbf and a white 160 x 160 Fonts\name\name.png (cells
    // of 16, the metrics' cell size); the font as the GUI loads it.
    Core::RefPtr<Engine::BitmapFont> WriteFont(const std::string& name, const Engine::FontFile& font) const;

    const std::string& Root() const { return m_directory.Path(); }

private:
    TempDirectory m_directory;
};

}  // namespace testsupport
