#include "os/OS_Error.h"

#include <cerrno>
#include <cstring>

namespace os {
namespace {

thread_local std::uint32_t t_lastError = 0;
thread_local std::uint32_t t_textCode = 0;
thread_local std::string t_text;

constexpr const char* kUnknownError = "unknown error";

// glibc's strerror_r answers "Unknown error N" for codes it does not know.
std::string SystemText(std::uint32_t code) {
    if (code == 0 || code > 4095) {
        return {};
    }
    char buffer[256] = {};
    const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) {
        return {};
    }
    return text;
}

}  // namespace

void SetLastError(std::uint32_t code) {
    t_lastError = code;
    t_textCode = 0;
    t_text.clear();
}

std::uint32_t GetLastError() { return t_lastError; }

void SetLastErrorWithText(std::uint32_t code, const std::string& text) {
    t_lastError = code;
    t_textCode = code;
    t_text = text;
}

bool FailWithText(std::uint32_t code, const std::string& text) {
    SetLastErrorWithText(code, text);
    return false;
}

std::uint32_t SetLastErrorFromErrno() {
    const std::uint32_t code = errno > 0 ? static_cast<std::uint32_t>(errno) : 0u;
    SetLastError(code);
    return code;
}

std::string ErrorText(std::uint32_t code) {
    if (code != 0 && code == t_textCode && !t_text.empty()) {
        return t_text;
    }
    std::string text = SystemText(code);
    return text.empty() ? kUnknownError : text;
}

}  // namespace os
