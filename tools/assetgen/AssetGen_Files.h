#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// How the files of the tree that are not sprite sheets or sounds are made:
// one function per file, found by the file's path below Resources/ (as the
// manifest spells it). A function writes the whole file at `path`, whose
// folder exists; random detail comes only from Random(seed). Images go
// through WritePng (AssetGen_Png.h), which always keeps the alpha channel.
namespace AssetGen {

using WriteFile = bool (*)(const std::string& path, std::uint64_t seed, std::string& error);

struct FileArt {
    std::string_view file;  // below Resources/, '/' separated
    WriteFile write;
};

// The font, the particle texture, the paths, the static-collision files and the icon.
std::span<const FileArt> ResourceFiles();
// The GUI toolkit's cursor, images, overlays and skins.
std::span<const FileArt> GuiFiles();

}  // namespace AssetGen
