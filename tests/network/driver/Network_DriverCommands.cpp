#include "Network_DriverCommands.h"

#include "Network_DriverGame.h"
#include "Network_DriverScript.h"

#include "network/Network_TunNet.h"
#include "os/OS_HeadlessInput.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <sstream>
#include <unistd.h>

namespace netdriver {
namespace {

constexpr std::uint32_t kHighestGroupId = 256;

std::string Fixed(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

// Groups reachable by any player of the session or by nobody.
std::size_t GroupCount(const Tundra::TunNet& network) {
    std::set<const Tundra::TunGroup*> groups;
    std::vector<const Tundra::TunPlayer*> owners{nullptr};
    for (const Core::RefPtr<Tundra::TunPlayer>& player : network.GetSessionPlayers()) {
        owners.push_back(player.Get());
    }
    for (const Tundra::TunPlayer* owner : owners) {
        for (std::uint32_t id = 1; id <= kHighestGroupId; ++id) {
            if (const Tundra::TunGroup* group = network.FindGroup(id, owner)) {
                groups.insert(group);
            }
        }
    }
    return groups.size();
}

std::string LevelObjects(const DriverGame& game) {
    const Tundra::Level* level = game.GetCurrentLevel();
    std::size_t objects = 0;
    std::size_t colliders = 0;
    std::size_t bodies = 0;
    std::string dots;
    for (std::uint32_t index = 0; level != nullptr && index < level->GetLayersCount(); ++index) {
        const Tundra::Layer* layer = level->GetLayer(index);
        std::vector<Tundra::GameObject*> list;
        if (layer != nullptr) {
            layer->GetGameObjects(list);
        }
        for (const Tundra::GameObject* object : list) {
            const Tundra::NetObjectID* identity = object->GetNetworkId();
            if (identity == nullptr) {
                ++objects;
                colliders += object->GetCollisionObject() != nullptr ? 1 : 0;
                bodies += object->GetPhysicsId() != 0 ? 1 : 0;
                continue;
            }
            dots += (dots.empty() ? "" : ";") + std::to_string(identity->GetOwnerId()) + "." +
                    std::to_string(identity->GetObjectNumber()) + "@" +
                    std::to_string(index) + ":" + Fixed(object->GetPosition().x) + "," +
                    Fixed(object->GetPosition().y);
        }
    }
    return "objects=" + std::to_string(objects) + " colliders=" + std::to_string(colliders) +
           " bodies=" + std::to_string(bodies) + " dots=" + dots;
}

std::string Answer(const std::string& tag, bool ok, const std::string& text) {
    return tag + (ok ? " ok " : " error ") + text;
}

}  // namespace

CommandReader::CommandReader() { fcntl(STDIN_FILENO, F_SETFL, fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK); }

std::vector<std::string> CommandReader::Take() {
    char buffer[4096];
    while (!m_atEnd) {
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count > 0) {
            m_pending.append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            m_atEnd = true;
        } else {
            break;
        }
    }
    std::vector<std::string> lines;
    for (std::size_t end = m_pending.find('\n'); end != std::string::npos; end = m_pending.find('\n')) {
        lines.push_back(m_pending.substr(0, end));
        m_pending.erase(0, end + 1);
    }
    return lines;
}

bool RunCommand(DriverGame& game, const std::string& line) {
    std::istringstream words(line);
    std::string tag;
    std::string verb;
    words >> tag >> verb;
    if (verb == "quit") {
        PrintLine(Answer(tag, true, ""));
        return false;
    }
    if (verb == "lua") {
        std::string chunk;
        std::getline(words >> std::ws, chunk);
        std::string results;
        const bool ok = RunScript(chunk, results);
        PrintLine(Answer(tag, ok, results));
    } else if (verb == "state") {
        PrintLine(Answer(tag, true, StateSummary(game)));
    } else if (verb == "key") {
        int code = -1;
        int down = 0;
        words >> code >> down;
        const bool ok = !words.fail() && code >= 0 && code < 256;
        if (ok) {
            os::headless::SetKey(static_cast<os::VirtualKey>(code), down != 0);
        }
        PrintLine(Answer(tag, ok, ok ? "" : "key CODE 0|1"));
    } else {
        PrintLine(Answer(tag, false, "unknown command"));
    }
    return true;
}

std::string StateSummary(DriverGame& game) {
    std::string roles;
    if (!RunScript("return Game:IsNetworkGame() and 1 or 0, Game:IsServer() and 1 or 0, Driver.Players()", roles)) {
        roles = "?|?|?";
    }
    std::string net;
    std::string server;
    std::string players;
    std::istringstream parts(roles);
    std::getline(parts, net, '|');
    std::getline(parts, server, '|');
    std::getline(parts, players);
    const Tundra::TunNet* network = game.GetNetworkEngine();
    const Tundra::TunPlayer* local = network != nullptr ? network->GetLocalPlayer() : nullptr;
    return "level=" + std::to_string(game.GetCurrentLevelIndex()) + " net=" + net + " server=" + server +
           " local=" + std::to_string(local != nullptr ? local->GetID() : 0) +
           " port=" + std::to_string(local != nullptr ? local->GetAddress().GetPort() : 0) + " players=" + players +
           " groups=" + std::to_string(network != nullptr ? GroupCount(*network) : 0) + " " + LevelObjects(game) +
           " copies=" + std::to_string(network != nullptr ? network->GetReplicatedObjects().size() : 0);
}

void ReportSessions(std::string& lastPrinted) {
    std::string sessions;
    if (!RunScript("return Driver.Sessions()", sessions)) {
        sessions = "error " + sessions;
    }
    if (sessions != lastPrinted) {
        lastPrinted = sessions;
        PrintLine("sessions " + sessions);
    }
}

void ReportLevel(const DriverGame& game, Core::RefPtr<Tundra::Level>& lastPrinted) {
    Tundra::Level* level = game.GetCurrentLevel();
    if (level != nullptr && level != lastPrinted.Get()) {
        lastPrinted = level;
        PrintLine("level " + std::to_string(game.GetCurrentLevelIndex()) + " " + std::string(level->GetTypeName()));
    }
}

}  // namespace netdriver
