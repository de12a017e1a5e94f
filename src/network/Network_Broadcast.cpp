#include "network/Network_Broadcast.h"

#include "pal/PAL_ThreadManager.h"

namespace Network {

std::uint32_t BroadcastAddress(std::uint32_t localAddress, std::int32_t scope) {
    switch (scope) {
        case 1:
            return localAddress | 0x000000FFu;
        case 2:
            return localAddress | 0x0000FFFFu;
        case 3:
            return localAddress | 0x00FFFFFFu;
        default:
            return 0xFFFFFFFFu;
    }
}

Tun_Broadcast_Data::~Tun_Broadcast_Data() {
    FreeMessage(m_message);
    if (m_threads != nullptr) {
        m_threads->DestroyMutex(m_mutex);
    }
}

bool Tun_Broadcast_Data::Create(ThreadManager& threads, const Tun_Address& destination,
                                std::uint32_t intervalMilliseconds, std::uint32_t type, const void* payload,
                                std::uint32_t length) {
    if (m_mutex != nullptr || (payload == nullptr && length > 0)) {
        return false;
    }
    RawMessage message = BuildMessage(type, payload, length);
    if (message.bytes == nullptr) {
        return false;
    }
    pthread_mutex_t* mutex = threads.CreateMutex(0);
    if (mutex == nullptr) {
        FreeMessage(message);
        return false;
    }
    m_threads = &threads;
    m_mutex = mutex;
    m_message = message;
    m_length = message.length;
    m_type = type;
    m_interval = intervalMilliseconds;
    m_destination = destination;
    return true;
}

bool Tun_Broadcast_Data::SetPayload(const void* payload, std::uint32_t length) {
    if (length > kMaxPayloadLength || (payload == nullptr && length > 0)) {
        return false;
    }
    if (m_message.bytes == nullptr) {
        return false;
    }
    const MutexLock lock(m_mutex);
    const std::uint32_t total = length + kMessageHeaderSize;
    if (total > m_message.length) {
        RawMessage larger = AllocateMessage(total);
        if (larger.bytes == nullptr) {
            return false;
        }
        FreeMessage(m_message);
        m_message = larger;
    }
    WriteMessage(m_message.bytes, m_type, payload, length);
    m_length = total;
    return true;
}

}  // namespace Network

TUN_DEFINE_UNCLONABLE_CLASS(Network::Tun_Broadcast_Data)
