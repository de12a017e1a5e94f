#include "support/BareXServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr int kNotInstalled = 127;

std::string ReadDisplay(int fd) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    char c = 0;
    while (std::chrono::steady_clock::now() < end && poll(&ready, 1, 100) >= 0) {
        if ((ready.revents & (POLLIN | POLLHUP)) == 0) {
            continue;
        }
        if (read(fd, &c, 1) != 1) {
            return {};
        }
        if (c == '\n') {
            return ":" + number;
        }
        number += c;
    }
    return {};
}

void SetOrUnset(const std::string& name, const char* value) {
    if (value != nullptr) {
        setenv(name.c_str(), value, 1);
    } else {
        unsetenv(name.c_str());
    }
}

}  // namespace

BareXServer::BareXServer(int width, int height) {
    int ends[2];
    if (pipe(ends) != 0) {
        return;
    }
    fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    const std::string writeEnd = std::to_string(ends[1]);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const char* argv[] = {"Xvfb", "-displayfd", writeEnd.c_str(), "-screen", "0", screen.c_str(),
                          "-nolisten", "tcp", nullptr};
    m_pid = fork();
    if (m_pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], const_cast<char**>(argv));
        _exit(kNotInstalled);
    }
    close(ends[1]);
    if (m_pid > 0) {
        m_display = ReadDisplay(ends[0]);
    }
    close(ends[0]);
    if (m_pid > 0 && m_display.empty()) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_installed = !WIFEXITED(status) || WEXITSTATUS(status) != kNotInstalled;
        m_pid = -1;
    }
}

BareXServer::~BareXServer() { Stop(); }

void BareXServer::Stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : m_name(name) {
    if (const char* previous = std::getenv(name)) {
        m_previous = previous;
    }
    SetOrUnset(m_name, value);
}

ScopedVariable::~ScopedVariable() { SetOrUnset(m_name, m_previous ? m_previous->c_str() : nullptr); }

}  // namespace testsupport
