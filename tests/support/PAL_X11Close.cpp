#include "support/PAL_X11Close.h"

// Kept apart from the tests: the X11 headers define macros (None, Bool)
// that clash with GoogleTest.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

bool SendWindowManagerClose(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    // SDL loads the X library itself; the test program does not link it.
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY);
    if (x11 == nullptr) {
        return false;
    }
    using InternAtom = Atom (*)(Display*, const char*, Bool);
    using SendEvent = Status (*)(Display*, Window, Bool, long, XEvent*);
    using Flush = int (*)(Display*);
    auto internAtom = reinterpret_cast<InternAtom>(dlsym(x11, "XInternAtom"));
    auto sendEvent = reinterpret_cast<SendEvent>(dlsym(x11, "XSendEvent"));
    auto flush = reinterpret_cast<Flush>(dlsym(x11, "XFlush"));
    bool sent = false;
    if (internAtom != nullptr && sendEvent != nullptr && flush != nullptr) {
        Display* display = info.info.x11.display;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = info.info.x11.window;
        event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sent = sendEvent(display, info.info.x11.window, False, NoEventMask, &event) != 0;
        flush(display);
    }
    dlclose(x11);
    return sent;
}
