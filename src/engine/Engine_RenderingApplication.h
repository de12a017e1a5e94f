#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_Application.h"
#include "engine/Engine_BitmapFontCache.h"
#include "engine/Engine_RenderingWindow.h"
#include "engine/Engine_StartupSettings.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "pal/PAL_Stopwatch.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_IRenderer.h"

namespace Engine {

// The application that draws: it owns the display adapter holder, the
// window, the mouse and keyboard, the renderer and the font cache, and
// limits the frame rate. The game's application class derives from it and
// fills in Frame and Shutdown.
class RenderingApplication : public Application {
public:
    // Builds the window (undecorated, at the screen's corner and top-most
    // when the settings ask for full screen; never resizable), shows it,
    // then makes the devices and the renderer. Becomes the current rendering
    // application and installs its font cache.
    explicit RenderingApplication(const StartupSettings& settings);
    // Releases the fonts (whose textures need the renderer), the renderer
    // (which gives the desktop its mode back), the keyboard and the mouse,
    // then the cache's storage, the window and the adapter holder, and
    // clears every process-wide pointer that names this application.
    ~RenderingApplication() override;

    // The current rendering application (owning nothing); null when none lives.
    static RenderingApplication* GetInstance();

    // Starts timing the frame.
    void BeginFrame() override;
    // Presents the frame; with the lock on, calls Idle until the target frame
    // time has passed since BeginFrame; then records the frame's rate.
    void EndFrame() override;
    // Called over and over while the limiter waits: sleeps until shortly
    // before the target frame time, then gives up the time slice, so that a
    // waiting frame leaves the processor free yet ends on time.
    virtual void Idle();

    // The desired rate becomes fps held to 1 to 1000 frames a second, and the
    // target frame time 1000 / that rate milliseconds. A rate that is not
    // finite and above 0 is refused (false) and changes nothing.
    bool SetDesiredFrameRate(double fps);
    double GetDesiredFrameRate() const { return m_desiredFrameRate; }
    void LockFrameRate(bool locked) { m_frameRateLocked = locked; }
    bool IsFrameRateLocked() const { return m_frameRateLocked; }
    // Frames per second of the last finished frame (infinite for a 0 ms frame).
    double GetCurrentFrameRate() const { return m_currentFrameRate; }

    RenderingWindow& GetWindow() { return m_window; }
    Renderer::IRenderer* GetRenderer() const { return m_renderer.Get(); }
    Input::Keyboard* GetKeyboard() const { return m_keyboard.Get(); }
    Input::Mouse* GetMouse() const { return m_mouse.Get(); }

    // Switches only when the display is not already in the mode asked for.
    void ToggleFullScreen(bool on);
    bool IsFullScreen() const;
    // Switches between full screen and window whatever the current mode.
    void AutoToggleFullScreen();
    void SetVSync(bool on);
    bool IsVSync() const;

    // Where sprite animations read from a stream find their images.
    const Core::String& GetAnimationDirectory() const { return m_animationDirectory; }
    void SetAnimationDirectory(const Core::String& directory) { m_animationDirectory = directory; }

private:
    // Declaration order is the release order's tail: after the destructor
    // has let go of the fonts, renderer, keyboard and mouse, the members go
    // in reverse: the cache's storage, the window, the adapter holder last.
    Renderer::AdapterInformation m_adapter;
    Stopwatch m_frameStopwatch;
    RenderingWindow m_window;
    BitmapFontCache m_fontCache;
    Core::RefPtr<Input::Mouse> m_mouse;
    Core::RefPtr<Input::Keyboard> m_keyboard;
    Core::RefPtr<Renderer::IRenderer> m_renderer;
    Core::String m_animationDirectory;
    double m_targetFrameTime = 1.0;
    double m_desiredFrameRate = 1000.0;
    double m_currentFrameRate = 0.0;
    bool m_frameRateLocked = false;
};

}  // namespace Engine
