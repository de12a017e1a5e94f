#pragma once

#include <cstdint>
#include <string>

// A blocking message box with a set of buttons, an icon and the answer of
// the button pressed. The box belongs to the program's main window, so the
// window manager keeps it above that window, full screen or not. A box that
// cannot be shown (no display is named, video could not open the display,
// SDL fails, or the environment variable TUNDRA_NONINTERACTIVE is set for
// unattended runs) writes its text to stderr and answers 0. A box closed
// without a button answers Cancel, or OK for the OK-only box. The headless
// backend answers from a script, or with the first button of the set.
namespace os {

// Button sets (low 4 bits of the type).
constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_OKCANCEL = 0x1;
constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x2;
constexpr std::uint32_t MB_YESNOCANCEL = 0x3;
constexpr std::uint32_t MB_YESNO = 0x4;
constexpr std::uint32_t MB_RETRYCANCEL = 0x5;
constexpr std::uint32_t MB_CANCELTRYCONTINUE = 0x6;
constexpr std::uint32_t MB_TYPEMASK = 0xF;

// Icons (bits 4-7 of the type).
constexpr std::uint32_t MB_ICONHAND = 0x10;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr std::uint32_t MB_ICONASTERISK = 0x40;
constexpr std::uint32_t MB_ICONMASK = 0xF0;

// Answers; 0 means the box could not be shown.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type);

// As MessageBox, for a text its caller has written to stderr already: a box
// that cannot be shown writes nothing.
int MessageBoxBesideStderr(const std::string& text, const std::string& caption, std::uint32_t type);

}  // namespace os
