#pragma once

#include <cstdint>

// The socket layer's own: errno as the last error, with the codes that
// callers test mapped to their fixed values.
namespace os {

std::uint32_t SocketErrorCode(int error);
// Records errno; returns the recorded code.
std::uint32_t RecordSocketErrno();
void RecordSocketError(int error);

}  // namespace os
