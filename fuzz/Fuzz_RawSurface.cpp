#include "Fuzz_Harness.h"

#include "renderer/Renderer_Surface.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// The raw surface reader (format, width, height, pitch, pixels), which a
// texture load falls back to for a file that is no image the decoder reads.
// Input: the file. A surface read must be whole: pitch and pixels agree
// with its size; one refused must be left empty.
namespace {

// One file per process, rewritten for each input, removed at exit; in
// shared memory where there is some, since every input is written once.
class ScratchFile {
public:
    ScratchFile()
        : m_path(((std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                              : std::filesystem::temp_directory_path()) /
                  ("tundra-fuzz-" + std::to_string(getpid()) + ".raw"))
                     .string()) {}
    ~ScratchFile() { std::filesystem::remove(m_path); }

    const std::string& Write(const std::uint8_t* data, std::size_t size) const {
        std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file) {
            std::abort();
        }
        return m_path;
    }

private:
    std::string m_path;
};

fuzz::Bytes RawFile(std::uint32_t format, std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                    std::size_t pixelBytes) {
    fuzz::Bytes bytes;
    for (const std::uint32_t field : {format, width, height, pitch}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(field >> shift));
        }
    }
    for (std::size_t i = 0; i < pixelBytes; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 7));
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile scratch;
    const Core::RefPtr<Renderer::Surface> surface(TUN_NEW(Renderer::Surface));
    if (!surface->LoadRaw(Core::String(scratch.Write(data, size)))) {
        if (surface->GetWidth() != 0 || surface->GetHeight() != 0) {
            std::abort();
        }
        return 0;
    }
    const std::uint64_t bytes = std::uint64_t{surface->GetPitch()} * surface->GetHeight();
    if (surface->GetWidth() < 1 || surface->GetHeight() < 1 || surface->GetPitch() != surface->GetWidth() * 4) {
        std::abort();
    }
    // The sanitizer checks that the last byte the size promises exists.
    const volatile std::uint8_t last = surface->GetPixels()[bytes - 1];
    static_cast<void>(last);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    seeds.Add("square.raw", RawFile(0, 4, 4, 16, 64));
    seeds.Add("wide.raw", RawFile(0x1234, 9, 2, 0, 72 + 5));
    seeds.Add("one.raw", RawFile(0, 1, 1, 4, 4));
    seeds.Add("short.raw", RawFile(0, 3, 3, 12, 20));
}
