#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

namespace os {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A C stream that is closed when it goes.
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// Opens an engine path (backslashes, any letter case: os::ResolvePath) with
// an fopen mode; empty when the file cannot be opened.
FilePointer OpenFile(std::string_view enginePath, const char* mode);

}  // namespace os
