#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "network/Network_Address.h"
#include "network/Network_Event.h"
#include "network/Network_Manager.h"
#include "network/Network_NetMessage.h"
#include "network/Network_NetObjectID.h"
#include "network/Network_TunBroadcast.h"
#include "network/Network_TunComponentManager.h"
#include "network/Network_TunGroup.h"
#include "network/Network_TunPlayer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct lua_State;
class Stopwatch;

namespace Network {
class PayloadReader;
class Tun_Session;
}  // namespace Network

namespace Tundra {

class GameObject;
class NetworkFile;

// Application packet types (the payload behind the message header).
enum class TunPacket : std::uint32_t {
    Announcement = 0,
    JoinRequest = 1,
    JoinResult = 2,
    PlayerJoined = 3,
    PlayerLeft = 4,
    GroupCreate = 5,
    GroupDestroy = 6,
    ObjectCreate = 7,
    ObjectRemove = 8,
    ObjectState = 9,
    Text = 10,
    Data = 11,
    LevelName = 12,
    Snapshot = 13,
    Keyboard = 14,
    Mouse = 15,
    SnapshotRequest = 16,
    PingRequest = 17,
    PingAnswer = 18,
};

// Socket ids of a session.
enum TunSocketId : std::int32_t {
    kDiscoverySocket = 1,
    kHostStreamSocket = 2,
    kClientStreamSocket = 3,
    kHostDatagramSocket = 4,
    kClientDatagramSocket = 5,
};

// The game's network front end: hosts or joins one LAN game at a time, keeps
// the players and groups, sends and handles the application packets and
// replicates game objects from the host. Main thread only: the session's
// events are drained in Update (and once in JoinSession).
class TunNet {
public:
    TunNet();
    TunNet(const TunNet&) = delete;
    TunNet& operator=(const TunNet&) = delete;
    virtual ~TunNet();

    // Pushed by pointer as a "TunNet": it lives as long as the game.
    virtual void PushToLua(lua_State* state) const;
    virtual void Update(float dt);

    // The front end whose session runs, or null.
    static TunNet* GetCurrent();

    // No host admits more players than this, and a client lists up to this
    // many whatever its host announces.
    static constexpr std::uint32_t kMostSessionPlayers = 256;

    // Lifecycle.
    bool Start(bool host, NetMessageCallback callback, const Core::String& sessionName,
               const Core::String& password, std::uint32_t dispatchBudget, std::uint32_t dispatchWait,
               std::uint32_t updatesPerSecond, std::uint16_t discoveryPort, std::uint16_t gamePort);
    bool HostSession(const Core::String& playerName, std::uint32_t maxPlayers, std::uint32_t broadcastScope,
                     float broadcastInterval);
    bool JoinSession(const Core::String& playerName, const Network::Tun_Address& sessionAddress,
                     const Core::String& password);
    // False when no session runs. Called from the listener, it takes effect
    // once the events being drained are done.
    bool Shutdown();
    // Clears the mirror keyboards the host's remote players fed last frame.
    void UpdatePlayerDevices();

    // Roles.
    bool IsNetworkGame() const;
    bool IsHost() const { return m_isHost; }
    bool IsHosting() const { return m_hosting; }
    bool IsConnected() const { return m_connected; }

    // The network ID every announcement carries.
    void SetNetworkName(const Core::String& name) { m_networkId = name; }
    const Core::String& GetNetworkName() const { return m_networkId; }

    // Sends: reliable on the stream sockets, otherwise datagrams. A host sends
    // only while hosting, a client only while connected (always to the host).
    bool SendToGroup(std::uint32_t type, const void* payload, std::uint32_t size, TunGroup* group, bool reliable);
    bool SendToPlayer(std::uint32_t type, const void* payload, std::uint32_t size, TunPlayer* player,
                      bool reliable);

    // Discovery and pings.
    bool OpenDiscoverySocket();
    bool AnnounceSession();
    void SendPings();
    void AnswerPing();
    void RecordPingAnswer(std::uint32_t playerId, double nowMilliseconds);
    const std::vector<TunBroadcast>& GetFoundSessions() const { return m_foundSessions; }
    void AgeSessionList(float dt);
    // The announcement heard from the sender's address. One sender lists at
    // most a few sessions (beyond them it replaces its own least recently
    // heard one); a session heard on its own address is changed only from
    // there and stays listed while it is heard; a full list makes room only
    // by dropping a claim that named another address than its sender's.
    void UpdateSessionList(const TunBroadcast& record, const Network::Tun_Address& heardFrom);
    float GetSessionListTimeOut() const { return m_sessionListTimeOut; }
    std::uint32_t GetMeasuredUpdatesPerSecond() const { return m_measuredUpdatesPerSecond; }

    // Players and groups.
    bool AddPlayer(TunPlayer* player);
    bool PlayerLeft(TunPlayer* player);
    TunPlayer* GetLocalPlayer() const { return m_localPlayer.Get(); }
    TunPlayer* FindPlayer(std::uint32_t id) const;
    TunPlayer* FindPlayerByName(const Core::String& name) const;
    TunPlayer* FindPlayerByAddress(const Network::Tun_Address& address) const;
    // The first group with that id (name) whose owner is null or the given
    // one; without an owner argument, the local player.
    TunGroup* FindGroup(std::uint32_t id, const TunPlayer* owner) const;
    TunGroup* FindGroup(std::uint32_t id) const { return FindGroup(id, GetLocalPlayer()); }
    TunGroup* FindGroupByName(const Core::String& name, const TunPlayer* owner) const;
    TunGroup* FindGroupByName(const Core::String& name) const { return FindGroupByName(name, GetLocalPlayer()); }
    TunGroup* GetAllPlayersGroup() const { return m_allPlayers.Get(); }
    std::vector<Core::RefPtr<TunPlayer>> GetSessionPlayers() const;
    std::uint32_t GetSessionPlayersNumber() const;
    bool CreateGroup(TunGroup* group);
    bool DestroyGroup(TunGroup* group);

    // Texts.
    bool SendTextMessage(bool reliable, const Core::String& text, bool echo);
    bool SendTextMessage(bool reliable, const Core::String& text, TunGroup* group, bool echo);
    bool SendTextMessageToPlayer(bool reliable, const Core::String& text, TunPlayer* player, bool echo);

    // Replication.
    bool AddBaseNetObject(GameObject* object, const Core::String& name);
    GameObject* FindNetworkObject(const Core::String& name) const;
    void ClearNetworkObjects();
    bool AddNetworkObject(GameObject* object, std::uint32_t layerIndex, TunPlayer* owner);
    bool RemoveNetworkObject(GameObject* object);
    bool AddReplicatedObject(GameObject* object);
    bool ForgetReplicatedObject(GameObject* object);
    GameObject* FindReplicatedObject(std::uint32_t owner, std::uint32_t objectId) const;
    void RemoveNetObjectsControlledBy(TunPlayer* player);
    void DropReplicatedObjects();
    void SendObjectSnapshot(TunPlayer* player);
    const std::vector<Core::RefPtr<GameObject>>& GetReplicatedObjects() const { return m_replicatedObjects; }

    // The session's packet handlers: false only without a current front end.
    static bool HostPacketHandler(Network::Tun_Event* event);
    static bool ClientPacketHandler(Network::Tun_Event* event);

private:
    friend struct TunNetTestAccess;

    // Calls the listener, when one is set, with a message made by TUN_NEW:
    // held for the call and released after (the caller keeps no reference);
    // false without a listener.
    bool Notify(NetMessage& message);
    // Destroys the session; deferred while the listener runs inside a drain.
    void EndSession();
    void ProcessSessionEvents();
    // One send tick of Update.
    void SendHostState();
    // A client's sends all go to the host, whatever group or player they name.
    bool SendToHost(std::uint32_t type, const void* payload, std::uint32_t size, bool reliable);
    void SendClientInput();

    // Host packet handler, one per packet type; each reads through the
    // bounded reader and changes nothing when a read fails.
    void HostHandleMessage(const Network::Tun_Event& event);
    void HostJoinRequest(const Network::Tun_Event& event, Network::PayloadReader& reader);
    void HostGroupCreate(const Network::Tun_Event& event, Network::PayloadReader& reader);
    void HostGroupDestroy(const Network::Tun_Event& event, Network::PayloadReader& reader);
    void HostTextOrData(const Network::Tun_Event& event, TunPacket type, Network::PayloadReader& reader);
    void HostKeyboardOrMouse(const Network::Tun_Event& event, TunPacket type, Network::PayloadReader& reader);
    void HostConnectionClosed(const Network::Tun_Event& event);

    // Client packet handler.
    void ClientHandleMessage(const Network::Tun_Event& event);
    void ClientAnnouncement(const Network::Tun_Event& event, Network::PayloadReader& reader);
    void ClientJoinResult(Network::PayloadReader& reader);
    void ClientPlayerJoined(Network::PayloadReader& reader);
    void ClientPlayerLeft(Network::PayloadReader& reader);
    void ClientTextOrData(TunPacket type, Network::PayloadReader& reader);
    void ClientLevelName(Network::PayloadReader& reader);

    // Replication packets (both sides): 7 and 13 insert clones, 8 removes
    // (the host forwards it), 9 updates, 16 asks for a snapshot.
    void ReceiveObjectCreate(Network::PayloadReader& reader);
    // The requester is the remote player a host heard it from, who may
    // remove only its own objects; null on a client, which hears the host.
    void ReceiveObjectRemove(Network::PayloadReader& reader, const TunPlayer* requester);
    void ReceiveObjectState(Network::PayloadReader& reader);
    void ReceiveSnapshot(Network::PayloadReader& reader);
    // The first request of a player is answered at once; those within the
    // second after a snapshot are answered once, when it ends.
    void ReceiveSnapshotRequest(Network::PayloadReader& reader, const Network::Tun_Address& source);
    // Host, every frame: the snapshots whose second ended with a request.
    void SendDueSnapshots(float dt);

    // The next id of the process-wide player counter (never reused): the
    // host's own player and every player it admits.
    static std::uint32_t NextPlayerId();
    // HostSession: the listening stream (socket 2, backlog as given) and the
    // datagram socket (4) on one port: the game port, or with game port 0 a
    // port free for both. Logs why when they cannot be opened.
    bool OpenHostSockets(std::uint32_t backlog, Network::Tun_Address& hostAddress);
    // JoinSession: the stream (socket 3), connected to the session, and the
    // datagram socket (5) on one local address, the stream's. Logs why when
    // they cannot be opened, and leaves neither open.
    bool OpenClientSockets(const Network::Tun_Address& sessionAddress, Network::Tun_Address& streamAddress);
    // Opens the datagram socket on the address at a port the system picks,
    // then the stream on that port through openStream; takes another port
    // while the stream finds it taken (some other program holds it). False,
    // with the reason in failure and nothing left open, when none is found.
    bool OpenOnSharedPort(std::int32_t datagramId, const Network::Tun_Address& address,
                          const std::function<bool(const Network::Tun_Address&)>& openStream, std::string& failure);
    static void LogJoinFailure(const Network::Tun_Address& sessionAddress, std::string_view why);
    // JoinSession: delivers what arrives on the stream until the join result
    // came, the join's wait limit passed on the stopwatch or the read failed;
    // what was read behind the result is left undelivered. Whether the
    // result came.
    bool AwaitJoinAnswer(const Stopwatch& stopwatch, Network::Tun_EventList& afterAnswer);
    // Delivers read events to the packet handler; a Shutdown meanwhile waits.
    void Drain(Network::Tun_EventList& events);
    // "All_Players" in id order again after the local player's id changed.
    void SortAllPlayers();
    // A player that leaves takes its groups with it (a host tells the others
    // each one is destroyed) and is no member of any other.
    void ForgetGroupsOf(std::uint32_t playerId);
    // The session ended: no player is left in any group.
    void ForgetEveryPlayersGroups();
    // The sender's own copy of a text it sent, when asked for.
    void EchoText(bool echo, const Core::String& text);
    // Closes the stream to the host and counts the "closed" event still to
    // come, so that a later join on the same socket id does not take it for
    // its own host leaving.
    void CloseClientStream();

    // Replication helpers.
    // The host's type 9 for each replicated object (one send tick).
    void SendObjectStates();
    // Layer index, template name and network save of the object.
    static void WriteObjectEntry(NetworkFile& file, GameObject& object, std::uint32_t layerIndex);
    enum class EntryRead : std::uint8_t { Read, NoTemplate, Failed };
    // One type 7 body into a clone of its template, loaded but not placed.
    EntryRead ReadObjectEntry(NetworkFile& file, std::uint32_t& layerIndex, Core::RefPtr<GameObject>& clone) const;
    // Into the current level's layer of that index, and the list; an index
    // that names no layer drops it.
    void InsertReplica(std::uint32_t layerIndex, GameObject* clone);
    // Objects out of their layers (ended, or their level gone) leave the list.
    void ForgetObjectsOutsideLayers();

    // Test hooks (Network_TunNetTestHooks.h).
    static std::uint16_t s_discoveryPortOverride;
    static std::uint32_t s_joinWaitLimitMilliseconds;

    Network::Tun_Network_Manager m_manager;
    Network::Tun_Session* m_session = nullptr;
    NetMessageCallback m_callback = nullptr;
    std::uint32_t m_dispatchWait = 0;
    std::uint32_t m_dispatchBudget = 0;
    bool m_isHost = false;
    bool m_hosting = false;
    bool m_connected = false;
    std::uint16_t m_discoveryPort = 0;
    std::uint16_t m_gamePort = 0;
    std::uint32_t m_broadcastScope = 0;
    float m_broadcastInterval = 0.0f;
    // Host: the most players it admits. Client: the most it lists, the most
    // any host admits (an announcement is anyone's word).
    std::uint32_t m_maxPlayers = 0;
    std::uint32_t m_updatesPerSecond = 1;
    std::uint32_t m_measuredUpdatesPerSecond = 1;
    std::uint32_t m_tickCounter = 0;
    float m_sendInterval = 0.0f;
    float m_sendTimer = 0.0f;
    float m_secondTimer = 0.0f;
    // Small packets are built here; it only grows.
    std::vector<std::uint8_t> m_sendBuffer;
    std::vector<TunBroadcast> m_foundSessions;
    float m_sessionListTimeOut = 0.5f;
    Core::RefPtr<TunGroup> m_allPlayers;
    std::vector<Core::RefPtr<TunGroup>> m_groups;
    Core::RefPtr<TunPlayer> m_localPlayer;
    Network::Tun_Address m_hostAddress;
    // Closes of the stream to the host asked for here and not yet heard.
    std::uint32_t m_unheardStreamCloses = 0;
    std::vector<Core::RefPtr<GameObject>> m_replicatedObjects;
    std::vector<Core::RefPtr<GameObject>> m_templates;
    Core::String m_networkId;
    // The session's name, which every announcement carries (the session
    // keeps only its password).
    Core::String m_sessionName;
    // One ping outstanding per player: its id and send time (ms).
    struct PingRecord {
        std::uint32_t playerId = 0;
        double sentMilliseconds = 0.0;
    };
    std::vector<PingRecord> m_pings;
    // A player answered a snapshot within the last second: how much of it
    // is left and whether it asked again meanwhile.
    struct SnapshotPace {
        std::uint32_t playerId = 0;
        float secondLeft = 0.0f;
        bool requested = false;
    };
    std::vector<SnapshotPace> m_snapshotPaces;
    // Set while the session's events are drained; a Shutdown then waits
    // for the drain to return.
    bool m_draining = false;
    bool m_shutdownPending = false;
    // Set while the session closes: what peers sent and is still queued is
    // dropped unread, so a shut-down never works through a backlog; the
    // sockets' closing is still heard.
    bool m_ending = false;
    // A joined client asked for the host's objects (or its level switch
    // will): one snapshot request per join.
    bool m_snapshotRequested = false;
};

}  // namespace Tundra
