#include "network/Network_PayloadWriter.h"
#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

#include "core/Core_Clock.h"
#include "engine/Engine_RenderingApplication.h"
#include "input/Input_Keyboard.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_Mouse.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>

namespace Tundra {

namespace {

// An unanswered ping is sent again after this long.
constexpr double kPingRetryMilliseconds = 1000.0;

// Counts one send tick when the timer is due; the remainder carried over is
// at most the frame's dt, so a slow frame never brings a burst of sends.
bool SendTickDue(float& sendTimer, float sendInterval, float dt) {
    if (sendTimer < sendInterval) {
        return false;
    }
    sendTimer -= sendInterval;
    sendTimer = std::min(sendTimer, dt);
    return true;
}

}  // namespace

void TunNet::Update(float dt) {
    if (GetCurrent() != this) {
        return;
    }
    m_sendTimer += dt;
    m_secondTimer += dt;
    AgeSessionList(dt);
    if (m_isHost) {
        SendPings();
        AnnounceSession();
        ProcessSessionEvents();
        if (GetCurrent() != this) {
            return;
        }
        SendDueSnapshots(dt);
        if (GetCurrent() != this) {
            return;
        }
        if (SendTickDue(m_sendTimer, m_sendInterval, dt)) {
            ++m_tickCounter;
            SendHostState();
        }
    } else {
        if (SendTickDue(m_sendTimer, m_sendInterval, dt)) {
            ++m_tickCounter;
            SendClientInput();
        }
        ProcessSessionEvents();
        if (GetCurrent() != this) {
            return;
        }
    }
    if (m_secondTimer >= 1.0f) {
        m_measuredUpdatesPerSecond = std::max<std::uint32_t>(m_tickCounter, 1);
        m_tickCounter = 0;
        m_secondTimer = std::min(m_secondTimer - 1.0f, dt);
    }
}

void TunNet::ProcessSessionEvents() {
    const bool outerDrain = m_draining;
    m_draining = true;
    m_session->ProcessEvents(m_dispatchBudget, m_dispatchWait, nullptr, nullptr);
    m_draining = outerDrain;
    if (m_shutdownPending && !m_draining) {
        EndSession();
    }
}

void TunNet::SendHostState() {
    const Game* game = Game::GetInstance();
    const Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    // Between two levels there is no level to name.
    if (level != nullptr) {
        const Core::String& name = level->GetTypeName();
        SendToGroup(static_cast<std::uint32_t>(TunPacket::LevelName), name.c_str(),
                    static_cast<std::uint32_t>(name.size() + 1), nullptr, false);
    }
    SendObjectStates();
}

void TunNet::SendClientInput() {
    const Game* game = Game::GetInstance();
    if (m_localPlayer == nullptr || !m_connected || game == nullptr) {
        return;
    }
    // The local player's id, then the snapshot; an empty one is not sent.
    const auto sendSnapshot = [this](TunPacket type, std::span<const std::uint8_t> snapshot) {
        if (snapshot.empty()) {
            return;
        }
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteU32(m_localPlayer->GetID());
        writer.WriteBytes(snapshot);
        SendToGroup(static_cast<std::uint32_t>(type), writer.GetData(), writer.GetSize(), nullptr, false);
    };
    Input::Keyboard* keyboard = game->GetKeyboard();
    if (keyboard != nullptr && keyboard->AnyKey()) {
        sendSnapshot(TunPacket::Keyboard, keyboard->WriteSnapshot());
    }
    if (Input::Mouse* mouse = game->GetMouse(); mouse != nullptr) {
        sendSnapshot(TunPacket::Mouse, mouse->WriteSnapshot());
    }
}

void TunNet::UpdatePlayerDevices() {
    // Only a host keeps mirror keyboards: each holds just the keys its
    // player's latest packet reported.
    const std::vector<Core::RefPtr<TunPlayer>> players = m_allPlayers->GetPlayers();
    for (const Core::RefPtr<TunPlayer>& player : players) {
        if (m_isHost && player->IsLocal()) {
            continue;
        }
        if (Input::KeyboardImp* keyboard = player->GetMirrorKeyboard()) {
            keyboard->Reset();
        }
    }
}

bool TunNet::AnnounceSession() {
    if (GetCurrent() != this || !m_hosting || m_localPlayer == nullptr) {
        return false;
    }
    Network::PayloadWriter writer(m_sendBuffer);
    writer.Clear();
    TunBroadcast::WriteAnnouncement(writer, m_localPlayer->GetAddress(), m_maxPlayers, GetSessionPlayersNumber(),
                                    m_session->GetOpenFlag() != 0, m_sessionName, m_networkId);
    return m_session->SetBroadcastPayload(writer.GetData(), writer.GetSize());
}

void TunNet::SendPings() {
    if (m_localPlayer == nullptr || !m_isHost || !m_hosting) {
        m_pings.clear();
        return;
    }
    // Records of players who left go with them.
    std::erase_if(m_pings, [this](const PingRecord& record) { return FindPlayer(record.playerId) == nullptr; });
    const std::uint32_t hostId = m_localPlayer->GetID();
    const std::vector<Core::RefPtr<TunPlayer>> players = m_allPlayers->GetPlayers();
    for (const Core::RefPtr<TunPlayer>& player : players) {
        if (player->IsLocal()) {
            continue;
        }
        const double now = Core::GetMilliseconds();
        auto record = std::find_if(m_pings.begin(), m_pings.end(), [&](const PingRecord& outstanding) {
            return outstanding.playerId == player->GetID();
        });
        if (record != m_pings.end() && now - record->sentMilliseconds < kPingRetryMilliseconds) {
            continue;
        }
        if (record == m_pings.end()) {
            record = m_pings.insert(m_pings.end(), PingRecord{player->GetID(), now});
        }
        record->sentMilliseconds = now;
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteU32(hostId);
        m_session->SendMessage(kHostDatagramSocket, static_cast<std::uint32_t>(TunPacket::PingRequest),
                               writer.GetData(), writer.GetSize(), player->GetAddress());
    }
}

void TunNet::RecordPingAnswer(std::uint32_t playerId, double nowMilliseconds) {
    TunPlayer* player = FindPlayer(playerId);
    const auto record = std::find_if(m_pings.begin(), m_pings.end(),
                                     [&](const PingRecord& outstanding) { return outstanding.playerId == playerId; });
    // An answer without a ping outstanding (repeated, late or made up) says nothing.
    if (player == nullptr || record == m_pings.end()) {
        return;
    }
    player->SetPingTime(nowMilliseconds - record->sentMilliseconds);
    m_pings.erase(record);
}

void TunNet::AnswerPing() {
    if (GetCurrent() != this || m_localPlayer == nullptr) {
        return;
    }
    Network::PayloadWriter writer(m_sendBuffer);
    writer.Clear();
    writer.WriteU32(m_localPlayer->GetID());
    m_session->SendMessage(kClientDatagramSocket, static_cast<std::uint32_t>(TunPacket::PingAnswer), writer.GetData(),
                           writer.GetSize(), m_hostAddress);
}

}  // namespace Tundra
