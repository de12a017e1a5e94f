#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "os/OS_Window.h"
#include "renderer/Renderer_DisplayModes.h"
#include "renderer/Renderer_PixelFormatDescription.h"

#include <cstdint>
#include <vector>

namespace Renderer {

// What the display adapter offers: its display modes, the pixel formats of
// the driver and the window-system extensions, found once with a throw-away
// context; and the switch to a full-screen mode and back. One adapter is
// shared by the whole process (AdapterInformation).
class Adapter : public Core::Object {
public:
    Adapter();
    ~Adapter() override;
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    // The mode the next test and switch ask for.
    void SetDisplayMode(const DisplayMode& mode);
    // Whether the closest listed mode to the requested one can be set.
    bool TestDisplayMode() const;
    // On: switches to the requested mode's closest listed mode unless a
    // mode is already set; off: back to the desktop mode if one was set.
    // True when the display changed.
    bool SetFullScreen(bool on);
    // The format for the request through the extended (ARB) query when the
    // driver offers multisampled formats, else through the classic one; 0
    // when none fits.
    std::int32_t GetPixelFormat(const PixelFormatDescription& request) const;

    bool IsSwapControlAvailable() const { return m_swapControl; }
    bool IsDisplayModeChanged() const { return m_displayModeChanged; }
    bool IsMultisampleAvailable() const { return m_multisample; }
    const DisplayModes& GetDisplayModes() const { return m_displayModes; }
    const DisplayMode& GetDesktopDisplayMode() const { return m_desktopMode; }
    const std::vector<PixelFormatDescription>& GetPixelFormats() const { return m_pixelFormats; }
    const std::vector<std::uint32_t>& GetSampleCounts() const { return m_sampleCounts; }
    const Core::StringVector& GetWGLExtensions() const { return m_wglExtensions; }

private:
    bool UsesExtendedPixelFormats() const;
    void FillNormalPixelFormats(os::WindowHandle dc);
    void FillExtendedPixelFormats(os::WindowHandle dc);
    std::int32_t GetNormalPixelFormat(const PixelFormatDescription& request) const;
    std::int32_t GetExtendedPixelFormat(const PixelFormatDescription& request) const;
    // Asks for the closest listed mode to the requested one with the change
    // flags (test or full screen); true when the display accepted.
    bool ChangeToClosestMode(std::uint32_t flags) const;

    bool m_swapControl = false;
    bool m_displayModeChanged = false;
    bool m_multisample = false;
    DisplayModes m_displayModes;
    DisplayMode m_requestedMode = kDefaultDisplayMode;
    DisplayMode m_desktopMode = kDefaultDisplayMode;
    std::vector<PixelFormatDescription> m_pixelFormats;
    std::vector<std::uint32_t> m_sampleCounts;
    Core::StringVector m_wglExtensions;
};

// Makes the shared adapter (the first holder does this).
Core::RefPtr<Adapter> CreateAdapter();
// The shared adapter; empty while no holder keeps one.
Core::RefPtr<Adapter> GetAdapter();

}  // namespace Renderer
