#include "support/X11Desktop.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

// Runs a test program with openbox managing the X display (DISPLAY) for the
// whole run, as on a player's desktop: started and seen managing before the
// program starts, ended and reaped after it.
//   run_under_window_manager PROGRAM [ARGUMENTS...]
// Its status is the program's; kSkipped (CTest's SKIP_RETURN_CODE) when
// there is no display to manage or openbox is not installed.
namespace {

constexpr int kSkipped = 77;

int Fail(const char* message, const char* display) {
    std::fprintf(stderr, "run_under_window_manager: %s (DISPLAY=%s)\n", message, display);
    return 1;
}

int Skip(const char* message) {
    std::printf("%s: skipped\n", message);
    return kSkipped;
}

int RunToEnd(char** command) {
    const pid_t program = fork();
    if (program == 0) {
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }
    int status = 0;
    if (program < 0 || waitpid(program, &status, 0) != program) {
        std::perror("run_under_window_manager");
        return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: run_under_window_manager PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr) {
        return Skip("no X display to manage");
    }
    {
        const testsupport::X11Observer observer(display);
        if (!observer.Connected()) {
            return Fail("cannot open the X display", display);
        }
        if (observer.WindowManagerRunning()) {
            return Skip("the display already has a window manager");
        }
    }
    const testsupport::WindowManager manager(display);
    if (!manager.Installed()) {
        return Skip("openbox is not installed");
    }
    if (!manager.Managing()) {
        return Fail("openbox ended or did not take the display within 20 s", display);
    }
    return RunToEnd(argv + 1);
}
