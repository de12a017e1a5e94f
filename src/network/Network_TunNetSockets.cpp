#include "network/Network_TunNet.h"

#include "core/Core_ErrorLog.h"
#include "network/Network_Session.h"
#include "os/OS_Error.h"
#include "os/OS_Socket.h"

#include <string>

namespace Tundra {
namespace {

constexpr auto kStream = static_cast<std::int32_t>(os::SocketType::Stream);
constexpr auto kDatagram = static_cast<std::int32_t>(os::SocketType::Datagram);
// Game datagram sockets never block the main thread.
constexpr std::uint32_t kDatagramOptions = os::kSocketOptionNonBlocking;
// Ports tried for one pair. The system picks each datagram port at random
// among those free for datagrams, so a stream finds them taken again and
// again only where other programs hold streams on nearly all of them.
constexpr int kSharedPortAttempts = 64;

std::string LastErrorText() { return os::ErrorText(os::GetLastError()); }

std::string EndpointText(const Network::Tun_Address& address) {
    return os::FormatIPv4(address.GetIPv4()) + ":" + std::to_string(address.GetPort());
}

}  // namespace

void TunNet::LogJoinFailure(const Network::Tun_Address& sessionAddress, std::string_view why) {
    Core::LogError("join of " + EndpointText(sessionAddress) + " failed: " + std::string(why));
}

bool TunNet::OpenOnSharedPort(std::int32_t datagramId, const Network::Tun_Address& address,
                              const std::function<bool(const Network::Tun_Address&)>& openStream,
                              std::string& failure) {
    // The datagram socket chooses: a port the system gives a stream (an odd
    // one, on Linux) may be held for datagrams by any program, and the
    // system's next pick for a stream may well be held too.
    for (int attempt = 0; attempt < kSharedPortAttempts; ++attempt) {
        Network::Tun_Address shared;
        if (m_session->OpenSocket(datagramId, kDatagram, address, Network::kServiceByIoThread, kDatagramOptions) ==
                nullptr ||
            !m_session->GetLocalAddress(datagramId, shared)) {
            failure = "no datagram socket: " + LastErrorText();
            m_session->CloseSocket(datagramId, false);
            return false;
        }
        if (openStream(shared)) {
            return true;
        }
        const std::uint32_t error = os::GetLastError();
        m_session->CloseSocket(datagramId, false);
        if (!os::IsAddressInUse(error)) {
            failure = "no stream socket on " + EndpointText(shared) + ": " + os::ErrorText(error);
            return false;
        }
    }
    failure = "no port free for both a stream and a datagram socket in " + std::to_string(kSharedPortAttempts) +
              " tries";
    return false;
}

bool TunNet::OpenHostSockets(std::uint32_t backlog, Network::Tun_Address& hostAddress) {
    const Network::Tun_Address gameAddress(m_session->GetLocalIpText().c_str(), m_gamePort);
    const auto startServer = [&](const Network::Tun_Address& address) {
        return m_session->StartServer(address, static_cast<std::int32_t>(backlog));
    };
    std::string failure = "no address of the listening socket";
    bool opened = false;
    if (m_gamePort == 0) {
        opened = OpenOnSharedPort(kHostDatagramSocket, gameAddress, startServer, failure) &&
                 m_session->GetLocalAddress(kHostStreamSocket, hostAddress);
    } else if (!startServer(gameAddress)) {
        failure = "no listening socket: " + LastErrorText();
    } else {
        // A port the host was given is its to keep or lose, datagrams too.
        opened = m_session->GetLocalAddress(kHostStreamSocket, hostAddress) &&
                 m_session->OpenSocket(kHostDatagramSocket, kDatagram, hostAddress, Network::kServiceByIoThread,
                                       kDatagramOptions) != nullptr;
        failure = "no datagram socket: " + LastErrorText();
    }
    if (!opened) {
        Core::LogError("hosting on " + EndpointText(gameAddress) + " failed: " + failure);
        m_session->CloseSocket(kHostDatagramSocket, false);
        m_session->StopServer(false);
    }
    return opened;
}

bool TunNet::OpenClientSockets(const Network::Tun_Address& sessionAddress, Network::Tun_Address& streamAddress) {
    std::uint32_t sourceIPv4 = 0;
    if (!os::GetSourceAddressToward(sessionAddress.GetSocketAddress(), &sourceIPv4)) {
        LogJoinFailure(sessionAddress, "no local address leads there: " + LastErrorText());
        return false;
    }
    // Bound before it connects, the stream leaves from the datagram socket's
    // port: the player's one address serves both.
    const auto openStream = [this](const Network::Tun_Address& address) {
        return m_session->OpenSocket(kClientStreamSocket, kStream, address, 0, 0) != nullptr;
    };
    std::string failure;
    if (!OpenOnSharedPort(kClientDatagramSocket,
                          Network::Tun_Address::FromSocketAddress(os::MakeSocketAddress(sourceIPv4, 0)), openStream,
                          failure)) {
        LogJoinFailure(sessionAddress, failure);
        return false;
    }
    if (!m_session->Connect(kClientStreamSocket, sessionAddress, s_joinWaitLimitMilliseconds) ||
        !m_session->GetLocalAddress(kClientStreamSocket, streamAddress)) {
        LogJoinFailure(sessionAddress, "no connection: " + LastErrorText());
        m_session->CloseSocket(kClientDatagramSocket, false);
        CloseClientStream();
        return false;
    }
    return true;
}

}  // namespace Tundra
