#pragma once

// The fatal platform-error reporter. A platform call whose failure is fatal
// is written as: record the context, make the call, report with the call's
// failure test:
//
//     SetErrorContext("DestroyWindow", __func__, __LINE__, __FILE__);
//     ReportLastErrorAndExit(!os::DestroyWindow(window));
//
// When the test is true and the thread's last error is non-zero, a message
// box titled "Error" shows the function, the code and its text, and the
// process ends with that code.

// Records the context of the next report (the reported line is line + 1: the
// call that follows) and clears the thread's last error.
void SetErrorContext(const char* failingFunction, const char* enclosingFunction, int line, const char* file);

// Returns unless failed is true and the last error is non-zero.
void ReportLastErrorAndExit(bool failed);

// Records the context for the call on the next line.
#define TUN_ERROR_CONTEXT(failingFunction) SetErrorContext(failingFunction, __func__, __LINE__, __FILE__)
