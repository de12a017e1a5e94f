#include "sound/Sound_MusicPath.h"

#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"

#include <algorithm>
#include <vector>

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

bool IsStoredMusicPath(std::string_view storedPath) {
    // Components between separators; the first is empty, before the leading one.
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= storedPath.size()) {
        const std::size_t end = std::min(storedPath.find_first_of("\\/", start), storedPath.size());
        parts.push_back(storedPath.substr(start, end - start));
        start = end + 1;
    }
    const auto isUp = [](std::string_view part) { return part == ".."; };
    return parts.size() >= 3 && parts[0].empty() && os::EqualsIgnoringCase(parts[1], "resources") &&
           !parts.back().empty() && std::none_of(parts.begin(), parts.end(), isUp);
}

bool FromStoredMusicPath(std::string_view storedPath, Core::String& fullPath) {
    if (!IsStoredMusicPath(storedPath)) {
        return false;
    }
    fullPath = GetExecutableDirectory() + Core::String(storedPath);
    return true;
}

}  // namespace Tundra
