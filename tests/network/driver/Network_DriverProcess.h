#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One network driver as a child process: its lines as they arrive, the
// commands of its line protocol, a kill. Every wait has a limit.
namespace netdriver {

using std::chrono::milliseconds;

class DriverProcess {
public:
    // Echoes each line, prefixed by the label, to the test's output.
    explicit DriverProcess(std::string label) : m_label(std::move(label)) {}
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;
    // Asks it to quit, then kills what is left after a short wait.
    ~DriverProcess();

    // Starts the program with the arguments and waits for its "ready" line.
    bool Start(const std::string& program, const std::vector<std::string>& arguments, milliseconds limit);
    pid_t GetPid() const { return m_pid; }
    bool IsRunning() const { return m_pid > 0; }

    // Sends "TAG command" and waits for its answer: the text after
    // "TAG ok ", or none on an error answer or when the limit passed.
    std::optional<std::string> Ask(const std::string& command, milliseconds limit = milliseconds(5000));
    // Runs the chunk; its results, or none.
    std::optional<std::string> Lua(const std::string& chunk, milliseconds limit = milliseconds(5000));

    // Every line so far, in order.
    const std::vector<std::string>& Lines() const { return m_lines; }
    // Reads until a line from index `from` on satisfies the test; its index,
    // or none when the limit passed or the driver ended.
    std::optional<std::size_t> WaitFor(const std::function<bool(const std::string&)>& test, milliseconds limit,
                                       std::size_t from = 0);
    std::optional<std::size_t> WaitForPrefix(const std::string& prefix, milliseconds limit, std::size_t from = 0);
    // Reads what arrived by now without waiting.
    void Drain();

    // Asks it to quit and waits for its end (killing it after the limit);
    // its exit status, or -1 when it did not exit by itself.
    int Quit(milliseconds limit = milliseconds(10000));
    // SIGKILL, then reaps it.
    void Kill();
    // Resident memory in KiB (/proc), 0 when unknown.
    long ResidentKiB() const;

private:
    // Reads for at most the limit; false when the output closed.
    bool ReadSome(milliseconds limit);

    std::string m_label;
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    std::string m_pending;
    std::vector<std::string> m_lines;
    unsigned m_nextTag = 1;
};

// The value of "key=value" in a summary line, empty when missing.
std::string Field(const std::string& line, const std::string& key);

}  // namespace netdriver
