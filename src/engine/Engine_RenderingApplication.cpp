#include "engine/Engine_RenderingApplication.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Sleep.h"
#include "renderer/Renderer_DisplaySettings.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Engine {
namespace {

// Written and read on the main thread only.
RenderingApplication* g_renderingApplication = nullptr;

// The handled flag stays clear, so the window posts the quit request too.
void OnWindowClose(PAL::Window*, bool*) {
    if (Application* application = Application::GetInstance()) {
        application->Exit();
    }
}

// The software OpenGL driver takes fresh memory for the triangles it bins
// in every scene and frees it once they are rasterised. With the C
// library's default thresholds that memory goes back to the system each
// time and comes back as page faults on the next frame (a third of a busy
// frame's submission); kept, it is reused. Blocks of 32 MiB and over are
// still mapped apart.
void KeepFreedHeapMemory() {
    constexpr int kTrimThreshold = 256 << 20;
    constexpr int kMmapThreshold = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
}

// The limiter sleeps until this close to the frame's end and yields the rest
// away: a sleep may overrun by the scheduler's wake-up time (a tenth of a
// millisecond on a busy machine), a yield returns within microseconds.
constexpr double kYieldedMilliseconds = 0.5;

// A slower game answers its player seconds late; a faster one asks for
// frames shorter than the clock and the scheduler can time.
constexpr double kSlowestFrameRate = 1.0;
constexpr double kFastestFrameRate = 1000.0;

}  // namespace

RenderingApplication::RenderingApplication(const StartupSettings& settings)
    : m_window(static_cast<std::int32_t>(settings.width), static_cast<std::int32_t>(settings.height)) {
    g_renderingApplication = this;
    BitmapFontCache::SetInstance(&m_fontCache);

    if (settings.fullScreen) {
        m_window.SetDecorated(false);
        m_window.SetPosition(0, 0);
        m_window.SetClientSize(static_cast<std::int32_t>(settings.width), static_cast<std::int32_t>(settings.height));
        m_window.SetTopMost(true);
    }
    m_window.SetResizable(false);
    m_window.SetMaximizeBox(false);
    m_window.SetVisible(true);
    m_window.SetOnClose(&OnWindowClose);

    Core::RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateInstance();
    mouse->SetWindow(m_window.GetHandle());
    m_mouse = mouse;
    m_keyboard = Input::KeyboardImp::CreateInstance();

    Renderer::DisplaySettings display(settings.width, settings.height);
    display.refreshRate = settings.refreshRate;
    display.multisampleCount = settings.multisampleCount;
    display.fullScreen = settings.fullScreen;
    display.verticalSync = settings.verticalSync;
    display.window = &m_window;
    KeepFreedHeapMemory();
    m_renderer = Renderer::CreateRenderer(display);
}

RenderingApplication::~RenderingApplication() {
    m_fontCache.Clear();
    m_renderer = nullptr;
    m_keyboard = nullptr;
    m_mouse = nullptr;
    if (BitmapFontCache::GetInstance() == &m_fontCache) {
        BitmapFontCache::SetInstance(nullptr);
    }
    if (g_renderingApplication == this) {
        g_renderingApplication = nullptr;
    }
}

RenderingApplication* RenderingApplication::GetInstance() { return g_renderingApplication; }

void RenderingApplication::BeginFrame() { m_frameStopwatch.Start(); }

void RenderingApplication::EndFrame() {
    m_renderer->Present();
    while (m_frameRateLocked && m_frameStopwatch.GetElapsed() < m_targetFrameTime) {
        Idle();
    }
    m_currentFrameRate = 1000.0 / m_frameStopwatch.GetElapsed();
    m_frameStopwatch.Reset();
}

void RenderingApplication::Idle() {
    // A clock set back since BeginFrame never makes the wait longer than a frame.
    const double remaining = std::min(m_targetFrameTime - m_frameStopwatch.GetElapsed(), m_targetFrameTime);
    if (remaining > kYieldedMilliseconds) {
        os::SleepMicroseconds(static_cast<std::uint64_t>((remaining - kYieldedMilliseconds) * 1000.0));
    } else {
        os::Sleep(0);
    }
}

bool RenderingApplication::SetDesiredFrameRate(double fps) {
    // A zero, negative or non-finite rate means no frame time at all: with
    // the lock on, EndFrame would never return. Any other rate is a usable
    // wish, held to the range the limiter can keep.
    if (!std::isfinite(fps) || fps <= 0.0) {
        return false;
    }
    m_desiredFrameRate = std::clamp(fps, kSlowestFrameRate, kFastestFrameRate);
    m_targetFrameTime = 1000.0 / m_desiredFrameRate;
    return true;
}

void RenderingApplication::ToggleFullScreen(bool on) {
    if (m_renderer->GetDisplaySettings().fullScreen != on) {
        m_renderer->ToggleFullScreen();
    }
}

bool RenderingApplication::IsFullScreen() const { return m_renderer->GetDisplaySettings().fullScreen; }

void RenderingApplication::AutoToggleFullScreen() { m_renderer->ToggleFullScreen(); }

void RenderingApplication::SetVSync(bool on) { m_renderer->SetVSyncEnabled(on); }

bool RenderingApplication::IsVSync() const { return m_renderer->GetVSyncEnabled(); }

}  // namespace Engine
