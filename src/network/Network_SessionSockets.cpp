#include "network/Network_Session.h"

#include "network/Network_IoThreadState.h"

#include <algorithm>
#include <cassert>

namespace Network {

Tun_Socket* Tun_Session::FindSocket(std::int32_t id) const {
    for (const std::unique_ptr<Tun_Socket>& record : m_sockets) {
        if (record->id == id && !record->closing) {
            return record.get();
        }
    }
    return nullptr;
}

Tun_Socket* Tun_Session::FindAccepted(std::int32_t id, const Tun_Address& peer) const {
    for (const std::unique_ptr<Tun_Socket>& record : m_accepted) {
        if (record->id == id && !record->closing && record->remoteAddress.SameEndpoint(peer)) {
            return record.get();
        }
    }
    return nullptr;
}

Tun_Socket* Tun_Session::UseSocket(std::int32_t id) {
    if (!ThreadManager::ReadLock(m_listLock)) {
        return nullptr;
    }
    Tun_Socket* record = FindSocket(id);
    if (record != nullptr) {
        record->AddUser();
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    return record;
}

void Tun_Session::WakeIoThread() {
    if (m_io != nullptr) {
        m_io->Wake();
    }
}

Tun_Socket* Tun_Session::OpenSocket(std::int32_t id, std::int32_t type, const Tun_Address& bindAddress,
                                    std::uint32_t serviceFlags, std::uint32_t optionFlags) {
    if (m_closing.load() || (type != static_cast<std::int32_t>(os::SocketType::Stream) &&
                             type != static_cast<std::int32_t>(os::SocketType::Datagram))) {
        return nullptr;
    }
    if (!ThreadManager::WriteLock(m_listLock)) {
        return nullptr;
    }
    Tun_Socket* opened = nullptr;
    if (FindSocket(id) == nullptr) {
        const auto socketType = static_cast<os::SocketType>(type);
        auto record = std::make_unique<Tun_Socket>();
        const os::SocketHandle handle = os::OpenSocket(socketType);
        // A host's state tick comes as a burst of a datagram per object:
        // the socket holds as much as the queue takes of datagrams, so that
        // a burst waits there while the I/O thread catches up instead of
        // being dropped by the system.
        const bool servedDatagrams =
            socketType == os::SocketType::Datagram && (serviceFlags & kServiceByIoThread) != 0;
        // Options before the bind: a shared port (SO_REUSEADDR) is settled
        // by the bind.
        if (handle != os::kInvalidSocket && os::ApplySocketOptions(handle, socketType, optionFlags) &&
            (!servedDatagrams || os::RequestReceiveBuffer(handle, kQueuedDatagramLimit)) &&
            os::BindSocket(handle, bindAddress.GetSocketAddress()) && record->CreateLocks(m_threads)) {
            record->handle = handle;
            record->type = type;
            record->id = id;
            // The address as asked for, text included; GetLocalAddress
            // gives the bound one.
            record->localAddress = bindAddress;
            record->serviceFlags.store(serviceFlags);
            record->optionFlags = optionFlags;
            opened = record.get();
            m_sockets.push_back(std::move(record));
        }
        if (opened == nullptr && handle != os::kInvalidSocket) {
            os::CloseSocket(handle);
        }
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    if (opened == nullptr) {
        return nullptr;
    }
    WakeIoThread();
    Tun_Event event = MakeEvent(Tun_Event_Kind::SocketOpened, id, Tun_Address());
    DeliverEvent(&event);
    return opened;
}

void Tun_Session::QueueClose(Tun_Socket& record, Tun_CloseCompletion* completion) {
    record.closing = true;
    Tun_Event request(Tun_Event_Kind::CloseRequest, this, record.id, record.remoteAddress);
    request.detail = &record;
    request.completion = completion;
    request.failed = record.accepted ? 1 : 0;
    m_closeRequests.push_back(request);
}

bool Tun_Session::CloseSocket(std::int32_t id, bool wait) { return ClosePeerOrSocket(id, nullptr, wait); }

bool Tun_Session::ClosePeer(std::int32_t id, const Tun_Address& peer, bool wait) {
    return ClosePeerOrSocket(id, &peer, wait);
}

bool Tun_Session::ClosePeerOnceSent(std::int32_t id, const Tun_Address& peer) {
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* connection = FindAccepted(id, peer);
    if (connection != nullptr) {
        connection->closeOnceSent = true;
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    if (connection == nullptr) {
        return false;
    }
    WakeIoThread();
    return true;
}

bool Tun_Session::ClosePeerOrSocket(std::int32_t id, const Tun_Address* peer, bool wait) {
    if (wait && !MayWaitHere()) {
        assert(!"a close is waited for on the thread that carries it out or delivers its event");
        return false;
    }
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* record = peer != nullptr ? FindAccepted(id, *peer) : FindSocket(id);
    Tun_CloseCompletion completion;
    if (record != nullptr) {
        QueueClose(*record, wait ? &completion : nullptr);
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    if (record == nullptr) {
        return false;
    }
    WakeIoThread();
    if (wait) {
        completion.Wait();
    }
    return true;
}

void Tun_Session::CloseBroken(Tun_Socket& record) {
    if (!ThreadManager::WriteLock(m_listLock)) {
        return;
    }
    if (!record.closing) {
        QueueClose(record, nullptr);
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    WakeIoThread();
}

bool Tun_Session::Connect(std::int32_t id, const Tun_Address& destination, std::uint32_t waitLimitMilliseconds) {
    if (m_closing.load() || !ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* record = FindSocket(id);
    if (record == nullptr) {
        ThreadManager::UnlockReadWriteLock(m_listLock);
        return false;
    }
    if (record->IsNonBlocking()) {
        const bool queued = std::any_of(m_connectRequests.begin(), m_connectRequests.end(),
                                        [record](const Tun_Event& request) { return request.detail == record; });
        if (!queued) {
            Tun_Event request(Tun_Event_Kind::ConnectRequest, this, id, destination);
            request.detail = record;
            m_connectRequests.push_back(request);
        }
        ThreadManager::UnlockReadWriteLock(m_listLock);
        WakeIoThread();
        return !queued;
    }
    record->AddUser();
    ThreadManager::UnlockReadWriteLock(m_listLock);
    const bool connected = os::ConnectWithin(record->handle, destination.GetSocketAddress(), waitLimitMilliseconds);
    if (connected && ThreadManager::WriteLock(m_listLock)) {
        record->remoteAddress = destination;
        record->connected.store(true, std::memory_order_release);
        ThreadManager::UnlockReadWriteLock(m_listLock);
        WakeIoThread();
    }
    record->RemoveUser();
    return connected;
}

bool Tun_Session::Listen(std::int32_t id, std::int32_t backlog) {
    Tun_Socket* record = UseSocket(id);
    if (record == nullptr) {
        return false;
    }
    const bool listening = os::ListenSocket(record->handle, backlog);
    record->RemoveUser();
    // A listening socket the I/O thread serves is watched from now on.
    WakeIoThread();
    return listening;
}

bool Tun_Session::GetLocalAddress(std::int32_t id, Tun_Address& address) {
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* record = FindSocket(id);
    os::SocketAddress bound{};
    if (record != nullptr && os::GetSocketLocalAddress(record->handle, &bound)) {
        record->localAddress.SetFromSocketAddress(bound);
    }
    if (record != nullptr) {
        address = record->localAddress;
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    return record != nullptr;
}

bool Tun_Session::GetRemoteAddress(std::int32_t id, Tun_Address& address) {
    if (!ThreadManager::ReadLock(m_listLock)) {
        return false;
    }
    const Tun_Socket* record = FindSocket(id);
    if (record != nullptr) {
        address = record->remoteAddress;
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    return record != nullptr;
}

bool Tun_Session::SetServiceFlags(std::int32_t id, std::uint32_t flags) {
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    Tun_Socket* record = FindSocket(id);
    if (record != nullptr) {
        record->serviceFlags.store(flags);
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    WakeIoThread();
    return record != nullptr;
}

}  // namespace Network
