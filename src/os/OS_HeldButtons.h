#pragma once

#include <cstdint>

// Internal to the OS layer. The mouse buttons the game reads held: a press
// the display gave a window of the game, held until its release wherever
// the pointer went meanwhile, and no longer once the display holds the
// button up; a touch, until the finger is lifted. A release can go
// elsewhere (the window was hidden, minimised or lost its implicit grab
// while the button was down), and a press begun anywhere else belongs to
// another program.
namespace os::detail {

// Called whenever video starts: on X11 the presses and releases come from
// the display's raw events, which SDL passes on before it drops the press
// that focuses a window or one it wrongly thinks is still held.
void WatchButtons();
// A button event of SDL's: every one on the drivers without raw events,
// and on X11 those SDL makes from a touch (the display sends no button event
// for it, and holds no button while the finger is down).
void NoteSdlButtonEvent(std::uint8_t sdlButton, bool down, bool fromTouch);
// Once the pump has taken every event, with the SDL_BUTTON masks the display
// holds down then: a button of the pointer's the display holds up is
// released, whatever the events said, as a release event releases it.
void ReleaseButtonsHeldUp(std::uint32_t heldByDisplay);
// SDL_BUTTON masks of the buttons held as of the last pump.
std::uint32_t HeldButtons();

}  // namespace os::detail
