#pragma once

#include "core/Core_Object.h"
#include "network/Network_Address.h"
#include "network/Network_Message.h"
#include "pal/PAL_MutexLock.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <pthread.h>

#include <cstdint>

class ThreadManager;

namespace Network {

// Where a host's announcements go: its local address (host order) with the
// trailing bytes set to 255 as far as the scope reaches. Scope 1 is the
// a.b.c.255 net, 2 a.b.255.255, 3 a.255.255.255; any other scope is
// 255.255.255.255.
std::uint32_t BroadcastAddress(std::uint32_t localAddress, std::int32_t scope);

// The announcement a host sends at a fixed interval from its broadcast
// thread, and where it goes. The session owns it and frees it only after the
// thread has ended; the thread and SetPayload share the message under the
// mutex.
class Tun_Broadcast_Data : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Tun_Broadcast_Data);

public:
    Tun_Broadcast_Data() = default;
    ~Tun_Broadcast_Data() override;
    Tun_Broadcast_Data(const Tun_Broadcast_Data&) = delete;
    Tun_Broadcast_Data& operator=(const Tun_Broadcast_Data&) = delete;

    // Makes the message and the mutex (through threads, which must outlive
    // this object). False, with nothing made, when either fails or the
    // payload is longer than a message may carry.
    bool Create(ThreadManager& threads, const Tun_Address& destination, std::uint32_t intervalMilliseconds,
                std::uint32_t type, const void* payload, std::uint32_t length);

    // Replaces the payload, keeping the type; a payload that fits reuses the
    // buffer. False, message unchanged, when it is too long or memory is
    // short.
    bool SetPayload(const void* payload, std::uint32_t length);

    // Calls send(type, payload, payload length) under the mutex, so that the
    // message cannot change while it goes out.
    template <class Send>
    void Announce(const Send& send) const {
        const MutexLock lock(m_mutex);
        send(m_type, m_message.bytes + kMessageHeaderSize, m_length - kMessageHeaderSize);
    }

    const Tun_Address& GetDestination() const { return m_destination; }
    std::uint32_t GetInterval() const { return m_interval; }

private:
    ThreadManager* m_threads = nullptr;
    pthread_mutex_t* m_mutex = nullptr;
    RawMessage m_message;
    // Bytes of the message in use; the buffer may be longer after a payload
    // shrank.
    std::uint32_t m_length = 0;
    std::uint32_t m_type = 0;
    std::uint32_t m_interval = 0;
    Tun_Address m_destination;
};

}  // namespace Network
