#pragma once

#include <string>
#include <vector>

// Test hooks of the error log, kept apart from what the engine includes.
namespace Core::testhooks {

// While capturing, logged lines are kept (and still written to stderr).
void StartCapturingErrors();
// The lines logged since capturing started; capturing stops.
std::vector<std::string> StopCapturingErrors();

}  // namespace Core::testhooks
