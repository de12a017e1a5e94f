#include "os/OS_HeldButtons.h"

#include "os/OS_KeyLatch.h"
#include "os/OS_KeyMap.h"
#include "os/OS_X11Display.h"

#include <SDL.h>

namespace os::detail {
namespace {

// SDL delivers events on the main thread, which also reads them.
std::uint32_t g_held = 0;
bool g_rawEvents = false;

void Note(std::uint8_t sdlButton, bool down) {
    if (down) {
        g_held |= SDL_BUTTON(sdlButton);
    } else {
        g_held &= ~SDL_BUTTON(sdlButton);
    }
    if (const VirtualKey key = VirtualKeyOfSdlButton(sdlButton); key != 0) {
        NoteKeyEvent(key, down);
    }
}

int SDLCALL NoteRawEvent(void*, SDL_Event* event) {
    bool down = false;
    if (const std::optional<std::uint8_t> button = x11::ButtonOfRawEvent(*event, &down)) {
        Note(*button, down);
    }
    return 1;
}

}  // namespace

void WatchButtons() {
    // A restarted video begins with no button held, and the watch is held once.
    g_held = 0;
    g_rawEvents = x11::UsesX11();
    SDL_DelEventWatch(&NoteRawEvent, nullptr);
    if (g_rawEvents) {
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
        SDL_AddEventWatch(&NoteRawEvent, nullptr);
    }
}

void NoteSdlButtonEvent(std::uint8_t sdlButton, bool down) {
    if (!g_rawEvents) {
        Note(sdlButton, down);
    }
}

void ReleaseButtonsHeldUp() {
    // The display's answer covers left, middle and right only.
    if (const std::optional<std::uint32_t> down = x11::HeldButtons()) {
        g_held &= *down | ~(SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK);
    }
}

std::uint32_t HeldButtons() { return g_held; }

}  // namespace os::detail
