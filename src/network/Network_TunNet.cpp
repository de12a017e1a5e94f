#include "network/Network_TunNet.h"

#include "network/Network_Message.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_Session.h"
#include "pal/PAL_Stopwatch.h"

#include "tundra/Lua_PartPointer.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>

namespace Tundra {

std::uint16_t TunNet::s_discoveryPortOverride = 0;
std::uint32_t TunNet::s_joinWaitLimitMilliseconds = 5000;

namespace {

// The front end drains the session's events itself; 1 ms select timeout.
constexpr std::uint32_t kSelectTimeoutMilliseconds = 1;

TunNet* g_current = nullptr;
std::uint32_t g_playerIdCounter = 0;

// A join request as the host reads one: the password, then a player record.
bool IsJoinRequest(const std::uint8_t* message, std::uint32_t length) {
    const Network::MessageHeader header = Network::ReadMessageHeader(message);
    if (header.type != static_cast<std::uint32_t>(TunPacket::JoinRequest)) {
        return false;
    }
    Network::PayloadReader reader(message + Network::kMessageHeaderSize, length - Network::kMessageHeaderSize);
    reader.ReadString();
    return TunPlayer::SkipRecord(reader);
}

}  // namespace

std::uint32_t TunNet::NextPlayerId() { return ++g_playerIdCounter; }

TunNet::TunNet() {
    m_manager.Initialize();
    m_allPlayers = TUN_NEW(TunGroup, "All_Players", nullptr);
    m_groups.push_back(m_allPlayers);
}

TunNet::~TunNet() {
    // Whatever closing reports finds no front end to tell.
    if (g_current == this) {
        g_current = nullptr;
    }
    m_manager.CloseAllSessions();
    m_groups.clear();
}

// No engine object: scripts hold it by address, as it lives as long as the game.
void TunNet::PushToLua(lua_State* state) const { Lua::PushPartPointer(state, this, "TunNet"); }

TunNet* TunNet::GetCurrent() {
    // A front end whose shut-down waits for its drain to return takes no
    // more events.
    return g_current != nullptr && !g_current->m_shutdownPending ? g_current : nullptr;
}

bool TunNet::Start(bool host, NetMessageCallback callback, const Core::String& sessionName,
                   const Core::String& password, std::uint32_t dispatchBudget, std::uint32_t dispatchWait,
                   std::uint32_t updatesPerSecond, std::uint16_t discoveryPort, std::uint16_t gamePort) {
    if (g_current != nullptr) {
        return false;
    }
    g_current = this;
    const Core::String& sessionPassword = host ? password : Core::String();
    m_session = m_manager.CreateSession(sessionName, sessionPassword, sessionPassword.empty() ? 0 : 1,
                                        host ? &HostPacketHandler : &ClientPacketHandler, 0, 0, 0, 0,
                                        kSelectTimeoutMilliseconds);
    if (m_session == nullptr) {
        g_current = nullptr;
        return false;
    }
    m_callback = callback;
    m_sessionName = sessionName;
    m_discoveryPort = s_discoveryPortOverride != 0 ? s_discoveryPortOverride : discoveryPort;
    m_gamePort = gamePort;
    if (!host && !OpenDiscoverySocket()) {
        m_manager.DestroySession(m_session);
        m_session = nullptr;
        g_current = nullptr;
        return false;
    }
    m_dispatchBudget = dispatchBudget;
    m_dispatchWait = dispatchWait;
    m_isHost = host;
    m_shutdownPending = false;
    m_updatesPerSecond = updatesPerSecond != 0 ? updatesPerSecond : 1;
    m_sendInterval = 1.0f / static_cast<float>(m_updatesPerSecond);
    m_sendTimer = 0.0f;
    return true;
}

bool TunNet::HostSession(const Core::String& playerName, std::uint32_t maxPlayers, std::uint32_t broadcastScope,
                         float broadcastInterval) {
    if (GetCurrent() != this || !m_isHost || m_hosting) {
        return false;
    }
    // What clients list is bounded, so is what a host admits.
    const std::uint32_t admitted = std::min(maxPlayers, kMostSessionPlayers);
    m_session->SetJoinRequestCheck(&IsJoinRequest);
    Network::Tun_Address hostAddress;
    if (!OpenHostSockets(admitted, hostAddress)) {
        return false;
    }
    m_maxPlayers = admitted;
    m_hostAddress = hostAddress;
    m_broadcastInterval = broadcastInterval;
    m_broadcastScope = broadcastScope;
    std::vector<std::uint8_t> announcement;
    Network::PayloadWriter writer(announcement);
    TunBroadcast::WriteAnnouncement(writer, m_hostAddress, m_maxPlayers, 1, m_session->GetOpenFlag() != 0,
                                    m_sessionName, m_networkId);
    const auto intervalMilliseconds = static_cast<std::uint32_t>(std::max(0.0f, broadcastInterval) * 1000.0f);
    if (!m_session->StartBroadcast(m_discoveryPort, static_cast<std::int32_t>(broadcastScope), intervalMilliseconds,
                                   static_cast<std::uint32_t>(TunPacket::Announcement), writer.GetData(),
                                   writer.GetSize(), 0)) {
        m_session->CloseSocket(kHostDatagramSocket, false);
        m_session->StopServer(false);
        return false;
    }
    Notify(*TUN_NEW(NetSessionMessage, NetMessageKind::SessionHosted, m_hostAddress));
    if (GetCurrent() != this) {
        return false;
    }
    m_hosting = true;
    Core::RefPtr<TunPlayer> player(TUN_NEW(TunPlayer, playerName, true, true, m_hostAddress));
    player->SetID(NextPlayerId());
    m_localPlayer = player;
    AddPlayer(player.Get());
    return true;
}

bool TunNet::JoinSession(const Core::String& playerName, const Network::Tun_Address& sessionAddress,
                         const Core::String& password) {
    if (GetCurrent() != this || m_isHost || m_connected) {
        return false;
    }
    // One limit for the connect and the answer together.
    Stopwatch stopwatch;
    stopwatch.Start();
    Network::Tun_Address streamAddress;
    if (!OpenClientSockets(sessionAddress, streamAddress)) {
        return false;
    }
    m_maxPlayers = kMostSessionPlayers;
    const Core::RefPtr<TunPlayer> player(TUN_NEW(TunPlayer, playerName, true, false, streamAddress));
    m_localPlayer = player;
    AddPlayer(player.Get());
    Network::Tun_EventList afterAnswer;
    bool sent = false;
    bool answered = false;
    if (GetCurrent() == this) {
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteString(password);
        player->WriteRecord(writer);
        // Sent directly: the send rule sends nothing before the join. A host
        // takes no longer message before it admits the player.
        sent = writer.GetSize() + Network::kMessageHeaderSize <= Network::Tun_Session::kMaxUnadmittedMessageLength &&
               m_session->SendMessage(kClientStreamSocket, static_cast<std::uint32_t>(TunPacket::JoinRequest),
                                      writer.GetData(), writer.GetSize(), sessionAddress);
        answered = sent && AwaitJoinAnswer(stopwatch, afterAnswer);
    }
    if (m_shutdownPending) {
        Network::FreeEventList(afterAnswer);
        // Inside the frame's drain, the shut-down waits for that one.
        if (!m_draining) {
            EndSession();
        }
        return false;
    }
    if (GetCurrent() != this || !m_connected) {
        Network::FreeEventList(afterAnswer);
        LogJoinFailure(sessionAddress, GetCurrent() != this ? "the front end stopped during the join"
                                       : !sent             ? "the join request could not be sent"
                                       : !answered         ? "no answer from the host"
                                                           : "the host did not admit the player");
        if (GetCurrent() == this) {
            m_allPlayers->RemovePlayer(player->GetID());
            m_session->CloseSocket(kClientDatagramSocket, false);
            CloseClientStream();
        }
        if (m_localPlayer == player) {
            m_localPlayer = nullptr;
        }
        return false;
    }
    m_session->SetServiceFlags(kClientStreamSocket, Network::kServiceByIoThread);
    SortAllPlayers();
    m_hostAddress = sessionAddress;
    Notify(*TUN_NEW(NetSessionMessage, NetMessageKind::SessionJoined, m_hostAddress));
    // What came behind the answer (the players already there) follows the
    // joined message.
    if (GetCurrent() == this) {
        Drain(afterAnswer);
    }
    Network::FreeEventList(afterAnswer);
    if (m_shutdownPending && !m_draining) {
        EndSession();
    }
    return GetCurrent() == this;
}

bool TunNet::AwaitJoinAnswer(const Stopwatch& stopwatch, Network::Tun_EventList& afterAnswer) {
    Network::Tun_EventList events;
    bool answered = false;
    while (!answered && !m_shutdownPending && GetCurrent() == this) {
        const double left = static_cast<double>(s_joinWaitLimitMilliseconds) - stopwatch.GetElapsed();
        if (left <= 0.0 ||
            !m_session->ReceiveMessages(kClientStreamSocket, events, static_cast<std::uint32_t>(left))) {
            break;
        }
        const auto answer = std::find_if(events.begin(), events.end(), [](const Network::Tun_Event& event) {
            return event.kind == Network::Tun_Event_Kind::MessageReceived &&
                   event.messageType == static_cast<std::uint32_t>(TunPacket::JoinResult);
        });
        answered = answer != events.end();
        if (answered) {
            // The events keep their messages; only the list is split.
            afterAnswer.assign(answer + 1, events.end());
            events.erase(answer + 1, events.end());
        }
        Drain(events);
        Network::FreeEventList(events);
    }
    return answered;
}

void TunNet::Drain(Network::Tun_EventList& events) {
    // A join started from a listener call drains inside the frame's drain.
    const bool outerDrain = m_draining;
    m_draining = true;
    Network::DeliverEvents(events);
    m_draining = outerDrain;
}

void TunNet::SortAllPlayers() {
    // The local player's id came with the answer, after it was listed.
    const std::vector<Core::RefPtr<TunPlayer>> players = m_allPlayers->GetPlayers();
    m_allPlayers->Clear();
    for (const Core::RefPtr<TunPlayer>& player : players) {
        m_allPlayers->AddPlayer(player.Get());
    }
}

bool TunNet::Shutdown() {
    if (g_current != this) {
        return false;
    }
    if (m_shutdownPending) {
        return true;
    }
    if (m_draining) {
        m_shutdownPending = true;
        return true;
    }
    EndSession();
    return true;
}

void TunNet::EndSession() {
    m_templates.clear();
    m_replicatedObjects.clear();
    // Closing reports each socket to the packet handler (a pending shut-down
    // hears nothing more); a Shutdown from a listener meanwhile is this one.
    m_draining = true;
    m_ending = true;
    m_manager.DestroySession(m_session);
    m_ending = false;
    m_draining = false;
    m_session = nullptr;
    g_current = nullptr;
    m_shutdownPending = false;
    // No player outlives the session's sockets.
    m_hosting = false;
    m_connected = false;
    m_localPlayer = nullptr;
    ForgetEveryPlayersGroups();
    m_pings.clear();
    m_snapshotPaces.clear();
    m_unheardStreamCloses = 0;
}

void TunNet::CloseClientStream() {
    if (m_session->CloseSocket(kClientStreamSocket, false)) {
        ++m_unheardStreamCloses;
    }
}

bool TunNet::IsNetworkGame() const {
    if (m_localPlayer == nullptr) {
        return false;
    }
    return m_isHost ? m_hosting : m_connected;
}

bool TunNet::Notify(NetMessage& message) {
    const Core::RefPtr<NetMessage> held(&message);
    return m_callback != nullptr && m_callback(&message);
}

}  // namespace Tundra
