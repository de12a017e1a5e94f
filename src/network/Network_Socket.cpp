#include "network/Network_Socket.h"

#include "pal/PAL_MutexLock.h"
#include "pal/PAL_ThreadManager.h"

#include <algorithm>
#include <new>

namespace Network {

Tun_Socket::~Tun_Socket() { FreeEventList(held); }

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

OutputSource ForwardedOutputSource(const Tun_Address& peer) {
    // Never kOwnOutput, whatever the endpoint.
    return (std::uint64_t{1} << 48) | peer.GetEndpointKey();
}

bool Tun_Socket::AppendOutput(const std::uint8_t* bytes, std::size_t length, OutputSource source) {
    if (GetOutputSize() + length > kMaxWaitingOutput) {
        return false;
    }
    if (GetOutputSize() == 0) {
        m_outputMovedAt = std::chrono::steady_clock::now();
    }
    try {
        if (m_outputStart > 0) {
            m_output.erase(m_output.begin(), m_output.begin() + static_cast<std::ptrdiff_t>(m_outputStart));
            m_outputStart = 0;
        }
        m_output.insert(m_output.end(), bytes, bytes + length);
        if (!m_outputStretches.empty() && m_outputStretches.back().source == source) {
            m_outputStretches.back().length += length;
        } else {
            m_outputStretches.push_back({source, length});
        }
        if (source != kOwnOutput) {
            if (const std::size_t total = ForwardedTotalIndex(source); total < m_forwardedTotals.size()) {
                m_forwardedTotals[total].length += length;
            } else {
                m_forwardedTotals.push_back({source, length});
            }
        }
    } catch (const std::bad_alloc&) {
        // A failed append closes the connection: who its output was for no
        // longer matters.
        m_outputStretches.clear();
        m_forwardedTotals.clear();
        m_hasOutput.store(!m_output.empty(), std::memory_order_release);
        return false;
    }
    m_hasOutput.store(!m_output.empty(), std::memory_order_release);
    return true;
}

void Tun_Socket::ConsumeOutput(std::size_t length) {
    if (length > 0) {
        m_outputMovedAt = std::chrono::steady_clock::now();
    }
    m_outputStart += length;
    if (m_outputStart >= m_output.size()) {
        m_output.clear();
        m_outputStart = 0;
        m_outputStretches.clear();
        m_forwardedTotals.clear();
    }
    while (length > 0 && !m_outputStretches.empty()) {
        OutputStretch& front = m_outputStretches.front();
        const std::size_t taken = std::min(front.length, length);
        if (front.source != kOwnOutput) {
            // Every forwarded stretch waiting is counted in its source's total.
            const std::size_t total = ForwardedTotalIndex(front.source);
            m_forwardedTotals[total].length -= taken;
            if (m_forwardedTotals[total].length == 0) {
                m_forwardedTotals.erase(m_forwardedTotals.begin() + static_cast<std::ptrdiff_t>(total));
            }
        }
        front.length -= taken;
        length -= taken;
        if (front.length == 0) {
            m_outputStretches.pop_front();
        }
    }
    m_hasOutput.store(!m_output.empty(), std::memory_order_release);
}

std::size_t Tun_Socket::GetOutputFrom(OutputSource source) const {
    const std::size_t total = ForwardedTotalIndex(source);
    return total < m_forwardedTotals.size() ? m_forwardedTotals[total].length : 0;
}

std::size_t Tun_Socket::ForwardedTotalIndex(OutputSource source) const {
    const auto total = std::find_if(m_forwardedTotals.begin(), m_forwardedTotals.end(),
                                    [source](const OutputStretch& each) { return each.source == source; });
    return static_cast<std::size_t>(total - m_forwardedTotals.begin());
}

}  // namespace Network
