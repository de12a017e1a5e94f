#include "network/Network_Session.h"

#include "network/Network_IoThreadState.h"

#include <algorithm>

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
                // The held copy owns the message now.
                event = {};
            }
        } else {
            PostDatagram(*record, event, thread);
        }
    }
    // What is left was not queued nor held: datagrams without room.
    FreeEventList(m_io->gathered);
}

void Tun_Session::PostDatagram(Tun_Socket& socket, Tun_Event& event, ManagedThread* thread) {
    const std::uint32_t length = event.rawLength;
    if (m_queuedDatagramBytes.load(std::memory_order_relaxed) + length > kQueuedDatagramLimit) {
        return;
    }
    const DatagramShares::Sender sender = DatagramSenderOf(event.address);
    if (!m_datagramShares.Take(sender, length)) {
        return;
    }
    event.datagramSender = sender;
    if (PostMessage(socket, event, thread) != PostResult::Queued) {
        m_datagramShares.Give(sender, length);
    }
}

void Tun_Session::NoteConnectionPeers() {
    std::vector<DatagramShares::Sender>& peers = m_io->connectionPeers;
    peers.clear();
    for (const Records* records : {&m_sockets, &m_accepted}) {
        for (const std::unique_ptr<Tun_Socket>& record : *records) {
            // A connection still to be admitted, or on its way out, is
            // anyone's: its peer is a stranger like any other.
            const bool peer = record->IsStream() && record->connected.load() && !record->closing &&
                              !record->awaitingAdmission && !record->closeOnceSent;
            if (peer) {
                peers.push_back(record->accepted ? DatagramShares::ConnectionPeer(record->remoteAddress)
                                                 : DatagramShares::ChosenPeer(record->remoteAddress));
            }
        }
    }
}

DatagramShares::Sender Tun_Session::DatagramSenderOf(const Tun_Address& source) const {
    const std::vector<DatagramShares::Sender>& peers = m_io->connectionPeers;
    for (const DatagramShares::Sender peer : {DatagramShares::ChosenPeer(source), DatagramShares::ConnectionPeer(source)}) {
        if (std::find(peers.begin(), peers.end(), peer) != peers.end()) {
            return peer;
        }
    }
    return DatagramShares::Stranger(source);
}

bool Tun_Session::PostHeld(ManagedThread* thread) {
    bool holding = false;
    for (Records* records : {&m_sockets, &m_accepted}) {
        for (const std::unique_ptr<Tun_Socket>& record : *records) {
            if (record->closing) {
                continue;
            }
            Tun_EventList& held = record->held;
            std::size_t posted = 0;
            while (posted < held.size() && PostMessage(*record, held[posted], thread) != PostResult::Full) {
                ++posted;
            }
            held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(posted));
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
