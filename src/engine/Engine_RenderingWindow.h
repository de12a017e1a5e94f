#pragma once

#include "pal/PAL_Window.h"

namespace Engine {

// The window the rendering application draws into, made with its client size.
class RenderingWindow : public PAL::Window {
public:
    using PAL::Window::Window;
};

}  // namespace Engine
