#pragma once

#include <cstdint>
#include <string>

// Ending the process with a 32-bit code, as the engine's fatal paths do.
namespace os {

// Linux keeps only 8 bits of an exit status, so 256 would read as success:
// a non-zero code maps to (code & 0xFF), or to 1 when those bits are 0.
int ExitStatusFor(std::uint32_t code);

// Flushes standard streams, shuts SDL down (restoring the desktop's display
// mode) and ends the process at once, without static destructors. A
// non-zero code is also printed in full on stderr.
[[noreturn]] void ExitProcess(std::uint32_t code);

// Ends the process over a fatal error whose text names the code: the text
// is written to stderr as one line (its line breaks become "; "), then
// shown as it is in an error box with the caption where a display can show
// one (never waiting for a box that cannot come), and the process ends as
// ExitProcess ends it, without a second line.
[[noreturn]] void FatalExit(const std::string& text, const std::string& caption, std::uint32_t code);

}  // namespace os
