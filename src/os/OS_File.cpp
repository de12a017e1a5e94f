#include "os/OS_File.h"

#include "os/OS_Path.h"

namespace os {

FilePointer OpenFile(std::string_view enginePath, const char* mode) {
    return FilePointer(std::fopen(ResolvePath(enginePath).c_str(), mode));
}

}  // namespace os
