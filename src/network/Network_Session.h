#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "network/Network_Address.h"
#include "network/Network_DatagramShares.h"
#include "network/Network_Event.h"
#include "network/Network_EventDispatcher.h"
#include "network/Network_Socket.h"
#include "pal/PAL_ThreadManager.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class ManagedThread;
class Stopwatch;

namespace Network {

class IoThreadState;

// One network session: its sockets, the I/O thread that serves them, the
// dispatcher that hands their events to the packet handler, and the LAN
// broadcast of a host. Every thread of the session comes from its own or its
// dispatcher's thread manager, so GetThreadCount tells whether anything of
// the session still runs.
//
// Socket records returned by OpenSocket or named in events stay valid until
// their socket-closed event is posted.
class Tun_Session : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Tun_Session);

public:
    // What caller-thread waits (a blocking connect, a receive on a blocking
    // socket) wait at most unless told otherwise.
    static constexpr std::uint32_t kDefaultWaitLimit = 5000;
    // Connections accepted and still open per session; while that many are
    // open, later ones wait unaccepted until one closes.
    static constexpr std::size_t kMaxAcceptedConnections = 64;
    // How long a connection to StartServer's socket may stay before a join
    // request arrives on it or the host admits it (AdmitPeer): idle
    // connections must not hold every place. A client waits 5 s for its join
    // answer, so one that connects while all places are held still gets in.
    static constexpr std::chrono::milliseconds kAdmissionLimit{3000};
    // The longest message a connection to StartServer's socket may send
    // until the host admits it: a join request fits with room to spare, and
    // strangers cannot make the host assemble megabytes for them.
    static constexpr std::uint32_t kMaxUnadmittedMessageLength = 4096;
    // Forwards (sends made inside a ForwardScope) waiting at a connection are
    // counted by origin. While an origin's forwards waiting at some other
    // connection pass this share, the I/O thread stops reading the origin:
    // TCP slows it down to what its slowest member takes, nothing it sent is
    // dropped, and honest members are never cut off because of it.
    static constexpr std::size_t kForwardedShare = kMaxWaitingOutput / 2 / kMaxAcceptedConnections;
    // Bytes of an accepted connection's messages read but not yet handled
    // beyond which the I/O thread reads no more of it: a host whose frames
    // are slow slows its peers down, and a peer's forwards reach a member
    // only a little past its share.
    static constexpr std::size_t kReadAheadLimit = 64 * 1024;
    // An accepted connection whose waiting output took no byte for this long
    // no longer reads, and is closed: it holds back everyone it would hear.
    static constexpr std::chrono::milliseconds kStalledOutputLimit{5000};
    // Bytes of datagrams that may wait in the event queue; later ones are
    // dropped. A datagram flood leaves the streams the rest, and each sender
    // has a share of its own within it (DatagramShares).
    static constexpr std::size_t kQueuedDatagramLimit = EventDispatcher::kQueuedMessageLimit / 2;
    // Datagrams the I/O thread reads from a socket before it serves the
    // others again.
    static constexpr std::size_t kDatagramsPerRead = 64;

    // While one lives, the sends this thread makes on the session forward
    // the origin's messages: they count against the origin's share.
    class ForwardScope {
    public:
        // What a forward does when the origin's share at a member is used
        // up: wait there, the origin's stream being read no more meanwhile;
        // or, for what the origin sent the unreliable way, be dropped there
        // (the send fails and the member stays).
        enum class OverShare { Wait, Drop };

        ForwardScope(const Tun_Session& session, const Tun_Address& origin, OverShare overShare = OverShare::Wait);
        ~ForwardScope();
        ForwardScope(const ForwardScope&) = delete;
        ForwardScope& operator=(const ForwardScope&) = delete;

    private:
        friend class Tun_Session;
        const ForwardScope* m_outer;
        const Tun_Session* m_session;
        Tun_Address m_origin;
        OverShare m_overShare;
    };

    Tun_Session();
    // Closes the session.
    ~Tun_Session() override;
    Tun_Session(const Tun_Session&) = delete;
    Tun_Session& operator=(const Tun_Session&) = delete;

    // Starts the dispatcher and the I/O thread and delivers the
    // session-opened event on this thread. The name is the caller's label.
    bool Open(const Core::String& name, const Core::String& text, std::uint8_t openFlag, Tun_PacketHandler handler,
              std::int32_t priority, std::uint8_t threaded, std::int32_t workerLimit,
              std::uint32_t idleSleepMilliseconds, std::uint32_t selectTimeoutMilliseconds);
    // Stops the broadcast, then the I/O thread, closes every socket and
    // delivers what is queued, a closed event per socket and the
    // session-closed event on this thread. False when it was not open.
    bool Close();
    // Delivers queued events on this thread (dispatch mode 0).
    void ProcessEvents(std::uint32_t maxMilliseconds, std::uint32_t waitMilliseconds, std::uint32_t* processed,
                       std::uint32_t* remaining);
    const Core::String& GetLocalIpText() const { return m_localIpText; }
    const Tun_Address& GetLocalHostAddress() const { return m_localAddress; }
    std::uint8_t GetOpenFlag() const { return m_openFlag; }
    const Core::String& GetText() const { return m_text; }
    bool IsOpen() const { return m_open; }
    std::size_t GetThreadCount() const;

    // Sockets. Every operation names a socket by the id the caller chose;
    // an id that no open socket carries fails.
    // Null when the id is open already or the socket cannot be set up.
    Tun_Socket* OpenSocket(std::int32_t id, std::int32_t type, const Tun_Address& bindAddress,
                           std::uint32_t serviceFlags, std::uint32_t optionFlags);
    // Ask the I/O thread to close the socket, or the accepted connection of
    // the listening socket id with that peer; with wait, return once it
    // closed (refused on the I/O thread and inside a packet handler).
    bool CloseSocket(std::int32_t id, bool wait);
    bool ClosePeer(std::int32_t id, const Tun_Address& peer, bool wait);
    // Reads no more from the accepted connection of the listening id with
    // that peer, and closes it once what waits to be written to it has gone
    // out; false when there is none.
    bool ClosePeerOnceSent(std::int32_t id, const Tun_Address& peer);
    // Non-blocking sockets queue the connect for the I/O thread (false while
    // one is queued); others connect here, waiting at most waitLimit ms.
    bool Connect(std::int32_t id, const Tun_Address& destination,
                 std::uint32_t waitLimitMilliseconds = kDefaultWaitLimit);
    bool Listen(std::int32_t id, std::int32_t backlog);
    // True when the whole message went out or waits to be written (or, with
    // service flag 2, was queued). Never blocks.
    bool SendMessage(std::int32_t id, std::uint32_t type, const void* payload, std::uint32_t length,
                     const Tun_Address& destination, std::uint32_t* bytesSent = nullptr);
    // Appends message events for what arrived on a socket the I/O thread
    // does not serve; blocking sockets wait at most waitLimit ms for data.
    bool ReceiveMessages(std::int32_t id, Tun_EventList& events,
                         std::uint32_t waitLimitMilliseconds = kDefaultWaitLimit);
    bool GetLocalAddress(std::int32_t id, Tun_Address& address);
    bool GetRemoteAddress(std::int32_t id, Tun_Address& address);
    bool SetServiceFlags(std::int32_t id, std::uint32_t flags);

    // LAN broadcast, discovery listener and host server.
    bool StartBroadcast(std::uint16_t port, std::int32_t scope, std::uint32_t intervalMilliseconds,
                        std::uint32_t messageType, const void* payload, std::uint32_t length, std::int32_t priority);
    bool SetBroadcastPayload(const void* payload, std::uint32_t length);
    bool OpenUdpSocket(std::uint16_t port);
    bool CloseDiscoverySocket(bool wait);
    bool StartServer(const Tun_Address& bindAddress, std::int32_t backlog);
    bool StopServer(bool wait);
    // Set before StartServer: a message that passes the check ends its
    // connection's admission wait as it arrives, whatever the thread that
    // handles events is doing.
    void SetJoinRequestCheck(JoinRequestCheck check) { m_joinRequestCheck = check; }
    // Keeps the server's connection to the peer open past the admission
    // limit and lets it send messages of any length; false when there is
    // none.
    bool AdmitPeer(const Tun_Address& peer);

private:
    friend struct SessionTestAccess;

    using Records = std::vector<std::unique_ptr<Tun_Socket>>;

    // Open and Close.
    bool CreateLocks();
    void DestroyLocks();
    void StopBroadcastThread();
    void StopIoThread();
    void CloseEveryRecord();
    // An event of this session for its packet handler.
    Tun_Event MakeEvent(Tun_Event_Kind kind, std::int32_t id, const Tun_Address& address);
    // Marks a thread of the session as ended, under the exit mutex, and wakes
    // whoever waits for it.
    void ReportThreadEnded(bool& ended);

    // Lookups, under the list lock: the first record with the id that is not
    // closing; the accepted connection of a listening id with that peer.
    Tun_Socket* FindSocket(std::int32_t id) const;
    Tun_Socket* FindAccepted(std::int32_t id, const Tun_Address& peer) const;
    // Looks the socket up under the shared list lock and adds a user; the
    // caller removes it.
    Tun_Socket* UseSocket(std::int32_t id);
    // Queues the close of a record under the exclusive list lock.
    void QueueClose(Tun_Socket& record, Tun_CloseCompletion* completion);
    // CloseSocket without a peer, ClosePeer with one.
    bool ClosePeerOrSocket(std::int32_t id, const Tun_Address* peer, bool wait);
    // A close with wait is refused on the I/O thread, which carries it out,
    // and in a packet handler, which may hold up the events the I/O thread
    // posts.
    bool MayWaitHere() const;
    // Asks the I/O thread to close a connection that broke (its framing or
    // its waiting output).
    void CloseBroken(Tun_Socket& record);

    // Direct sends.
    bool SendDirect(Tun_Socket& socket, std::uint32_t type, const void* payload, std::uint32_t length,
                    const Tun_Address& destination, std::uint32_t* bytesSent);
    bool QueueSend(Tun_Socket& socket, std::uint32_t type, const void* payload, std::uint32_t length,
                   const Tun_Address& destination);
    // Sends a whole message on a stream; what the socket does not take waits
    // as output. False, and the connection closed, when the output would
    // overflow or the socket failed. A forward dropped over its share (see
    // ForwardScope) is false too, the connection left open.
    bool WriteOrKeep(Tun_Socket& connection, std::uint32_t type, const void* payload, std::uint32_t length,
                     std::uint32_t* bytesSent, OutputSource source = kOwnOutput);
    // The same for a built message, under the connection's send lock.
    static bool WriteOrKeepLocked(Tun_Socket& connection, const std::uint8_t* message, std::size_t length,
                                  OutputSource source = kOwnOutput);
    // Delivers an event the I/O thread posted; a message's bytes no longer
    // wait on their socket from then on.
    static void DeliverPosted(Tun_Event* event);
    // Whom a message to an accepted connection is sent for: the origin of
    // this thread's ForwardScope, when it is another peer.
    OutputSource SourceOfSendTo(const Tun_Socket& connection) const;
    // Whether a forward for the source is dropped at the connection: this
    // thread's ForwardScope drops over its share, the connection has output
    // waiting, and the source's share there has no room for the message.
    // Under the connection's send lock.
    bool DropsForward(const Tun_Socket& connection, OutputSource source, std::size_t length) const;

    // Caller-thread receives.
    bool ReceiveFromStream(Tun_Socket& connection, Tun_EventList& events, std::uint32_t waitLimit);
    bool ReceiveFromListener(Tun_Socket& listener, Tun_EventList& events, std::uint32_t waitLimit);
    bool ReceiveDatagrams(Tun_Socket& socket, Tun_EventList& events, std::uint32_t waitLimit);
    // Cuts the read bytes in the receive buffer into message events; a
    // message cut off at the end is completed by reading exactly what it
    // lacks. False when the stream broke the format or ended inside one.
    bool CutMessages(Tun_Socket& connection, std::size_t read, Tun_EventList& events, const Stopwatch& stopwatch,
                     std::uint32_t waitLimit);

    // The I/O thread.
    static std::uint32_t IoThread(ManagedThread* thread);
    // False once the thread is to end.
    bool RunIoPass(ManagedThread* thread);
    // Under the list lock: carry out closes (true when one waits for a user
    // to finish), start connects (true while one is under way), choose the
    // targets of queued sends, choose the sockets to read and to write.
    bool ServeCloseRequests();
    // Queues the close of every connection whose admission time ran out,
    // whose output stalled, or that was to close once its output went out
    // and has none left; the time until the next one runs out, or none.
    std::optional<std::chrono::milliseconds> CloseOverdue();
    // Whether the connection is not read for now: it holds events the queue
    // had no room for, it is to close once its output went out, too much of
    // what it sent waits to be handled, or some other connection has more of
    // its forwards waiting than its share.
    bool IsHeldBack(const Tun_Socket& connection) const;
    bool ServeConnectRequests();
    void ServeSendRequests();
    Tun_Socket* SendTarget(std::int32_t id, const Tun_Address& destination) const;
    void WatchSockets();
    // After the wait, without the list lock.
    void HandleReady(std::size_t watchIndex);
    void AcceptConnection(Tun_Socket& listener);
    void ReadStream(Tun_Socket& connection);
    // Ends the connection's admission wait when a message is a join request.
    void NoteJoinRequests(Tun_Socket& connection, const std::vector<RawMessage>& messages);
    // Reads what waits at the socket, up to kDatagramsPerRead: a pass costs
    // far more than a read, and a flood that outruns the passes fills the
    // socket's buffer, where everyone's datagrams are dropped alike.
    void ReadDatagrams(Tun_Socket& socket);
    // False once nothing was left to read.
    bool ReadDatagram(Tun_Socket& socket);
    void FinishConnecting(Tun_Socket& record);
    void SendQueued(Tun_Socket& target);
    void WriteOutput(Tun_Socket& connection);
    // An event reporting on a request, gathered for posting.
    void Gather(Tun_Event_Kind kind, const Tun_Event& request, bool failed);
    void PostGathered(ManagedThread* thread);
    // Posts a datagram's event where the datagrams' part of the queue and its
    // sender's share have room; otherwise it stays with its message, to be
    // freed.
    void PostDatagram(Tun_Socket& socket, Tun_Event& event, ManagedThread* thread);
    // Under the list lock: notes whom the I/O thread takes for a connection's
    // peer, an admitted one, whose datagrams count against a share of their
    // own, or none for the peer of a connection this side made.
    void NoteConnectionPeers();
    DatagramShares::Sender DatagramSenderOf(const Tun_Address& source) const;
    // Under the list lock: posts what each stream holds, in order, while the
    // queue has room, and queues the close of an ended stream that holds
    // nothing. True while any stream still holds events.
    bool PostHeld(ManagedThread* thread);
    // Posts a message event of the record, its bytes counted as waiting there
    // until they are handled. Full leaves the message with the event.
    PostResult PostMessage(Tun_Socket& record, Tun_Event& event, ManagedThread* thread);
    void WakeIoThread();
    // The broadcast thread; its argument is the session. Its last step is
    // ReportThreadEnded(m_broadcastEnded): Close waits for that before it
    // frees the data and closes socket 0.
    static std::uint32_t BroadcastThread(ManagedThread* thread);

    // Destroyed last: it waits for the threads that use everything else.
    ThreadManager m_threads;
    EventDispatcher m_dispatcher;
    bool m_open = false;
    std::uint8_t m_openFlag = 0;
    bool m_listening = false;
    Core::String m_localIpText;
    Tun_Address m_localAddress;
    Core::String m_text;
    // Guarded by the list lock.
    Records m_sockets;
    Records m_accepted;
    // Closed records that events still waiting to be handled name.
    Records m_retired;
    // Requests: close (naming its record in detail), connect, and send
    // (holding its message).
    std::deque<Tun_Event> m_closeRequests;
    std::deque<Tun_Event> m_connectRequests;
    std::deque<Tun_Event> m_sendRequests;
    ManagedThread* m_ioThread = nullptr;
    std::unique_ptr<IoThreadState> m_io;
    // Recorded from StartBroadcast to Close; the session owns its data and
    // frees it once the thread has ended.
    ManagedThread* m_broadcastThread = nullptr;
    Core::RefPtr<Core::Object> m_broadcastData;
    pthread_rwlock_t* m_listLock = nullptr;
    // The exit mutex guards the ended flags; the exit condition announces
    // each.
    pthread_mutex_t* m_exitMutex = nullptr;
    pthread_cond_t* m_exitCondition = nullptr;
    bool m_ioEnded = false;
    bool m_broadcastEnded = false;
    // Set when Close starts: no new socket, connect or queued send from then on.
    std::atomic<bool> m_closing{false};
    std::uint32_t m_selectTimeout = 0;
    std::chrono::milliseconds m_admissionLimit = kAdmissionLimit;
    JoinRequestCheck m_joinRequestCheck = nullptr;
    // Milliseconds; tests shorten it while the I/O thread runs.
    std::atomic<std::int64_t> m_stalledOutputLimit{kStalledOutputLimit.count()};
    Tun_PacketHandler m_handler = nullptr;
    std::atomic<std::uint64_t> m_ioPasses{0};
    // Bytes of datagram messages posted and not yet handled, in all and by
    // sender.
    std::atomic<std::size_t> m_queuedDatagramBytes{0};
    DatagramShares m_datagramShares;
};

}  // namespace Network
