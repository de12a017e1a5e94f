#include "support/MyGame_JourneyKeys.h"

#include "os/OS_Backend.h"
#include "os/OS_HeadlessInput.h"

#include <SDL.h>

#include <initializer_list>

namespace mygametest {

void HoldJourneyKey(os::VirtualKey letter, bool down) {
    if (os::IsHeadless()) {
        os::headless::SetKey(letter, down);
        return;
    }
    if (!down || letter < 'A' || letter > 'Z') {
        return;
    }
    const int offset = static_cast<int>(letter) - 'A';
    SDL_Event event{};
    event.key.keysym = {static_cast<SDL_Scancode>(SDL_SCANCODE_A + offset), SDLK_a + offset, KMOD_NONE, 0};
    for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        event.type = type;
        SDL_PushEvent(&event);
    }
}

}  // namespace mygametest
