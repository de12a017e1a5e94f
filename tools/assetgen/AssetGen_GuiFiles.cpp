#include <array>
#include <vector>

#include "AssetGen_Files.h"
#include "AssetGen_GuiSkins.h"
#include "AssetGen_OutputFiles.h"
#include "AssetGen_Png.h"
#include "AssetGen_Style.h"

namespace AssetGen {
namespace {

using namespace Style;

using DrawPicture = void (*)(cairo_t* cr);

bool WritePicture(const std::string& path, int width, int height, DrawPicture draw, std::string& error) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_destroy(cr);
    const bool written = WritePng(surface, path, error);
    cairo_surface_destroy(surface);
    return written;
}

void Arrow(cairo_t* cr) {
    // The tip is the image's top-left pixel: the cursor's offset puts it on
    // the mouse position.
    cairo_new_path(cr);
    Polygon(cr, {{1.0, 1.0}, {1.0, 23.0}, {6.5, 18.0}, {10.5, 27.5}, {14.5, 25.5}, {10.5, 16.5}, {17.5, 16.5}});
    SetColour(cr, Palette::White);
    cairo_fill_preserve(cr);
    SetColour(cr, Palette::Ink);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
}

template <int Grey>
void Plain(cairo_t* cr) {
    SetColour(cr, Rgb(Grey, Grey, Grey));
    cairo_paint(cr);
}

template <bool Enabled>
void ComboDown(cairo_t* cr) {
    cairo_new_path(cr);
    Polygon(cr, {{3.0, 5.5}, {13.0, 5.5}, {8.0, 11.5}});
    SetColour(cr, Enabled ? Palette::Ink : Palette::LightGrey);
    cairo_fill_preserve(cr);
    SetColour(cr, Enabled ? Palette::Ink : Palette::MidGrey);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

template <DrawPicture Draw, int Width, int Height>
bool WriteImage(const std::string& path, std::uint64_t, std::string& error) {
    return WritePicture(path, Width, Height, Draw, error);
}

template <GuiSkin Skin>
bool WriteSkinImage(const std::string& path, std::uint64_t, std::string& error) {
    const SkinTexture texture = TextureOfSkin(Skin);
    return WritePicture(
        path, texture.width, texture.height, [](cairo_t* cr) { DrawSkinTexture(cr, Skin); }, error);
}

template <GuiSkin Skin>
bool WriteSkinDescriptor(const std::string& path, std::uint64_t, std::string& error) {
    return WriteBytes(path, GUI::EncodeSkinDescriptor(PieceSetsOfSkin(Skin)), error);
}

constexpr std::array kGuiFiles{
    FileArt{"Cursors/Arrow.png", WriteImage<Arrow, 32, 32>},
    FileArt{"Skins/White.png", WriteImage<Plain<255>, 8, 8>},
    FileArt{"Skins/Gray.png", WriteImage<Plain<128>, 8, 8>},
    FileArt{"Skins/Overlays/ComboDown.png", WriteImage<ComboDown<true>, 16, 16>},
    FileArt{"Skins/Overlays/ComboDownDisabled.png", WriteImage<ComboDown<false>, 16, 16>},
    FileArt{"Skins/DefaultFormSkin/DefaultFormSkin.gui", WriteSkinDescriptor<GuiSkin::Form>},
    FileArt{"Skins/DefaultFormSkin/DefaultFormSkin.png", WriteSkinImage<GuiSkin::Form>},
    FileArt{"Skins/DefaultButtonSkin/DefaultButtonSkin.gui", WriteSkinDescriptor<GuiSkin::Button>},
    FileArt{"Skins/DefaultButtonSkin/DefaultButtonSkin.png", WriteSkinImage<GuiSkin::Button>},
    FileArt{"Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.gui", WriteSkinDescriptor<GuiSkin::RadioButton>},
    FileArt{"Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.png", WriteSkinImage<GuiSkin::RadioButton>},
};

}  // namespace

std::span<const FileArt> GuiFiles() { return kGuiFiles; }

}  // namespace AssetGen
