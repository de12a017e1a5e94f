#include "network/Network_PayloadReader.h"
#include "network/Network_TunNet.h"

#include <algorithm>

// A snapshot holds every replicated object and a request is a few bytes: a
// host answers each player at most once a second, so that asking cannot
// multiply what it sends.
namespace Tundra {
namespace {

constexpr float kSnapshotIntervalSeconds = 1.0f;

}  // namespace

void TunNet::ReceiveSnapshotRequest(Network::PayloadReader& reader, const Network::Tun_Address& source) {
    const std::uint32_t playerId = reader.ReadU32();
    if (reader.HasFailed() || !IsNetworkGame() || !m_isHost) {
        return;
    }
    // Only a player asks for itself, over its own connection.
    const Core::RefPtr<TunPlayer> player = FindPlayer(playerId);
    if (player == nullptr || player->IsLocal() || !player->GetAddress().SameEndpoint(source)) {
        return;
    }
    const auto pace = std::find_if(m_snapshotPaces.begin(), m_snapshotPaces.end(),
                                   [playerId](const SnapshotPace& each) { return each.playerId == playerId; });
    if (pace != m_snapshotPaces.end()) {
        pace->requested = true;
        return;
    }
    m_snapshotPaces.push_back(SnapshotPace{playerId, kSnapshotIntervalSeconds, false});
    SendObjectSnapshot(player.Get());
}

void TunNet::SendDueSnapshots(float dt) {
    // Records of players who left go with them, their requests unanswered; a
    // second that ends without a request lets the next one be answered at once.
    std::vector<std::uint32_t> due;
    std::erase_if(m_snapshotPaces, [&](SnapshotPace& pace) {
        pace.secondLeft -= dt;
        if (FindPlayer(pace.playerId) == nullptr) {
            return true;
        }
        if (pace.secondLeft > 0.0f) {
            return false;
        }
        if (!pace.requested) {
            return true;
        }
        due.push_back(pace.playerId);
        pace.secondLeft = kSnapshotIntervalSeconds;
        pace.requested = false;
        return false;
    });
    // Each snapshot runs the objects' hooks, which may end the session or
    // let players go.
    for (const std::uint32_t playerId : due) {
        if (GetCurrent() != this) {
            return;
        }
        if (const Core::RefPtr<TunPlayer> player = FindPlayer(playerId); player != nullptr) {
            SendObjectSnapshot(player.Get());
        }
    }
}

}  // namespace Tundra
