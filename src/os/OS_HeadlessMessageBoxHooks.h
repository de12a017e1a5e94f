#pragma once

#include "os/OS_MessageBox.h"

#include <cstdint>
#include <string>

// Test hooks of the headless message box: scripted answers and what was shown.
namespace os::headless {

struct ShownMessageBox {
    std::string text;
    std::string caption;
    std::uint32_t type = 0;
    // The title of the window the box stood over (the main window).
    std::string windowTitle;
};

// Queues the answer of the next headless box; with none queued the box
// answers with the first button of its set. Answer 0 simulates a failure.
void QueueMessageBoxAnswer(int answer);
void ClearMessageBoxAnswers();
int MessageBoxCount();
ShownMessageBox LastMessageBox();

}  // namespace os::headless
