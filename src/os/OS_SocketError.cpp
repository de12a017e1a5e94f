#include "os/OS_SocketError.h"

#include "os/OS_Error.h"
#include "os/OS_Socket.h"

#include <cerrno>

namespace os {

std::uint32_t SocketErrorCode(int error) {
    switch (error) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINPROGRESS:
        return kSocketWouldBlock;
    case ECONNABORTED:
        return kSocketConnectionAborted;
    case ECONNRESET:
    case EPIPE:
        return kSocketConnectionReset;
    default:
        return error > 0 ? static_cast<std::uint32_t>(error) : 0u;
    }
}

std::uint32_t RecordSocketErrno() {
    const std::uint32_t code = SocketErrorCode(errno);
    SetLastError(code);
    return code;
}

void RecordSocketError(int error) { SetLastError(SocketErrorCode(error)); }

}  // namespace os
