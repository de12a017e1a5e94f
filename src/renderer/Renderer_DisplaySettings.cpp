#include "renderer/Renderer_DisplaySettings.h"

#include "renderer/Renderer_Adapter.h"

namespace Renderer {

DisplaySettings::DisplaySettings(std::uint32_t width, std::uint32_t height)
    : width(width), height(height), depthBits(24), stencilBits(8) {
    const Core::RefPtr<Adapter> adapter = GetAdapter();
    const DisplayMode desktop = adapter ? adapter->GetDesktopDisplayMode() : DisplayModes::GetCurrentDisplayMode();
    refreshRate = desktop.refreshRate;
    colorBits = desktop.colorBits;
}

}  // namespace Renderer
