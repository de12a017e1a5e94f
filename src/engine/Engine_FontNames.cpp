#include "engine/Engine_FontNames.h"

#include "pal/PAL_ExecutablePath.h"

namespace Engine {
namespace {

constexpr std::string_view kResources = "\\Resources\\";

// The resources directory with its trailing backslash.
Core::String ResourcesPrefix() { return GetExecutableDirectory() + Core::String(kResources); }

bool IsFullPath(std::string_view path) {
    return !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
}

}  // namespace

Core::String DefaultFontPath() { return ResourcesPrefix() + "Fonts\\DefaultFont\\DefaultFont"; }

Core::String FontPath(const Core::String& name) { return name.empty() ? DefaultFontPath() : name; }

Core::String StoredFontName(std::string_view path) {
    const Core::String prefix = ResourcesPrefix();
    if (path.size() > prefix.size() && path.substr(0, prefix.size()) == prefix) {
        return Core::String(path.substr(prefix.size()));
    }
    return Core::String(path);
}

Core::String FontPathFromStored(std::string_view stored) {
    if (!IsFullPath(stored)) {
        return ResourcesPrefix() + Core::String(stored);
    }
    const std::size_t resources = stored.rfind(kResources);
    if (resources == std::string_view::npos) {
        return Core::String(stored);
    }
    return ResourcesPrefix() + Core::String(stored.substr(resources + kResources.size()));
}

}  // namespace Engine
