#pragma once

#include "core/Core_String.h"
#include "os/OS_Window.h"

#include <cstdint>

namespace PAL {

// One top-level window: created hidden and centred on the screen with a
// given client size, with the style flags the engine changes and optional
// callbacks for the window messages the engine cares about. The renderer
// sets its pixel format and makes its OpenGL context on it.
class Window {
public:
    using CommandCallback = void (*)(Window* window, bool* handled);
    using EventCallback = void (*)(Window* window);
    using SizingCallback = void (*)(Window* window, std::int32_t clientWidth, std::int32_t clientHeight);
    using StateCallback = void (*)(Window* window, bool state);

    // The window class name, registered with the first window of the process.
    static constexpr const char* kClassName = "TUN3DRenderingWindow";

    Window(std::int32_t clientWidth, std::int32_t clientHeight);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Takes any OpenGL context off the window and destroys it; the object
    // stays usable for its getters. Does nothing more once the window is gone.
    void Destory();

    void SetMaximizeBox(bool on);
    // Without decoration there is neither caption nor frame, whatever the
    // caption and resizable flags say; the client size is kept either way.
    void SetDecorated(bool on);
    void SetResizable(bool on);
    void SetTopMost(bool on);
    void SetVisible(bool visible);
    // Keeps the window's top-left corner.
    void SetClientSize(std::int32_t width, std::int32_t height);
    // Screen coordinates of the window's top-left corner, frame included.
    void SetPosition(std::int32_t x, std::int32_t y);
    void GetPosition(std::int32_t* x, std::int32_t* y) const;

    void SetTitle(const Core::String& title);
    const Core::String& GetTitle() const { return m_title; }
    // A file the icon cannot be loaded from leaves the icon as it was.
    void SetIcon(const Core::String& path);
    const Core::String& GetIconPath() const { return m_iconPath; }

    // Records the pixel format chosen by the renderer; false when refused.
    bool SetPixelFormat(std::int32_t index);
    std::int32_t GetPixelFormatIndex() const { return m_pixelFormat; }

    os::WindowHandle GetHandle() const { return m_handle; }
    // The surface the OpenGL context draws on: under SDL the window itself.
    os::WindowHandle GetDeviceContext() const { return m_deviceContext; }

    bool IsDecorated() const { return m_decorated != 0; }
    bool IsResizable() const { return m_resizable != 0; }
    bool HasMaximizeBox() const { return m_maximizeBox != 0; }
    bool IsVisible() const { return m_visible != 0; }

    void SetOnClose(CommandCallback callback) { m_onClose = callback; }

protected:
    // The callbacks without a setter; classes built on the window may fill
    // them. A null callback is skipped, as if it had not handled the message.
    CommandCallback m_onMinimizeCommand = nullptr;
    CommandCallback m_onMaximizeCommand = nullptr;
    CommandCallback m_onRestoreCommand = nullptr;
    EventCallback m_onMinimized = nullptr;
    EventCallback m_onMaximized = nullptr;
    EventCallback m_onRestored = nullptr;
    SizingCallback m_onSizing = nullptr;
    StateCallback m_onShow = nullptr;
    EventCallback m_onPaint = nullptr;
    CommandCallback m_onClose = nullptr;
    EventCallback m_onCreate = nullptr;
    EventCallback m_onDestroy = nullptr;
    StateCallback m_onActivate = nullptr;

private:
    static std::intptr_t WindowProc(os::WindowHandle handle, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam);
    std::intptr_t HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    void ApplyStyle();

    os::WindowHandle m_handle = os::kNoWindow;
    os::WindowHandle m_deviceContext = os::kNoWindow;
    Core::String m_title;
    Core::String m_iconPath;
    std::uint8_t m_minimizeBox = 1;
    std::uint8_t m_maximizeBox = 1;
    std::uint8_t m_caption = 1;
    std::uint8_t m_decorated = 1;
    std::uint8_t m_visible = 0;
    std::uint8_t m_resizable = 1;
    std::int32_t m_pixelFormat = 0;
};

// Hands every queued window message to its window. False once the quit
// request was taken, true when the queue is empty; never waits.
bool PumpMessages();
// Asks the next pump to report the quit.
void RequestQuit();

}  // namespace PAL
