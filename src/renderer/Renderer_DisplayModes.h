#pragma once

#include "renderer/Renderer_DisplayMode.h"

#include <map>
#include <set>
#include <vector>

namespace Renderer {

// Every display mode the system lists, and the same modes as a table:
// colour depth -> resolution -> refresh rates.
class DisplayModes {
public:
    // Lists the modes (replacing any listed before). While diagnostics are on
    // the table is also written to "\DisplayModes.txt".
    void Enumerate();

    // The desktop mode now; kDefaultDisplayMode when the system cannot say
    // without an error code (with one, the process ends with the report).
    static DisplayMode GetCurrentDisplayMode();

    const std::vector<DisplayMode>& GetModes() const { return m_modes; }
    std::vector<std::uint32_t> GetColorDepths() const;
    std::vector<Resolution> GetResolutions(std::uint32_t colorBits) const;
    std::vector<std::uint32_t> GetRefreshRates(std::uint32_t colorBits, const Resolution& resolution) const;

    // The listed mode nearest the request: the smallest depth not below the
    // requested one (else the largest), the first resolution of that depth
    // not below the requested one in (width, height) order (else the
    // largest), the smallest rate not below the requested one (else the
    // largest). With nothing listed, the request itself.
    DisplayMode FindClosestMode(const DisplayMode& requested) const;

private:
    void WriteFile() const;

    std::vector<DisplayMode> m_modes;
    std::map<std::uint32_t, std::map<Resolution, std::set<std::uint32_t>>> m_table;
};

}  // namespace Renderer
