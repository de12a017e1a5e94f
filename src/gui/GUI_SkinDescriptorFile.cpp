#include "gui/GUI_SkinDescriptorFile.h"

#include "os/OS_File.h"

#include <array>
#include <string>

namespace GUI {

std::vector<PieceSet> LoadSkinDescriptor(std::string_view skinBasePath) {
    const os::FilePointer file = os::OpenFile(std::string(skinBasePath) + ".gui", "rb");
    if (!file) {
        return {};
    }
    // Bytes past the capped count are never used, so they are never read.
    std::array<std::uint8_t, 4 + kMaxPieceSets * kPieceSetBytes> bytes{};
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
    return ParseSkinDescriptor(std::span(bytes.data(), read));
}

}  // namespace GUI
