#pragma once

#include "core/Core_Object.h"

namespace Renderer {

class IRenderer;

// A small counted group of fixed-function settings. A state never talks to
// OpenGL itself: applying it hands it to the renderer's Set operation of its
// type (which caches and applies it), capturing fills it from the renderer's
// cache. The base type holds nothing and does nothing.
class State : public Core::Object {
    TUN_DECLARE_CLASS(State);

    virtual void Apply(IRenderer& renderer) const;
    virtual void Capture(IRenderer& renderer);
    // Back to the type's reset values.
    virtual void Reset();
};

// A state type bound to the renderer's Set and Get operation of its type
// (Value is the type those operations take).
template <class Derived, class Base, class Value, void (IRenderer::*Set)(const Value&),
          void (IRenderer::*Get)(Value&) const>
class BoundState : public Base {
public:
    void Apply(IRenderer& renderer) const override { (renderer.*Set)(static_cast<const Derived&>(*this)); }
    void Capture(IRenderer& renderer) override { (renderer.*Get)(static_cast<Derived&>(*this)); }
    // The values a new object of the type has; a type with other reset rules overrides this.
    void Reset() override { static_cast<Derived&>(*this) = Derived(); }
};

}  // namespace Renderer
