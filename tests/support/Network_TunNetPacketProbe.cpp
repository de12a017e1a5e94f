#include "support/Network_TunNetPacketProbe.h"

#include "network/Network_TunNetTestHooks.h"
#include "os/OS_SocketAddress.h"
#include "support/Network_FrontEndFixture.h"

#include <cstdlib>
#include <sstream>

namespace testsupport {

namespace {

void DescribeAddress(std::ostream& out, const Network::Tun_Address& address) {
    out << address.GetIPv4() << ':' << address.GetPort();
}

void DescribePlayer(std::ostream& out, const Tundra::TunPlayer& player) {
    out << player.GetID() << '"' << player.GetName() << '"' << player.IsLocal() << player.IsHost()
        << player.IsSynchronised() << '@';
    DescribeAddress(out, player.GetAddress());
    out << ' ';
}

}  // namespace

std::string DescribeFrontEnd(const Tundra::TunNet& network) {
    std::ostringstream out;
    out << "flags " << network.IsHost() << network.IsHosting() << network.IsConnected() << network.IsNetworkGame()
        << "\nlocal ";
    if (const Tundra::TunPlayer* local = network.GetLocalPlayer(); local != nullptr) {
        DescribePlayer(out, *local);
    }
    out << "\nplayers ";
    for (const Core::RefPtr<Tundra::TunPlayer>& player : network.GetSessionPlayers()) {
        DescribePlayer(out, *player);
    }
    out << "\ngroups ";
    for (const Core::RefPtr<Tundra::TunGroup>& group : Tundra::TunNetTestAccess::GetGroups(network)) {
        out << group->GetID() << '"' << group->GetName() << "\" owner "
            << (group->GetOwner() != nullptr ? group->GetOwner()->GetID() : 0) << " [";
        for (const Core::RefPtr<Tundra::TunPlayer>& member : group->GetPlayers()) {
            out << member->GetID() << ' ';
        }
        out << "] ";
    }
    out << "\nsessions ";
    for (const Tundra::TunBroadcast& session : network.GetFoundSessions()) {
        out << '"' << session.GetHostName() << "\" \"" << session.GetNetworkID() << "\" "
            << session.GetSessionMaxPlayers() << '/' << session.GetSessionPlayersNumber()
            << session.IsPasswordProtected() << '@';
        DescribeAddress(out, session.GetAddress());
        out << ' ';
    }
    out << "\nobjects " << network.GetReplicatedObjects().size() << "\nheard " << RecordingListener::Heard().size();
    return out.str();
}

Bytes Mutate(const Bytes& original, std::mt19937& random) {
    Bytes bytes = original;
    const auto pick = [&random](std::size_t bound) {
        return bound == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
    };
    const std::size_t edits = 1 + pick(4);
    for (std::size_t edit = 0; edit < edits; ++edit) {
        switch (pick(6)) {
        case 0:
            if (!bytes.empty()) {
                bytes[pick(bytes.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
            }
            break;
        case 1:
            if (!bytes.empty()) {
                bytes[pick(bytes.size())] = static_cast<std::uint8_t>(pick(256));
            }
            break;
        case 2:
            bytes.resize(pick(bytes.size() + 1));
            break;
        case 3:
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() + 1)),
                         static_cast<std::uint8_t>(pick(256)));
            break;
        case 4:
            if (!bytes.empty()) {
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())));
            }
            break;
        default:
            // A length or count that lies: a u32 of all ones or a large value.
            if (bytes.size() >= 4) {
                const std::size_t at = pick(bytes.size() - 3);
                const std::uint32_t value =
                    pick(2) == 0 ? 0xFFFFFFFFu : 0x7FFFFFF0u + static_cast<std::uint32_t>(pick(16));
                for (int i = 0; i < 4; ++i) {
                    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
            break;
        }
    }
    if (bytes == original) {
        bytes.push_back(0xFF);
    }
    return bytes;
}

std::uint32_t MutationCount(std::uint32_t fallback) {
    const char* text = std::getenv("TUNDRA_MUTATIONS");
    if (text == nullptr) {
        return fallback;
    }
    const unsigned long value = std::strtoul(text, nullptr, 10);
    return value > 0 ? static_cast<std::uint32_t>(value) : fallback;
}

}  // namespace testsupport
