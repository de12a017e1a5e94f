#pragma once

#include "network/Network_Address.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace Network {

// Datagrams waiting in a session's event queue, counted by sender. Once a
// sender's share is used up its later datagrams are dropped as they arrive:
// a flood is dropped at its own sender instead of standing in front of
// everyone else's messages, and what waits is handled within a few frames
// whoever sent it. Taken on the I/O thread, given back by whoever handles
// the event.
class DatagramShares {
public:
    // Who a datagram counts against. A peer with a connection sends from its
    // connection's endpoint, and has a share of its own there. Anyone else is
    // known only by machine: every port of one machine shares one share, and
    // all such senders together share a few.
    using Sender = std::uint64_t;
    static Sender ConnectionPeer(const Tun_Address& peer);
    static Sender Stranger(const Tun_Address& source);
    // The peer of a connection this side made itself (a client's host) is
    // the one it chose to hear, and has no share: its stream is read without
    // a limit too. A host's state tick is one datagram per object, more than
    // a share holds, and must come whole; only the session's bound on all
    // queued datagrams holds it.
    static Sender ChosenPeer(const Tun_Address& peer);

    // A share holds as many bytes as a connection's stream may have waiting,
    // so a flood waits no longer by datagram than by stream; that is still a
    // burst as large as a socket's own buffer holds of small datagrams (a
    // host's state tick, one datagram per object). Tiny datagrams are
    // bounded by count.
    static constexpr std::size_t kShareMessages = 512;
    static constexpr std::size_t kShareBytes = 64 * 1024;
    // How many shares every stranger together may fill.
    static constexpr std::size_t kStrangerShares = 8;

    // Counts the datagram against its sender (a stranger's against the
    // strangers' together too); false, counting nothing, when it does not
    // fit. A sender with nothing waiting always gets one in, whatever its
    // length; a chosen peer always does, counting nothing.
    bool Take(Sender sender, std::size_t bytes);
    // Gives back what Take counted, once the datagram was handled or not
    // queued after all.
    void Give(Sender sender, std::size_t bytes);

private:
    struct Waiting {
        std::size_t messages = 0;
        std::size_t bytes = 0;
    };
    // Whether one more datagram of that length fits beside what waits, within
    // that many shares.
    static bool Fits(const Waiting& waiting, std::size_t bytes, std::size_t shares);
    void Count(Sender sender, std::size_t bytes);
    void Uncount(Sender sender, std::size_t bytes);

    std::mutex m_lock;
    // Only senders with something waiting: a spoofed flood cannot make it
    // grow past what the queue holds.
    std::unordered_map<Sender, Waiting> m_waiting;
};

}  // namespace Network
