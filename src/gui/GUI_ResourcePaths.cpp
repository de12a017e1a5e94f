#include "gui/GUI_ResourcePaths.h"

#include "pal/PAL_ExecutablePath.h"

namespace GUI {
namespace {

Core::String Join(const Core::String& folder, std::string_view name) { return folder + "\\" + Core::String(name); }

Core::String ResourcesPath() { return Join(GetExecutableDirectory(), GetResourcesFolderName()); }

}  // namespace

Core::String GetResourcesFolderName() { return "Resources"; }
Core::String GetSkinsPath() { return Join(ResourcesPath(), "Skins"); }
Core::String GetOverlaysPath() { return Join(GetSkinsPath(), "Overlays"); }
Core::String GetFontsPath() { return Join(ResourcesPath(), "Fonts"); }
Core::String GetCursorsPath() { return Join(ResourcesPath(), "Cursors"); }

Core::String GetSkinFilePath(std::string_view name) { return Join(Join(GetSkinsPath(), name), name); }
Core::String GetFontFilePath(std::string_view name) { return Join(Join(GetFontsPath(), name), name); }
Core::String GetOverlayFilePath(std::string_view name) { return Join(GetOverlaysPath(), name); }
Core::String GetSkinsFolderFilePath(std::string_view name) { return Join(GetSkinsPath(), name); }
Core::String GetCursorFilePath(std::string_view name) { return Join(GetCursorsPath(), name); }

}  // namespace GUI
