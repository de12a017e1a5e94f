#include "Fuzz_ImageFiles.h"

#include "os/OS_ImageHeader.h"

#include <string_view>

// The header readers that run before any decoder: the size a PNG, BMP or
// JPEG header claims (the JPEG one walks segments), the PNG chunk walk, and
// the file-name endings. Input: one byte choosing the type, then the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const auto type = static_cast<os::ImageFileType>(input.Byte() % 3);
    const fuzz::Bytes file = input.Rest();
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (os::ReadImageHeaderSize(type, file.data(), file.size(), width, height) && (width == 0 || height == 0)) {
        __builtin_trap();
    }
    (void)os::HasWholePngChunks(file.data(), file.size());
    os::ImageFileType named{};
    (void)os::ImageFileTypeOf(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), named);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    fuzz::AddImageSeeds(seeds);
    seeds.Add("name.jpg", {2, 'S', 'p', 'r', 'i', 't', 'e', '.', 'J', 'p', 'G'});
}
