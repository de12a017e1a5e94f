#include "os/OS_VideoSession.h"

#include "os/OS_Backend.h"
#include "os/OS_SdlVideo.h"

namespace os {

VideoSession::VideoSession() : m_held(!IsHeadless() && sdl::AcquireVideo()) {}

VideoSession::~VideoSession() {
    if (m_held) {
        sdl::ReleaseVideo();
    }
}

}  // namespace os
