#include "os/OS_FittedWindow.h"

#include "os/OS_FullScreenWindow.h"
#include "os/OS_Letterbox.h"

namespace os::detail {
namespace {

// The largest size of the picture's aspect that the work area holds beside
// the window's frame; the size itself when it fits or cannot be scaled.
Size ShownSize(const WindowRecord& window, Size size) {
    Size room;
    if (window.system->Native(window) == nullptr || !window.system->SupportsOpenGL(window) ||
        !CanDrawOffscreen(window.handle) || !window.system->WorkAreaSize(&room)) {
        return size;
    }
    const Borders frame = window.system->FrameBorders(window);
    room = {room.width - frame.left - frame.right, room.height - frame.top - frame.bottom};
    if (room.width <= 0 || room.height <= 0 || (size.width <= room.width && size.height <= room.height)) {
        return size;
    }
    const Rect area = LetterboxArea(size, room);
    return area.Width() > 0 && area.Height() > 0 ? Size{area.Width(), area.Height()} : size;
}

}  // namespace

bool SizeClient(WindowRecord& window, Size size) {
    const Size shown = ShownSize(window, size);
    if (shown != window.system->ClientSize(window) && !window.system->ResizeClient(window, shown)) {
        return false;
    }
    window.drawable = shown == size ? Size{} : size;
    return true;
}

void FitAgain(WindowRecord& window) {
    const Size client = window.system->ClientSize(window);
    // A minimised window has no client area to fit.
    if (window.coversDesktop || client.width <= 0 || client.height <= 0) {
        return;
    }
    const Size before = window.drawable;
    if (SizeClient(window, window.IsDrawnScaled() ? window.drawable : client) && window.drawable != before) {
        FollowWindowDrawable(window.handle);
    }
}

}  // namespace os::detail
