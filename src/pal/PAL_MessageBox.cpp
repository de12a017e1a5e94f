#include "pal/PAL_MessageBox.h"

#include "os/OS_MessageBox.h"

#include <string>

std::uint32_t ToMessageBoxButtons(int buttonSet) {
    switch (buttonSet) {
        case MessageBoxOK | MessageBoxCancel: return os::MB_OKCANCEL;
        case MessageBoxAbort | MessageBoxRetry | MessageBoxIgnore: return os::MB_ABORTRETRYIGNORE;
        case MessageBoxYes | MessageBoxNo | MessageBoxCancel: return os::MB_YESNOCANCEL;
        case MessageBoxYes | MessageBoxNo: return os::MB_YESNO;
        case MessageBoxRetry | MessageBoxCancel: return os::MB_RETRYCANCEL;
        case MessageBoxCancel | MessageBoxTryAgain | MessageBoxContinue: return os::MB_CANCELTRYCONTINUE;
        default: return os::MB_OK;
    }
}

std::uint32_t ToMessageBoxIcon(int severity) {
    switch (severity) {
        case MessageBoxInformation: return os::MB_ICONASTERISK;
        case MessageBoxWarning: return os::MB_ICONEXCLAMATION;
        case MessageBoxError: return os::MB_ICONHAND;
        case MessageBoxQuestion: return os::MB_ICONQUESTION;
        default: return 0;
    }
}

int ShowMessageBox(std::string_view caption, std::string_view text, int severity, std::uint32_t buttonType) {
    return os::MessageBox(std::string(text), std::string(caption), buttonType | ToMessageBoxIcon(severity));
}

int AskUser(std::string_view caption, std::string_view text, int severity, int buttonSet) {
    switch (ShowMessageBox(caption, text, severity, ToMessageBoxButtons(buttonSet))) {
        // The box could not be shown: nobody agreed to anything.
        case 0: return MessageBoxCancel;
        case os::IDCANCEL: return MessageBoxCancel;
        case os::IDABORT: return MessageBoxAbort;
        case os::IDRETRY: return MessageBoxRetry;
        case os::IDIGNORE: return MessageBoxIgnore;
        case os::IDYES: return MessageBoxYes;
        case os::IDNO: return MessageBoxNo;
        case os::IDTRYAGAIN: return MessageBoxTryAgain;
        case os::IDCONTINUE: return MessageBoxContinue;
        default: return MessageBoxOK;
    }
}
