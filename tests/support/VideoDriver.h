#pragma once

namespace testsupport {

// Puts the process on the real OS backend with the named SDL video driver
// ("offscreen", "x11", ...) while it lives, then back on the headless one.
// SDL video must not be running when it is made or destroyed.
class ScopedVideoDriver {
public:
    explicit ScopedVideoDriver(const char* driver);
    ~ScopedVideoDriver();
    ScopedVideoDriver(const ScopedVideoDriver&) = delete;
    ScopedVideoDriver& operator=(const ScopedVideoDriver&) = delete;
};

}  // namespace testsupport
