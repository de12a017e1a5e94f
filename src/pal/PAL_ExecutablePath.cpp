#include "pal/PAL_ExecutablePath.h"

#include "os/OS_Path.h"

#include <string>

Core::String GetExecutableFileName() {
    const std::string path = os::ExecutablePath();
    return Core::String(os::FileNameOf(path));
}

Core::String GetExecutableDirectory() {
    const std::string path = os::ExecutablePath();
    return Core::String(os::DirectoryOf(path));
}
