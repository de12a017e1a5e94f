#include "network/Network_IoThreadState.h"

#include "network/Network_Socket.h"

namespace Network {

void IoThreadState::ClearWatches() {
    m_entries.clear();
    m_watches.clear();
}

void IoThreadState::AddWatch(Tun_Socket& record, Purpose purpose) {
    os::PollEntry entry;
    entry.handle = record.handle;
    entry.wanted = purpose == Purpose::Read ? os::kPollReadable : os::kPollWritable;
    m_entries.push_back(entry);
    m_watches.push_back({&record, purpose});
}

bool IoThreadState::IsWatched(const Tun_Socket& record, Purpose purpose) const {
    for (const Watch& watch : m_watches) {
        if (watch.record == &record && watch.purpose == purpose) {
            return true;
        }
    }
    return false;
}

int IoThreadState::Wait(std::int32_t timeoutMs) {
    const int ready = os::PollSockets(m_entries.data(), m_entries.size(), &m_wakeUp, timeoutMs, nullptr);
    return ready > 0 ? ready : 0;
}

}  // namespace Network
