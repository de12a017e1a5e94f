#include "os/OS_PointerTrack.h"

#include <SDL.h>

namespace os::detail {
namespace {

// SDL pushes motion from the pump, on the main thread, which also reads it.
struct TrackedPointer {
    Uint32 windowId = 0;  // 0 while no motion was seen
    Point position;
};

TrackedPointer g_pointer;

Point OriginOf(SDL_Window* window) {
    Point origin;
    SDL_GetWindowPosition(window, &origin.x, &origin.y);
    return origin;
}

// Called as SDL queues each event, in the order the display sent them, so the
// window's origin is the one the motion's coordinates count from.
int SDLCALL NoteMotion(void*, SDL_Event* event) {
    if (event->type != SDL_MOUSEMOTION) {
        return 1;
    }
    if (SDL_Window* window = SDL_GetWindowFromID(event->motion.windowID)) {
        const Point origin = OriginOf(window);
        g_pointer = {event->motion.windowID, {origin.x + event->motion.x, origin.y + event->motion.y}};
    }
    return 1;
}

}  // namespace

void WatchPointer() {
    // A restarted video numbers its windows afresh, and may or may not have
    // dropped the watch: nothing seen before counts, and the watch is held once.
    g_pointer = {};
    SDL_DelEventWatch(&NoteMotion, nullptr);
    SDL_AddEventWatch(&NoteMotion, nullptr);
}

Point PointerOverWindow(SDL_Window* window) {
    if (g_pointer.windowId != 0 && g_pointer.windowId == SDL_GetWindowID(window)) {
        return g_pointer.position;
    }
    Point position;
    SDL_GetMouseState(&position.x, &position.y);
    const Point origin = OriginOf(window);
    return {origin.x + position.x, origin.y + position.y};
}

void NotePointerWarp(SDL_Window* window, Point position) {
    g_pointer = {window != nullptr ? SDL_GetWindowID(window) : 0u, position};
}

}  // namespace os::detail
