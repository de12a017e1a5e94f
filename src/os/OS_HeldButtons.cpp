#include "os/OS_HeldButtons.h"

#include "os/OS_KeyLatch.h"
#include "os/OS_KeyMap.h"
#include "os/OS_PointerSample.h"
#include "os/OS_X11Display.h"

#include <SDL.h>

namespace os::detail {
namespace {

// SDL_BUTTON masks. A touch holds no button on the display, so the
// display's answer ends only the pointer's presses; a touch ends when it is
// lifted. SDL delivers events on the main thread, which also reads them.
struct Held {
    std::uint32_t byPointer = 0;
    std::uint32_t byTouch = 0;
};

Held g_held;
bool g_rawEvents = false;

void Note(std::uint32_t& held, std::uint8_t sdlButton, bool down) {
    if (down) {
        held |= SDL_BUTTON(sdlButton);
    } else {
        held &= ~SDL_BUTTON(sdlButton);
    }
    if (const VirtualKey key = VirtualKeyOfSdlButton(sdlButton); key != 0) {
        NoteKeyEvent(key, down);
    }
}

int SDLCALL NoteRawEvent(void*, SDL_Event* event) {
    bool down = false;
    if (const std::optional<std::uint8_t> button = x11::ButtonOfRawEvent(*event, &down)) {
        Note(g_held.byPointer, *button, down);
    }
    return 1;
}

}  // namespace

void WatchButtons() {
    // A restarted video begins with no button held nor the pointer read,
    // and the watch is held once.
    g_held = {};
    ForgetPointerSample();
    g_rawEvents = x11::UsesX11();
    SDL_DelEventWatch(&NoteRawEvent, nullptr);
    if (g_rawEvents) {
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
        SDL_AddEventWatch(&NoteRawEvent, nullptr);
    }
}

void NoteSdlButtonEvent(std::uint8_t sdlButton, bool down, bool fromTouch) {
    if (fromTouch) {
        Note(g_held.byTouch, sdlButton, down);
    } else if (!g_rawEvents) {
        Note(g_held.byPointer, sdlButton, down);
    }
}

void ReleaseButtonsHeldUp(std::uint32_t heldByDisplay) {
    // The display's answer covers left, middle and right only. Each ends as
    // its release event would, so a press the game has not read yet is still
    // read once.
    for (const std::uint8_t button : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
        if ((g_held.byPointer & ~heldByDisplay & SDL_BUTTON(button)) != 0) {
            Note(g_held.byPointer, button, false);
        }
    }
}

std::uint32_t HeldButtons() { return g_held.byPointer | g_held.byTouch; }

}  // namespace os::detail
