#include "network/Network_Session.h"

#include "network/Network_IoThreadState.h"

namespace Network {

PostResult Tun_Session::PostMessage(Tun_Socket& record, Tun_Event& event, ManagedThread* thread) {
    // Counted first: the handler may take the event before PostEvent returns.
    const std::uint32_t length = event.rawLength;
    const std::size_t datagramLength = record.IsStream() ? 0 : length;
    record.AddUndelivered(length);
    m_queuedDatagramBytes.fetch_add(datagramLength, std::memory_order_relaxed);
    const PostResult result = m_dispatcher.PostEvent(event, thread);
    if (result != PostResult::Queued) {
        record.RemoveUndelivered(length);
        m_queuedDatagramBytes.fetch_sub(datagramLength, std::memory_order_relaxed);
    }
    return result;
}

void Tun_Session::PostGathered(ManagedThread* thread) {
    for (Tun_Event& event : m_io->gathered) {
        Tun_Socket* record = event.kind == Tun_Event_Kind::MessageReceived ? event.detail : nullptr;
        if (record == nullptr) {
            m_dispatcher.PostEvent(event, thread);
        } else if (record->IsStream()) {
            // A stream that lost a message would have lost its framing: what
            // the queue cannot take waits, and so does all that follows it.
            if (!record->held.empty() || PostMessage(*record, event, thread) == PostResult::Full) {
                record->held.push_back(event);
            }
        } else if (m_queuedDatagramBytes.load(std::memory_order_relaxed) + event.rawLength > kQueuedDatagramLimit ||
                   PostMessage(*record, event, thread) == PostResult::Full) {
            RawMessage dropped = event.DetachMessage();
            FreeMessage(dropped);
        }
    }
    m_io->gathered.clear();
}

bool Tun_Session::PostHeld(ManagedThread* thread) {
    bool holding = false;
    for (Records* records : {&m_sockets, &m_accepted}) {
        for (const std::unique_ptr<Tun_Socket>& record : *records) {
            if (record->closing) {
                continue;
            }
            std::deque<Tun_Event>& held = record->held;
            while (!held.empty() && PostMessage(*record, held.front(), thread) != PostResult::Full) {
                held.pop_front();
            }
            if (!held.empty()) {
                holding = true;
            } else if (record->ended) {
                QueueClose(*record, nullptr);
            }
        }
    }
    return holding;
}

}  // namespace Network
