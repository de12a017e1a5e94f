#pragma once

#include "network/Network_Address.h"
#include "network/Network_Message.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace Network {

class Tun_Session;
class Tun_Socket;
struct Tun_Event;

enum class Tun_Event_Kind : std::int32_t {
    SessionOpened = 0,             // socket id -1
    ConnectionAccepted = 1,        // listening id; detail = new record (null when failed); peer
    ConnectCompleted = 2,          // detail = record or null; peer; failed on failure
    MessageReceived = 3,           // detail = record; sender
    QueuedSendCompleted = 4,       // destination; failed on failure
    SocketOpened = 5,
    SocketClosed = 6,              // the socket's remote address
    AcceptedConnectionClosed = 7,  // listening id; peer
    SessionClosed = 8,             // socket id -1
    // Requests on the session's own lists; never delivered.
    ConnectRequest = 9,
    SendRequest = 10,
    CloseRequest = 11,  // failed = 1 for the close of an accepted connection
};

// The application's handler of a session's events. For a message event,
// false keeps the message: the handler then owns it and frees it later.
using Tun_PacketHandler = bool (*)(Tun_Event* event);

// Set by the I/O thread once a close request was carried out; another
// thread may wait for it.
class Tun_CloseCompletion {
public:
    void Signal();
    bool IsDone() const { return m_done.load(std::memory_order_acquire); }
    // Returns once Signal was called.
    void Wait() const;

private:
    std::atomic<bool> m_done{false};
};

constexpr std::uint32_t kNoMessageType = 0xFFFFFFFF;

struct Tun_Event {
    Tun_Event() = default;
    Tun_Event(Tun_Event_Kind eventKind, Tun_Session* owner, std::int32_t id, const Tun_Address& eventAddress)
        : kind(eventKind), session(owner), socketId(id), address(eventAddress) {}

    // Hands the message to the event (which then owns it): raw message and
    // length, type, payload and payload length from its header. A message
    // with no bytes clears them all.
    void AttachMessage(const RawMessage& message);
    // Gives the message back to the caller, clearing the fields.
    RawMessage DetachMessage();
    RawMessage GetMessage() const { return {rawMessage, rawLength}; }

    Tun_PacketHandler callback = nullptr;
    Tun_CloseCompletion* completion = nullptr;  // close requests
    std::uint8_t* rawMessage = nullptr;
    std::uint32_t rawLength = 0;
    Tun_Event_Kind kind = Tun_Event_Kind::SessionOpened;
    Tun_Session* session = nullptr;
    std::int32_t socketId = -1;
    Tun_Socket* detail = nullptr;  // the socket record concerned, or null
    Tun_Address address;
    std::uint32_t messageType = kNoMessageType;
    std::uint8_t* payload = nullptr;
    std::uint32_t payloadLength = 0;
    std::uint8_t failed = 0;
    // A served datagram's sender, as its session counts what it has waiting.
    std::uint64_t datagramSender = 0;
};

using Tun_EventList = std::vector<Tun_Event>;

// Calls the event's callback (when it has one). A message event whose
// callback is missing or returns true has its message freed; false hands it
// to the callback. Either way the event's message fields are cleared, so that
// freeing its list later cannot free the message again. Other kinds ignore
// the result. Null does nothing.
void DeliverEvent(Tun_Event* event);
// Each in list order; the list keeps its elements (messages handed on
// cleared). A callback must not change the list.
void DeliverEvents(Tun_EventList& events);
// Frees every element's message and empties the list.
void FreeEventList(Tun_EventList& events);

}  // namespace Network
