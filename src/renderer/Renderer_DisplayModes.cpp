#include "renderer/Renderer_DisplayModes.h"

#include "os/OS_DisplaySettings.h"
#include "pal/PAL_ErrorReporter.h"
#include "renderer/Renderer_Diagnostics.h"

#include <iterator>

namespace Renderer {
namespace {

// A driver that never stops listing must not hang start-up.
constexpr std::uint32_t kMaxModes = 65536;

// The first key not below the wanted one, else the last key.
template <class Container, class Key>
auto NotBelowOrLast(const Container& container, const Key& wanted) {
    auto found = container.lower_bound(wanted);
    return found != container.end() ? found : std::prev(container.end());
}

DisplayMode FromOs(const os::DisplayMode& mode) { return {mode.width, mode.height, mode.bitsPerPixel, mode.frequency}; }

}  // namespace

void DisplayModes::Enumerate() {
    m_modes.clear();
    m_table.clear();
    os::DisplayMode mode;
    for (std::uint32_t index = 0; index < kMaxModes && os::EnumDisplaySettings(index, &mode); ++index) {
        m_modes.push_back(FromOs(mode));
    }
    for (const DisplayMode& listed : m_modes) {
        m_table[listed.colorBits][{listed.width, listed.height}].insert(listed.refreshRate);
    }
    WriteFile();
}

DisplayMode DisplayModes::GetCurrentDisplayMode() {
    os::DisplayMode mode;
    SetErrorContext("EnumDisplaySettings", "Renderer::DisplayModes::GetCurrentDisplayMode", __LINE__,
                    "Renderer_AdapterInformation");
    const bool ok = os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &mode);
    ReportLastErrorAndExit(!ok);
    return ok ? FromOs(mode) : kDefaultDisplayMode;
}

std::vector<std::uint32_t> DisplayModes::GetColorDepths() const {
    std::vector<std::uint32_t> depths;
    for (const auto& [depth, resolutions] : m_table) {
        depths.push_back(depth);
    }
    return depths;
}

std::vector<Resolution> DisplayModes::GetResolutions(std::uint32_t colorBits) const {
    std::vector<Resolution> resolutions;
    const auto depth = m_table.find(colorBits);
    if (depth != m_table.end()) {
        for (const auto& [resolution, rates] : depth->second) {
            resolutions.push_back(resolution);
        }
    }
    return resolutions;
}

std::vector<std::uint32_t> DisplayModes::GetRefreshRates(std::uint32_t colorBits, const Resolution& resolution) const {
    const auto depth = m_table.find(colorBits);
    if (depth == m_table.end()) {
        return {};
    }
    const auto rates = depth->second.find(resolution);
    return rates != depth->second.end() ? std::vector<std::uint32_t>(rates->second.begin(), rates->second.end())
                                        : std::vector<std::uint32_t>{};
}

DisplayMode DisplayModes::FindClosestMode(const DisplayMode& requested) const {
    if (m_table.empty()) {
        return requested;
    }
    // Every listed depth has at least one resolution with at least one rate.
    const auto depth = NotBelowOrLast(m_table, requested.colorBits);
    const auto resolution = NotBelowOrLast(depth->second, Resolution{requested.width, requested.height});
    const auto rate = NotBelowOrLast(resolution->second, requested.refreshRate);
    return {resolution->first.width, resolution->first.height, depth->first, *rate};
}

void DisplayModes::WriteFile() const {
    const os::FilePointer diagnostic = OpenDiagnosticFile("\\DisplayModes.txt");
    std::FILE* file = diagnostic.get();
    if (file == nullptr) {
        return;
    }
    std::fputs("Color Bits    Resolution    Refresh Rates\n", file);
    std::fputs("==========    ==========    =============\n", file);
    for (const auto& [depth, resolutions] : m_table) {
        std::fprintf(file, "%u\n", depth);
        for (const auto& [resolution, rates] : resolutions) {
            std::fprintf(file, "%17u X %4u    ", resolution.width, resolution.height);
            for (const std::uint32_t rate : rates) {
                std::fprintf(file, "%u ", rate);
            }
            std::fputs("\n", file);
        }
    }
}

}  // namespace Renderer
