#include "network/Network_DatagramShares.h"

namespace Network {
namespace {

using Sender = DatagramShares::Sender;

// The kind of sender stands above the address and port.
constexpr Sender kKindMask = ~((Sender{1} << 48) - 1);
constexpr Sender kConnectionPeerKind = Sender{1} << 48;
constexpr Sender kStrangerKind = Sender{2} << 48;
// Every stranger together; no endpoint gives this key.
constexpr Sender kAllStrangers = Sender{3} << 48;
constexpr Sender kChosenPeerKind = Sender{4} << 48;

bool IsStranger(Sender sender) { return (sender & kKindMask) == kStrangerKind; }
bool IsChosenPeer(Sender sender) { return (sender & kKindMask) == kChosenPeerKind; }

}  // namespace

DatagramShares::Sender DatagramShares::ConnectionPeer(const Tun_Address& peer) {
    return kConnectionPeerKind | peer.GetEndpointKey();
}

DatagramShares::Sender DatagramShares::ChosenPeer(const Tun_Address& peer) {
    return kChosenPeerKind | peer.GetEndpointKey();
}

DatagramShares::Sender DatagramShares::Stranger(const Tun_Address& source) {
    return kStrangerKind | (Sender{source.GetIPv4()} << 16);
}

bool DatagramShares::Fits(const Waiting& waiting, std::size_t bytes, std::size_t shares) {
    return waiting.messages == 0 ||
           (waiting.messages < kShareMessages * shares && waiting.bytes + bytes <= kShareBytes * shares);
}

bool DatagramShares::Take(Sender sender, std::size_t bytes) {
    if (IsChosenPeer(sender)) {
        return true;
    }
    const std::lock_guard<std::mutex> lock(m_lock);
    const auto fits = [&](Sender key, std::size_t shares) {
        const auto found = m_waiting.find(key);
        return found == m_waiting.end() || Fits(found->second, bytes, shares);
    };
    if (!fits(sender, 1) || (IsStranger(sender) && !fits(kAllStrangers, kStrangerShares))) {
        return false;
    }
    Count(sender, bytes);
    if (IsStranger(sender)) {
        Count(kAllStrangers, bytes);
    }
    return true;
}

void DatagramShares::Give(Sender sender, std::size_t bytes) {
    if (IsChosenPeer(sender)) {
        return;
    }
    const std::lock_guard<std::mutex> lock(m_lock);
    Uncount(sender, bytes);
    if (IsStranger(sender)) {
        Uncount(kAllStrangers, bytes);
    }
}

void DatagramShares::Count(Sender sender, std::size_t bytes) {
    Waiting& waiting = m_waiting[sender];
    ++waiting.messages;
    waiting.bytes += bytes;
}

void DatagramShares::Uncount(Sender sender, std::size_t bytes) {
    const auto found = m_waiting.find(sender);
    if (found == m_waiting.end()) {
        return;
    }
    if (--found->second.messages == 0) {
        m_waiting.erase(found);
    } else {
        found->second.bytes -= bytes;
    }
}

}  // namespace Network
