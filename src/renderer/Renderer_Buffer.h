#pragma once

#include "core/Core_Object.h"

namespace Renderer {

// A vertex or index buffer object as the renderer binds it. The game makes
// none; the renderer needs only these operations of one.
class Buffer : public Core::Object {
public:
    // Index buffers: whether the indices are 32-bit (else 16-bit).
    virtual bool HasIndices32() const = 0;
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
    // Index buffers: where the first index lies (a pointer, or an offset into
    // the bound buffer object).
    virtual const void* GetIndexAddress() const = 0;
};

}  // namespace Renderer
