// A network driver: Emberline on its own levels, headless, on the real
// clock at 60 frames a second, reaching the network only through scripts,
// with the local address forced to 127.0.0.1. A test runs two or more and
// talks to each over its standard input and output (Network_DriverCommands.h).
//
//   network_driver --role host|client --port DISCOVERY --network-id ID
//                  --home FOLDER [--name PLAYER] [--session NAME] [--seconds LIMIT]
//
// A host starts networking, hosts NAME ("Room" unless given; 4 players, no
// password) as PLAYER
// and goes to the title level; a client starts networking and browses. The
// driver ends on "quit", when its input closes, or after LIMIT seconds.

#include "Network_DriverCommands.h"
#include "Network_DriverGame.h"
#include "Network_DriverScript.h"

#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_Backend.h"
#include "os/OS_ClockTestHooks.h"
#include "support/Renderer_FakeTextureCache.h"
#include "tundra/Tundra_Level.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::nanoseconds kFrame{16'666'667};

struct Options {
    bool host = false;
    int port = -1;
    std::string networkId;
    std::string home;
    std::string name;
    std::string session = "Room";
    double seconds = 60.0;
};

// The headless backend's clock stands still; the driver's runs in real time.
double RealMilliseconds() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

void KeepHeadlessClockReal() {
    os::headless::SetClockNanoseconds(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count());
}

bool ParseOptions(int argc, char** argv, Options& options) {
    std::string role;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--role") {
            role = value;
        } else if (option == "--port") {
            options.port = std::atoi(value);
        } else if (option == "--network-id") {
            options.networkId = value;
        } else if (option == "--home") {
            options.home = value;
        } else if (option == "--name") {
            options.name = value;
        } else if (option == "--session") {
            options.session = value;
        } else if (option == "--seconds") {
            options.seconds = std::atof(value);
        } else {
            return false;
        }
    }
    options.host = role == "host";
    if (options.name.empty()) {
        options.name = options.host ? "Host" : "Guest";
    }
    return argc % 2 == 1 && (role == "host" || role == "client") && options.port > 0 && options.port < 65536 &&
           !options.networkId.empty() && !options.home.empty() && options.seconds > 0.0;
}

// The role's first steps, once the intro runs.
std::string StartChunk(const Options& options) {
    const std::string start = "Game:NetworkStart('" + options.networkId + "')";
    if (!options.host) {
        return "return " + start;
    }
    return "local started = " + start + " local hosted = Game:HostNetworkGame('" + options.session + "', '" + options.name +
           "', '', 4) Game:GoToLevel(1) return started, hosted";
}

int RunDriver(const Options& options) {
    // Each driver keeps its settings and profile in its own folder.
    setenv("XDG_DATA_HOME", options.home.c_str(), 1);
    setenv("HOME", options.home.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 0);
    os::SelectBackend(os::Backend::Headless);
    KeepHeadlessClockReal();
    Core::SetClockFunction(&RealMilliseconds);
    Network::ForceLocalHost(0x7F000001);
    Tundra::TunNetTestAccess::SetDiscoveryPortOverride(static_cast<std::uint16_t>(options.port));
    const testsupport::FakeTextureCache textures;

    Core::RefPtr<netdriver::DriverGame> game = netdriver::MakeDriverGame();
    if (!game) {
        netdriver::PrintLine("error the game could not be made");
        return 1;
    }
    std::string error;
    if (!netdriver::DefineDriverHelpers(error)) {
        netdriver::PrintLine("error " + error);
        return 1;
    }
    netdriver::PrintLine("ready pid=" + std::to_string(getpid()));

    netdriver::CommandReader commands;
    std::string sessions;
    Core::RefPtr<Tundra::Level> level;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(options.seconds));
    Clock::time_point next = Clock::now();
    bool running = true;
    for (std::uint64_t frame = 0; running && !commands.AtEnd() && Clock::now() < end; ++frame) {
        KeepHeadlessClockReal();
        game->Frame();
        if (frame == 0) {
            std::string results;
            const bool ok = netdriver::RunScript(StartChunk(options), results);
            netdriver::PrintLine(std::string("started ") + (ok ? "ok " : "error ") + results);
        }
        netdriver::ReportLevel(*game, level);
        netdriver::ReportSessions(sessions);
        for (const std::string& line : commands.Take()) {
            running = running && netdriver::RunCommand(*game, line);
        }
        // A late frame does not make the next ones hurry.
        next += kFrame;
        const Clock::time_point now = Clock::now();
        if (next < now) {
            next = now;
        }
        std::this_thread::sleep_until(next);
    }
    level = nullptr;
    game->Shutdown();
    game = nullptr;
    netdriver::PrintLine("bye");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s --role host|client --port DISCOVERY --network-id ID --home FOLDER "
                     "[--name PLAYER] [--session NAME] [--seconds LIMIT]\n",
                     argv[0]);
        return 2;
    }
    // A test that went away closes the pipes: writes then fail instead of
    // ending the driver before it shuts its game down.
    std::signal(SIGPIPE, SIG_IGN);
    std::uint8_t core = 0;
    CoreStartup(core);
    const int status = RunDriver(options);
    CoreShutdown(core);
    return status;
}
