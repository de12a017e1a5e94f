#include "support/MyGame_PixelResources.h"

#include "AssetGen_Manifest.h"
#include "engine/Engine_FontFile.h"
#include "os/OS_Path.h"
#include "renderer/Renderer_TextureRows.h"

#include <filesystem>

namespace mygametest {
namespace {

namespace fs = std::filesystem;

// The folders files are written into hold links to each generated file;
// every other folder is one link.
const char* const kWrittenFolders[] = {"Animations", "Fonts", "Fonts/DefaultFont"};

bool IsWrittenFolder(const fs::path& relative) {
    for (const char* folder : kWrittenFolders) {
        if (relative == folder) {
            return true;
        }
    }
    return false;
}

void LinkTree(const fs::path& from, const fs::path& to, const fs::path& relative) {
    fs::create_directories(to / relative);
    for (const fs::directory_entry& entry : fs::directory_iterator(from / relative)) {
        const fs::path inner = relative / entry.path().filename();
        if (entry.is_directory() && IsWrittenFolder(inner)) {
            LinkTree(from, to, inner);
        } else if (entry.is_directory()) {
            fs::create_directory_symlink(entry.path(), to / inner);
        } else {
            fs::create_symlink(entry.path(), to / inner);
        }
    }
}

// A written file takes the place of the link.
fs::path Replaced(const std::string& root, const std::string& relative) {
    const fs::path path = fs::path(root) / "Resources" / relative;
    fs::create_directories(path.parent_path());
    std::error_code ignored;
    fs::remove(path, ignored);
    return path;
}

}  // namespace

PixelResources::PixelResources() {
    const fs::path generated = os::ExecutableDirectory() + "/Resources";
    if (fs::exists(generated)) {
        LinkTree(generated, fs::path(Root()) / "Resources", "");
    }
    os::SetExecutablePathForTesting(Root() + "/game");
}

PixelResources::~PixelResources() { os::SetExecutablePathForTesting(""); }

bool PixelResources::WriteFlatSheet(const std::string& sheet,
                                    const std::vector<testsupport::Rgba>& frameColours) const {
    const AssetGen::ManifestRow* row = AssetGen::FindSheet(sheet);
    if (row == nullptr || frameColours.size() < static_cast<std::size_t>(row->grid.frameCount)) {
        return false;
    }
    const AssetGen::SheetGrid grid = row->grid;
    const os::Image image = testsupport::MakeImage(
        static_cast<std::uint32_t>(grid.ImageWidth()), static_cast<std::uint32_t>(grid.ImageHeight()),
        [&](std::uint32_t x, std::uint32_t y) {
            // Cell rows count from the image's bottom, as the engine cuts
            // frames.
            const auto cellRow = Renderer::TextureRowOfImageRow(y / static_cast<std::uint32_t>(grid.frameHeight),
                                                                static_cast<std::uint32_t>(grid.rows));
            const auto frame = static_cast<int>(cellRow) * grid.columns + static_cast<int>(x) / grid.frameWidth;
            return frame < grid.frameCount ? frameColours[static_cast<std::size_t>(frame)] : testsupport::Rgba{};
        });
    testsupport::SavePng(image, Replaced(Root(), "Animations/" + sheet + ".png").string());
    return true;
}

void PixelResources::WriteSolidFont() const {
    constexpr std::uint32_t kImageSize = 160;
    Engine::FontFile font;
    font.metrics.cellSize = kGlyphSize;
    font.metrics.lineHeight = kGlyphSize;
    for (Engine::FontGlyph& glyph : font.glyphs) {
        glyph.boxWidth = kGlyphSize;
        glyph.advance = kGlyphSize;
        glyph.boxHeight = kGlyphSize;
    }
    const std::string base = "Fonts/DefaultFont/DefaultFont";
    testsupport::WriteBytes(Replaced(Root(), base + ".tbf").string(), Engine::EncodeFontFile(font, u"Solid"));
    testsupport::SavePng(testsupport::FlatImage(kImageSize, kImageSize, {255, 255, 255, 255}),
                         Replaced(Root(), base + ".png").string());
}

}  // namespace mygametest
