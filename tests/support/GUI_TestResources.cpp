#include "support/GUI_TestResources.h"

#include "engine/Engine_BitmapFontCache.h"
#include "gui/GUI_ResourcePaths.h"
#include "os/OS_Path.h"

#include <filesystem>

namespace testsupport {
namespace {

constexpr std::uint32_t kFontImageSize = 160;

// A native path below the tree, its folders made.
std::string Prepared(const std::string& root, const std::string& relative) {
    const std::filesystem::path full = std::filesystem::path(root) / "Resources" / relative;
    std::filesystem::create_directories(full.parent_path());
    return full.string();
}

}  // namespace

GuiTestResources::GuiTestResources() { os::SetExecutablePathForTesting(m_directory.Path() + "/Emberline"); }

GuiTestResources::~GuiTestResources() { os::SetExecutablePathForTesting(""); }

void GuiTestResources::WriteSkin(const std::string& name, std::span<const GUI::PieceSet> pieceSets,
                                 std::uint32_t width, std::uint32_t height, Rgba colour) const {
    WriteSkin(name, pieceSets, FlatImage(width, height, colour));
}

void GuiTestResources::WriteSkin(const std::string& name, std::span<const GUI::PieceSet> pieceSets,
                                 const os::Image& image) const {
    WriteSkinDescriptor(name, GUI::EncodeSkinDescriptor(pieceSets));
    SavePng(image, Prepared(Root(), "Skins/" + name + "/" + name + ".png"));
}

void GuiTestResources::WriteSkinDescriptor(const std::string& name, const Bytes& bytes) const {
    WriteBytes(Prepared(Root(), "Skins/" + name + "/" + name + ".gui"), bytes);
}

void GuiTestResources::WriteCursor(const std::string& name, std::uint32_t width, std::uint32_t height,
                                   Rgba colour) const {
    SavePng(FlatImage(width, height, colour), Prepared(Root(), "Cursors/" + name));
}

Core::RefPtr<Engine::BitmapFont> GuiTestResources::WriteFont(const std::string& name,
                                                            const Engine::FontFile& font) const {
    const std::string base = Prepared(Root(), "Fonts/" + name + "/" + name);
    WriteBytes(base + ".tbf", Engine::EncodeFontFile(font, u"Face"));
    SavePng(FlatImage(kFontImageSize, kFontImageSize, {255, 255, 255, 255}), base + ".png");
    return Engine::BitmapFontCache::Get(GUI::GetFontFilePath(name));
}

}  // namespace testsupport
