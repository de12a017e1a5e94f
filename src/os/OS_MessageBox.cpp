#include "os/OS_MessageBox.h"

#include "os/OS_Backend.h"
#include "os/OS_HeadlessMessageBoxHooks.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <vector>

namespace os {
namespace {

struct Button {
    int id;
    const char* label;
};

std::vector<Button> ButtonsFor(std::uint32_t type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
        case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
        case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
        case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "Try Again"}, {IDCONTINUE, "Continue"}};
        default: return {{IDOK, "OK"}};
    }
}

Uint32 SdlIconFlags(std::uint32_t type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

struct HeadlessState {
    std::mutex mutex;
    std::deque<int> answers;
    int count = 0;
    headless::ShownMessageBox last;
};

HeadlessState& Headless() {
    static HeadlessState state;
    return state;
}

void WriteToStderr(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

int HeadlessMessageBox(const std::string& text, const std::string& caption, std::uint32_t type) {
    HeadlessState& state = Headless();
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.count;
    const detail::WindowRecord* window = detail::MainWindow();
    state.last = {text, caption, type, window != nullptr ? window->system->GetTitle(*window) : std::string()};
    if (state.answers.empty()) {
        return ButtonsFor(type).front().id;
    }
    const int answer = state.answers.front();
    state.answers.pop_front();
    return answer;
}

// Unattended runs (tests, scripted runs) set TUNDRA_NONINTERACTIVE: a box
// there would wait for a click that never comes.
bool IsNonInteractive() {
    const char* value = std::getenv("TUNDRA_NONINTERACTIVE");
    return value != nullptr && value[0] != '\0' && value[0] != '0';
}

// A box closed without a button: Cancel where the set has one, OK for the
// OK-only box; the other sets cannot be dismissed, so nothing was answered.
int ClosedAnswer(const std::vector<Button>& buttons) {
    for (int preferred : {IDCANCEL, IDOK}) {
        for (const Button& button : buttons) {
            if (button.id == preferred) {
                return preferred;
            }
        }
    }
    return 0;
}

// Without a display SDL hands the box to a helper program (zenity), which
// cannot open one either yet exits as if the box had been closed: the text
// would reach no one. So only a display that is named, and that video has
// not failed to open, is given the box.
bool CanShowOnDisplay() { return sdl::IsDisplayNamed() && !sdl::IsDisplayUnavailable(); }

// A box that is not shown answers 0, never a button: a failure must not
// read as the user's agreement. Unless the caller wrote it, the text still
// reaches stderr.
int SdlMessageBox(const std::string& text, const std::string& caption, std::uint32_t type, bool writeUnshown) {
    const std::vector<Button> buttons = ButtonsFor(type);
    if (IsNonInteractive() || !CanShowOnDisplay()) {
        if (writeUnshown) {
            WriteToStderr(text, caption);
        }
        return 0;
    }
    std::vector<SDL_MessageBoxButtonData> data;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        Uint32 flags = 0;
        if (i == 0) {
            flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        }
        if (buttons[i].id == IDCANCEL) {
            flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        data.push_back({flags, buttons[i].id, buttons[i].label});
    }
    SDL_MessageBoxData box{};
    box.flags = SdlIconFlags(type);
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    // The box belongs to the game's window: a window manager keeps it above
    // that window even when it covers the desktop and stays on top.
    const detail::WindowRecord* parent = detail::MainWindow();
    box.window = parent != nullptr ? parent->system->Native(*parent) : nullptr;
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        if (writeUnshown) {
            WriteToStderr(text, caption);
        }
        return 0;
    }
    return answer > 0 ? answer : ClosedAnswer(buttons);
}

int ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t type, bool writeUnshown) {
    return IsHeadless() ? HeadlessMessageBox(text, caption, type) : SdlMessageBox(text, caption, type, writeUnshown);
}

}  // namespace

int MessageBox(const std::string& text, const std::string& caption, std::uint32_t type) {
    return ShowMessageBox(text, caption, type, true);
}

int MessageBoxBesideStderr(const std::string& text, const std::string& caption, std::uint32_t type) {
    return ShowMessageBox(text, caption, type, false);
}

namespace headless {

void QueueMessageBoxAnswer(int answer) {
    HeadlessState& state = Headless();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.answers.push_back(answer);
}

void ClearMessageBoxAnswers() {
    HeadlessState& state = Headless();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.answers.clear();
    state.count = 0;
    state.last = {};
}

int MessageBoxCount() {
    HeadlessState& state = Headless();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.count;
}

ShownMessageBox LastMessageBox() {
    HeadlessState& state = Headless();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.last;
}

}  // namespace headless
}  // namespace os
