#pragma once

#include <cstdint>
#include <string_view>

// Blocking message boxes without an owner window.

// Answers, and button sets as ORs of them. Abort has no bit of its own: the
// Abort-Retry-Ignore set is Retry | Ignore.
enum MessageBoxAnswer : int {
    MessageBoxAbort = 0,
    MessageBoxCancel = 2,
    MessageBoxContinue = 4,
    MessageBoxIgnore = 8,
    MessageBoxNo = 16,
    MessageBoxOK = 32,
    MessageBoxRetry = 64,
    MessageBoxTryAgain = 128,
    MessageBoxYes = 256,
};

// The icon shown with the text.
enum MessageBoxSeverity : int {
    MessageBoxInformation = 1,
    MessageBoxWarning = 2,
    MessageBoxError = 3,
    MessageBoxQuestion = 4,
};

// The os:: button type of a button set; a set that is not one of the six
// known combinations shows OK alone.
std::uint32_t ToMessageBoxButtons(int buttonSet);

// The os:: icon flag of a severity; an unknown severity shows no icon.
std::uint32_t ToMessageBoxIcon(int severity);

// Shows the box with the severity's icon added to the os:: button type and
// returns the os:: answer (os::IDOK ...), 0 when the box could not be shown.
int ShowMessageBox(std::string_view caption, std::string_view text, int severity, std::uint32_t buttonType);

// Shows the box with a button set and returns the pressed button as a
// MessageBoxAnswer. A box that could not be shown answers Cancel.
int AskUser(std::string_view caption, std::string_view text, int severity, int buttonSet);
