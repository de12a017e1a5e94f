#pragma once

#include "network/Network_Session.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace Network {

// What tests may see of a session beyond its interface.
struct SessionTestAccess {
    // While one lives, the session's I/O thread begins no pass (it ends the
    // one under way): what arrives waits in the sockets. Nothing else of the
    // session may be called meanwhile.
    class IoThreadHold {
    public:
        explicit IoThreadHold(Tun_Session& session) : m_lock(session.m_listLock) { ThreadManager::WriteLock(m_lock); }
        ~IoThreadHold() { ThreadManager::UnlockReadWriteLock(m_lock); }
        IoThreadHold(const IoThreadHold&) = delete;
        IoThreadHold& operator=(const IoThreadHold&) = delete;

    private:
        pthread_rwlock_t* m_lock;
    };

    // Passes the I/O thread has begun: an idle session makes next to none.
    static std::uint64_t GetIoPassCount(const Tun_Session& session) {
        return session.m_ioPasses.load(std::memory_order_relaxed);
    }
    // How long StartServer's later connections may wait to be admitted.
    static void SetAdmissionLimit(Tun_Session& session, std::chrono::milliseconds limit) {
        session.m_admissionLimit = limit;
    }
    // How long an accepted connection's waiting output may take no byte.
    static void SetStalledOutputLimit(Tun_Session& session, std::chrono::milliseconds limit) {
        session.m_stalledOutputLimit.store(limit.count(), std::memory_order_relaxed);
    }
    // Callers using the socket now, this one not counted; 0 when there is
    // none.
    static std::int32_t GetOtherUsers(Tun_Session& session, std::int32_t id) {
        Tun_Socket* socket = session.UseSocket(id);
        if (socket == nullptr) {
            return 0;
        }
        const std::int32_t users = socket->GetUserCount() - 1;
        socket->RemoveUser();
        return users;
    }
    // The socket's system handle, for asking the system about it;
    // kInvalidSocket when there is none.
    static os::SocketHandle GetHandle(Tun_Session& session, std::int32_t id) {
        Tun_Socket* socket = session.UseSocket(id);
        if (socket == nullptr) {
            return os::kInvalidSocket;
        }
        const os::SocketHandle handle = socket->handle;
        socket->RemoveUser();
        return handle;
    }
    // Bytes of the socket's messages still waiting to be written.
    static std::size_t GetWaitingOutput(Tun_Session& session, std::int32_t id) {
        Tun_Socket* socket = session.UseSocket(id);
        if (socket == nullptr) {
            return 0;
        }
        ThreadManager::LockMutex(socket->GetSendLock());
        const std::size_t waiting = socket->GetOutputSize();
        ThreadManager::UnlockMutex(socket->GetSendLock());
        socket->RemoveUser();
        return waiting;
    }
};

}  // namespace Network
