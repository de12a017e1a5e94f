#pragma once

#include <cstdint>
#include <string>

// Thread-local last-error code, as failing OS-layer calls leave it. Codes
// taken from errno keep their value; calls that fail for other reasons
// (SDL, emulated checks) store a code together with a text of their own.
namespace os {

// A call was given an argument it cannot use (a null output, a bad size).
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;

void SetLastError(std::uint32_t code);
std::uint32_t GetLastError();

// Records a failure with its own description (for example SDL_GetError()).
void SetLastErrorWithText(std::uint32_t code, const std::string& text);
// The same, for a call that fails: false.
bool FailWithText(std::uint32_t code, const std::string& text);

// Records errno as the last error and returns it.
std::uint32_t SetLastErrorFromErrno();

// A description of the code; never empty ("unknown error" when none is known).
std::string ErrorText(std::uint32_t code);

}  // namespace os
