#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"

#include <cstdint>

namespace Renderer {

// A texture as the renderer binds it: an OpenGL texture name with its size,
// pixel format and the file it was made from.
class ITexture : public Core::Object {
public:
    // Size of the decoded image (the uploaded level may have been rescaled).
    virtual std::uint32_t GetWidth() const = 0;
    virtual std::uint32_t GetHeight() const = 0;
    // 0: 8-bit red, green, blue, alpha.
    virtual std::uint32_t GetFormat() const = 0;
    // 1 for a two-dimensional texture; anything else binds as one-dimensional.
    virtual std::uint32_t GetDimension() const = 0;
    virtual std::uint32_t GetTextureName() const = 0;
    virtual void Reload() = 0;
    virtual void Unload() = 0;
    virtual bool IsMipmapped() const = 0;
    virtual const Core::String& GetName() const = 0;
};

}  // namespace Renderer
