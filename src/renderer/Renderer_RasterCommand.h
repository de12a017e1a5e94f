#pragma once

#include "core/Core_Object.h"

namespace Renderer {

class IRenderer;

// One queued drawing of the screen-space overlay, run when the frame is
// presented: window-pixel matrices are loaded and depth testing is off.
class RasterCommand : public Core::Object {
public:
    virtual void Execute(IRenderer& renderer) = 0;
};

}  // namespace Renderer
