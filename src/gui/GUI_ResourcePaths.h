#pragma once

#include "core/Core_String.h"

#include <string_view>

// Where the GUI finds its files: the "Resources" folder beside the
// executable, joined with backslashes (resolved when a file is opened).
namespace GUI {

Core::String GetResourcesFolderName();
// <executable directory>\Resources\Skins
Core::String GetSkinsPath();
// <skins>\Overlays
Core::String GetOverlaysPath();
// <executable directory>\Resources\Fonts
Core::String GetFontsPath();
// <executable directory>\Resources\Cursors
Core::String GetCursorsPath();

// A skin lives in a folder of its own name: <skins>\name\name, without
// extension (".gui" and ".png" are added by the image).
Core::String GetSkinFilePath(std::string_view name);
// <fonts>\name\name: the base path the font cache takes.
Core::String GetFontFilePath(std::string_view name);
// <overlays>\name, name with its extension.
Core::String GetOverlayFilePath(std::string_view name);
// <skins>\name: loose images in the skins folder.
Core::String GetSkinsFolderFilePath(std::string_view name);
// <cursors>\name
Core::String GetCursorFilePath(std::string_view name);

}  // namespace GUI
