#pragma once

#include "core/Core_Object.h"

namespace Engine {

// The abstract application: the four operations the run loop calls on each
// pass and the quit request. Only derived classes are made; one lives per run.
class Application : public Core::Object {
public:
    // Becomes the current application.
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    // Stops being the current application, so that the pointer never names
    // a destroyed one.
    ~Application() override = 0;

    // The current application (owning nothing); null when none lives.
    static Application* GetInstance();

    virtual void BeginFrame() {}
    virtual void Frame() {}
    virtual void EndFrame() {}
    virtual void Shutdown() {}

    // Posts the quit request: the run loop ends at its next pump.
    void Exit();
};

}  // namespace Engine
