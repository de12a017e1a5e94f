#include "network/Network_Socket.h"

#include "pal/PAL_MutexLock.h"
#include "pal/PAL_ThreadManager.h"

#include <new>

namespace Network {

bool Tun_Socket::EnsureBuffer(BufferIndex index, std::size_t size) {
    std::vector<std::uint8_t>& buffer = m_buffers[index];
    if (buffer.size() >= size) {
        return true;
    }
    try {
        std::vector<std::uint8_t> fresh(size);
        buffer.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Tun_Socket::CreateLocks(ThreadManager& threads) {
    m_receiveLock = threads.CreateMutex(0);
    m_sendLock = threads.CreateMutex(0);
    m_countLock = threads.CreateMutex(0);
    if (m_receiveLock == nullptr || m_sendLock == nullptr || m_countLock == nullptr) {
        DestroyLocks(threads);
        return false;
    }
    return true;
}

void Tun_Socket::DestroyLocks(ThreadManager& threads) {
    threads.DestroyMutex(m_receiveLock);
    threads.DestroyMutex(m_sendLock);
    threads.DestroyMutex(m_countLock);
    m_receiveLock = nullptr;
    m_sendLock = nullptr;
    m_countLock = nullptr;
}

void Tun_Socket::AddUser() {
    const MutexLock lock(m_countLock);
    ++m_userCount;
}

void Tun_Socket::RemoveUser() {
    const MutexLock lock(m_countLock);
    --m_userCount;
}

std::int32_t Tun_Socket::GetUserCount() const {
    const MutexLock lock(m_countLock);
    return m_userCount;
}

bool Tun_Socket::AppendOutput(const std::uint8_t* bytes, std::size_t length) {
    if (GetOutputSize() + length > kMaxWaitingOutput) {
        return false;
    }
    try {
        if (m_outputStart > 0) {
            m_output.erase(m_output.begin(), m_output.begin() + static_cast<std::ptrdiff_t>(m_outputStart));
            m_outputStart = 0;
        }
        m_output.insert(m_output.end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_hasOutput.store(!m_output.empty(), std::memory_order_release);
    return true;
}

void Tun_Socket::ConsumeOutput(std::size_t length) {
    m_outputStart += length;
    if (m_outputStart >= m_output.size()) {
        m_output.clear();
        m_outputStart = 0;
    }
    m_hasOutput.store(!m_output.empty(), std::memory_order_release);
}

}  // namespace Network
