#include "Fuzz_ObjectStreams.h"

#include "core/Core_DiskFile.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// In memory-backed storage where there is one, so that each save's sync is cheap.
std::string ScratchPath(const char* name) {
    const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    return (folder / ("tundra-fuzz-" + std::to_string(::getpid()) + "-" + name)).string();
}

// Removes the scratch files when the run ends.
struct ScratchFiles {
    const std::string& input;
    const std::string& output;
    ~ScratchFiles() {
        std::remove(input.c_str());
        std::remove(output.c_str());
    }
};

}  // namespace

// Saves on disk: any file is read without a fault, no plain link dangles,
// what was read is saved again through the replacing writer, and closing
// the reused streams lets go of every object read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = ScratchPath("input.bin");
    static const std::string output = ScratchPath("output.bin");
    // Made before the streams, so that it goes after them at exit.
    static const ScratchFiles scratch{input, output};
    static Core::DiskFile file(input, Core::DiskFile::kModeRead);
    static Core::DiskFile echo(output, Core::DiskFile::kModeWrite);
    if (std::FILE* raw = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, raw);
        std::fclose(raw);
    }
    const auto start = [&] {
        file.Open(input, Core::DiskFile::kModeRead);
        echo.Open(output, Core::DiskFile::kModeWrite);
    };
    const auto finish = [&] {
        file.Close();
        echo.Close();
    };
    fuzz::ReadTwice(file, echo, start, finish);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) { fuzz::WriteObjectStreamSeeds(seeds); }
