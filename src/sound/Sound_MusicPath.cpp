#include "sound/Sound_MusicPath.h"

#include "pal/PAL_ExecutablePath.h"

#include <algorithm>

namespace Tundra {

Core::String ToStoredMusicPath(std::string_view fullPath) {
    for (const std::string_view folder : {"\\resources", "\\Resources"}) {
        const std::size_t at = fullPath.rfind(folder);
        if (at != std::string_view::npos) {
            return Core::String(fullPath.substr(at));
        }
    }
    return Core::String();
}

Core::String FromStoredMusicPath(std::string_view storedPath) {
    return GetExecutableDirectory() + Core::String(storedPath);
}

bool ClimbsOutOfFolder(std::string_view storedPath) {
    std::size_t start = 0;
    while (start <= storedPath.size()) {
        const std::size_t end = std::min(storedPath.find_first_of("\\/", start), storedPath.size());
        if (storedPath.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace Tundra
