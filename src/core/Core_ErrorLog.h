#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The engine's error log: failures that the engine survives (a refused save,
// a script error) are reported here, one line each, and the run goes on.
namespace Core {

void LogError(std::string_view text);
// A name from outside (a file, a script) as a log line may show it: its
// first 64 bytes, every byte but printable ASCII as '?'.
std::string PrintableForLog(std::string_view name);

// While one lives, its thread logs only the first `shown` errors and counts
// the rest, logged as one line when it goes: a damaged file read in one go
// gives a few lines however many of its fields are refused. The innermost
// limit of a thread counts.
class ErrorLogLimit {
public:
    explicit ErrorLogLimit(std::size_t shown);
    ~ErrorLogLimit();
    ErrorLogLimit(const ErrorLogLimit&) = delete;
    ErrorLogLimit& operator=(const ErrorLogLimit&) = delete;

private:
    friend void LogError(std::string_view text);
    // Whether the calling thread's next error is written; counts it if not.
    static bool Admits();

    ErrorLogLimit* m_outer;
    std::size_t m_left;
    std::size_t m_withheld = 0;
};

}  // namespace Core
