#include "Fuzz_Harness.h"

#include "core/Core_String.h"
#include "os/OS_Path.h"

#include <string>

// Engine paths and the string helpers take text from files (paths inside
// level data, names inside streams): any bytes must give a result, never a
// read outside the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint32_t position = input.U32();
    const std::uint32_t count = input.U32();
    const fuzz::Bytes rest = input.Rest();
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());

    Core::String string(text);
    string.ToUpper();
    (void)string.EndsWith(text.substr(text.size() / 2));
    (void)string.SubstringFrom(position);
    (void)string.ToWideString();
    string.EraseRange(position, count);
    (void)GetFileNameFromPath(text);

    (void)os::ToNativePath(text);
    (void)os::DirectoryOf(text);
    (void)os::FileNameOf(text);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto seed = [&](std::string_view name, std::uint32_t position, std::uint32_t count, std::string_view text) {
        fuzz::Bytes bytes;
        for (std::uint32_t value : {position, count})
            for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::uint8_t(value >> shift));
        bytes.insert(bytes.end(), text.begin(), text.end());
        seeds.Add(name, bytes);
    };
    seed("resource_path", 2, 4, "\\Resources\\Animations\\Player.png");
    seed("mixed_separators", 0, 1, "Resources/Sounds\\..\\Music.ogg");
    seed("high_bytes", 5, 100, "\\caf\xe9\\\xff\x80name");
}
