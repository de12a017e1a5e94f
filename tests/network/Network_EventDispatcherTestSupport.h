#pragma once

#include "network/Network_Event.h"
#include "network/Network_EventDispatcher.h"
#include "network/Network_Message.h"
#include "pal/PAL_ThreadManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <numeric>
#include <vector>

namespace dispatchtest {

// An event whose socket id tells it apart; with a payload length it carries
// a message of that many bytes.
inline Network::Tun_Event NumberedEvent(std::int32_t id, std::int64_t payloadLength = -1) {
    Network::Tun_Event event(Network::Tun_Event_Kind::SocketClosed, nullptr, id, Network::Tun_Address());
    if (payloadLength >= 0) {
        static const std::vector<std::uint8_t> payload(Network::kMaxPayloadLength, 0x5A);
        event.kind = Network::Tun_Event_Kind::MessageReceived;
        event.AttachMessage(Network::BuildMessage(7, payload.data(), static_cast<std::uint32_t>(payloadLength)));
    }
    return event;
}

// The ids of the events handed over, in order; the handler frees each message
// as a session's does.
class Recorder {
public:
    Network::EventDispatcher::Handler Handler() {
        return [this](Network::Tun_Event* event) {
            Add(event->socketId);
            Network::DeliverEvent(event);
        };
    }
    void Add(std::int32_t id) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_ids.push_back(id);
    }
    std::vector<std::int32_t> Ids() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_ids;
    }
    std::size_t Count() { return Ids().size(); }

private:
    std::mutex m_lock;
    std::vector<std::int32_t> m_ids;
};

using ThreadBody = std::function<void(ManagedThread* thread)>;

// The most 1 ms sleeps a test waits for its threads: only a loaded machine
// takes long.
constexpr std::uint32_t kThreadPatience = 10000;

// Runs the body on a managed thread, as the I/O thread posts from one. The
// body must outlive the thread: wait for the manager's count.
inline ManagedThread* StartManagedThread(ThreadManager& manager, const ThreadBody& body) {
    return manager.CreateThread(
        nullptr,
        +[](ManagedThread* thread) -> std::uint32_t {
            (*static_cast<const ThreadBody*>(thread->GetArgument()))(thread);
            return 0;
        },
        const_cast<ThreadBody*>(&body), 0, true, "test poster");
}

// Posts the events in order from a managed thread and waits for it.
inline std::vector<Network::PostResult> PostFromThread(Network::EventDispatcher& dispatcher,
                                                       std::vector<Network::Tun_Event> events) {
    std::vector<Network::PostResult> results;
    const ThreadBody body = [&](ManagedThread* thread) {
        for (Network::Tun_Event& event : events) {
            results.push_back(dispatcher.PostEvent(event, thread));
        }
    };
    ThreadManager manager;
    EXPECT_NE(StartManagedThread(manager, body), nullptr);
    EXPECT_TRUE(manager.WaitForThreads(kThreadPatience));
    // An event the full queue did not take still holds its message.
    Network::FreeEventList(events);
    return results;
}

inline std::vector<Network::Tun_Event> NumberedEvents(std::int32_t count) {
    std::vector<Network::Tun_Event> events;
    for (std::int32_t id = 0; id < count; ++id) {
        events.push_back(NumberedEvent(id, id % 2 == 0 ? id * 3 : -1));
    }
    return events;
}

inline std::vector<std::int32_t> Sequence(std::int32_t count) {
    std::vector<std::int32_t> ids(static_cast<std::size_t>(count));
    std::iota(ids.begin(), ids.end(), 0);
    return ids;
}

}  // namespace dispatchtest
