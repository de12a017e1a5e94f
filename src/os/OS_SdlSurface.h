#pragma once

#include <SDL.h>

#include <memory>

// An SDL surface owned by its scope.
namespace os {

struct SurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePointer = std::unique_ptr<SDL_Surface, SurfaceFreer>;

}  // namespace os
