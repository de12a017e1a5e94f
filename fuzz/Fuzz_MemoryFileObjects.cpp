#include "Fuzz_ObjectStreams.h"

// Object streams in memory (snapshots, packets): any bytes are read without
// a fault, no plain link dangles, and resetting the reused streams lets go
// of every object read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Core::MemoryFile file;
    static Core::MemoryFile echo;
    const auto start = [&] {
        file.Write(data, static_cast<std::uint32_t>(size));
    };
    const auto finish = [&] {
        file.ClearBuffer();
        echo.ClearBuffer();
    };
    fuzz::ReadTwice(file, echo, start, finish);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) { fuzz::WriteObjectStreamSeeds(seeds); }
