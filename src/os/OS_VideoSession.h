#pragma once

// Keeps the video layer, and with it the connection to the display, up while
// it lives. Before its first window opens a program asks the display for its
// modes, pixel formats and work area, each question holding video for its own
// length; an X server without a window manager resets whenever its last
// client leaves, and a program that connects during the reset finds no
// display. Held from the start of a run to its end, video starts once.
// On the headless backend, or when no display can be opened, it holds
// nothing: whoever asks for video next meets the failure and reports it.
namespace os {

class VideoSession {
public:
    VideoSession();
    ~VideoSession();
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;

private:
    bool m_held;
};

}  // namespace os
