#include "Network_DriverProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace netdriver {
namespace {

using Clock = std::chrono::steady_clock;

milliseconds Remaining(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now());
    return left.count() > 0 ? left : milliseconds(0);
}

// Waits for the child to end for at most the limit; its wait status, or
// none while it still runs.
std::optional<int> Reap(pid_t pid, milliseconds limit) {
    const Clock::time_point end = Clock::now() + limit;
    do {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        usleep(10'000);
    } while (Clock::now() < end);
    return std::nullopt;
}

}  // namespace

DriverProcess::~DriverProcess() {
    Quit();
    if (m_output >= 0) {
        close(m_output);
    }
}

int DriverProcess::Quit(milliseconds limit) {
    if (m_pid <= 0) {
        return -1;
    }
    const std::string quit = "0 quit\n";
    (void)write(m_input, quit.data(), quit.size());
    close(m_input);
    m_input = -1;
    // Its output is read meanwhile, so that it never waits on a full pipe.
    const Clock::time_point end = Clock::now() + limit;
    while (ReadSome(Remaining(end)) && Clock::now() < end) {
    }
    const std::optional<int> status = Reap(m_pid, Remaining(end));
    if (!status) {
        Kill();
        return -1;
    }
    m_pid = -1;
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

bool DriverProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                          milliseconds limit) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) {
        return false;
    }
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    if (pid < 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return false;
    }
    m_pid = pid;
    m_input = toChild[1];
    m_output = fromChild[0];
    return WaitForPrefix("ready", limit).has_value();
}

bool DriverProcess::ReadSome(milliseconds limit) {
    if (m_output < 0) {
        return false;
    }
    pollfd entry{m_output, POLLIN, 0};
    const int ready = poll(&entry, 1, static_cast<int>(limit.count()));
    if (ready <= 0) {
        return ready == 0 || errno == EINTR;
    }
    char buffer[8192];
    const ssize_t count = read(m_output, buffer, sizeof buffer);
    if (count <= 0) {
        close(m_output);
        m_output = -1;
        return false;
    }
    m_pending.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end = m_pending.find('\n'); end != std::string::npos; end = m_pending.find('\n')) {
        m_lines.push_back(m_pending.substr(0, end));
        std::printf("[%s] %s\n", m_label.c_str(), m_lines.back().c_str());
        m_pending.erase(0, end + 1);
    }
    return true;
}

void DriverProcess::Drain() {
    while (m_output >= 0) {
        const std::size_t before = m_lines.size() + m_pending.size();
        if (!ReadSome(milliseconds(0)) || m_lines.size() + m_pending.size() == before) {
            return;
        }
    }
}

std::optional<std::size_t> DriverProcess::WaitFor(const std::function<bool(const std::string&)>& test,
                                                  milliseconds limit, std::size_t from) {
    const Clock::time_point end = Clock::now() + limit;
    for (std::size_t index = from;;) {
        for (; index < m_lines.size(); ++index) {
            if (test(m_lines[index])) {
                return index;
            }
        }
        if (Clock::now() >= end || !ReadSome(std::min(Remaining(end), milliseconds(50)))) {
            for (; index < m_lines.size(); ++index) {
                if (test(m_lines[index])) {
                    return index;
                }
            }
            return std::nullopt;
        }
    }
}

std::optional<std::size_t> DriverProcess::WaitForPrefix(const std::string& prefix, milliseconds limit,
                                                        std::size_t from) {
    return WaitFor([&](const std::string& line) { return line.rfind(prefix, 0) == 0; }, limit, from);
}

std::optional<std::string> DriverProcess::Ask(const std::string& command, milliseconds limit) {
    if (m_input < 0) {
        return std::nullopt;
    }
    const std::string tag = "q" + std::to_string(m_nextTag++);
    const std::string line = tag + " " + command + "\n";
    if (write(m_input, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        return std::nullopt;
    }
    const std::optional<std::size_t> answer = WaitForPrefix(tag + " ", limit, m_lines.size());
    if (!answer) {
        return std::nullopt;
    }
    const std::string& text = m_lines[*answer];
    const std::string ok = tag + " ok";
    if (text.rfind(ok, 0) != 0) {
        return std::nullopt;
    }
    return text.size() > ok.size() ? text.substr(ok.size() + 1) : std::string();
}

std::optional<std::string> DriverProcess::Lua(const std::string& chunk, milliseconds limit) {
    return Ask("lua " + chunk, limit);
}

void DriverProcess::Kill() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        (void)Reap(m_pid, milliseconds(5000));
        m_pid = -1;
    }
    if (m_input >= 0) {
        close(m_input);
        m_input = -1;
    }
}

long DriverProcess::ResidentKiB() const {
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long value = 0;
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

std::string Field(const std::string& line, const std::string& key) {
    const std::string marker = key + "=";
    std::size_t at = line.find(" " + marker);
    at = at != std::string::npos ? at + 1 : (line.rfind(marker, 0) == 0 ? 0 : std::string::npos);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + marker.size();
    const std::size_t end = line.find(' ', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace netdriver
