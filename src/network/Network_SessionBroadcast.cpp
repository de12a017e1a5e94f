#include "network/Network_Broadcast.h"
#include "network/Network_Session.h"
#include "os/OS_Socket.h"
#include "pal/PAL_ManagedThread.h"
#include "pal/PAL_ThreadManager.h"

namespace Network {

namespace {

constexpr std::int32_t kBroadcastSocket = 0;
constexpr std::int32_t kDiscoverySocket = 1;
constexpr std::int32_t kServerSocket = 2;
constexpr auto kStream = static_cast<std::int32_t>(os::SocketType::Stream);
constexpr auto kDatagram = static_cast<std::int32_t>(os::SocketType::Datagram);
// Socket 0 sends the announcements, socket 1 hears them.
constexpr std::uint32_t kBroadcastOptions =
    os::kSocketOptionBroadcast | os::kSocketOptionReuseAddress | os::kSocketOptionNonBlocking;

}  // namespace

bool Tun_Session::StartBroadcast(std::uint16_t port, std::int32_t scope, std::uint32_t intervalMilliseconds,
                                 std::uint32_t messageType, const void* payload, std::uint32_t length,
                                 std::int32_t priority) {
    // An interval of 0 would send without pause.
    if (m_broadcastData || !m_open || intervalMilliseconds == 0 || length > kMaxPayloadLength ||
        (payload == nullptr && length > 0)) {
        return false;
    }
    if (OpenSocket(kBroadcastSocket, kDatagram, Tun_Address(), 0, kBroadcastOptions) == nullptr) {
        return false;
    }
    const Tun_Address destination = Tun_Address::FromSocketAddress(
        os::MakeSocketAddress(BroadcastAddress(m_localAddress.GetIPv4(), scope), port));
    if (ThreadManager::WriteLock(m_listLock)) {
        if (Tun_Socket* record = FindSocket(kBroadcastSocket)) {
            record->remoteAddress = destination;
        }
        ThreadManager::UnlockReadWriteLock(m_listLock);
    }
    Core::RefPtr<Tun_Broadcast_Data> data(TUN_NEW(Tun_Broadcast_Data));
    if (!data->Create(m_threads, destination, intervalMilliseconds, messageType, payload, length)) {
        CloseSocket(kBroadcastSocket, false);
        return false;
    }
    m_broadcastData = data.Get();
    m_broadcastEnded = false;
    m_broadcastThread = m_threads.CreateThread(nullptr, &BroadcastThread, this, priority, false, "broadcast");
    if (m_broadcastThread == nullptr) {
        m_broadcastData = nullptr;
        CloseSocket(kBroadcastSocket, false);
        return false;
    }
    return true;
}

bool Tun_Session::SetBroadcastPayload(const void* payload, std::uint32_t length) {
    return m_broadcastData && static_cast<Tun_Broadcast_Data&>(*m_broadcastData).SetPayload(payload, length);
}

std::uint32_t Tun_Session::BroadcastThread(ManagedThread* thread) {
    auto* session = static_cast<Tun_Session*>(thread->GetArgument());
    const auto& data = static_cast<const Tun_Broadcast_Data&>(*session->m_broadcastData);
    // The first announcement goes out at once; the send never waits (socket 0
    // does not block) and a failed one waits for the next interval.
    while (ManagedThread::ShouldRun(thread)) {
        data.Announce([&](std::uint32_t type, const std::uint8_t* payload, std::uint32_t length) {
            session->SendMessage(kBroadcastSocket, type, payload, length, data.GetDestination());
        });
        if (!SleepUnlessStopped(data.GetInterval(), thread)) {
            break;
        }
    }
    session->ReportThreadEnded(session->m_broadcastEnded);
    return 0;
}

bool Tun_Session::OpenUdpSocket(std::uint16_t port) {
    return OpenSocket(kDiscoverySocket, kDatagram, Tun_Address(nullptr, port), kServiceByIoThread,
                      kBroadcastOptions) != nullptr;
}

bool Tun_Session::CloseDiscoverySocket(bool wait) { return CloseSocket(kDiscoverySocket, wait); }

bool Tun_Session::StartServer(const Tun_Address& bindAddress, std::int32_t backlog) {
    if (m_listening) {
        return false;
    }
    if (OpenSocket(kServerSocket, kStream, bindAddress, kServiceByIoThread, os::kSocketOptionNonBlocking) == nullptr) {
        return false;
    }
    if (!Listen(kServerSocket, backlog)) {
        CloseSocket(kServerSocket, false);
        return false;
    }
    if (ThreadManager::WriteLock(m_listLock)) {
        if (Tun_Socket* server = FindSocket(kServerSocket); server != nullptr) {
            server->admissionLimit = m_admissionLimit;
            server->joinRequestCheck = m_joinRequestCheck;
        }
        ThreadManager::UnlockReadWriteLock(m_listLock);
    }
    m_listening = true;
    return true;
}

bool Tun_Session::AdmitPeer(const Tun_Address& peer) {
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* connection = FindAccepted(kServerSocket, peer);
    if (connection != nullptr) {
        connection->awaitingAdmission = false;
        connection->messageLengthLimit.store(kMaxMessageLength, std::memory_order_release);
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    return connection != nullptr;
}

bool Tun_Session::StopServer(bool wait) {
    const bool closed = CloseSocket(kServerSocket, wait);
    if (closed) {
        m_listening = false;
    }
    return closed;
}

}  // namespace Network
