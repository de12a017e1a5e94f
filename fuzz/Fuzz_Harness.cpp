#include "Fuzz_Harness.h"

#include "core/Core_Startup.h"
#include "os/OS_Backend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class FolderSeeds final : public fuzz::Seeds {
public:
    explicit FolderSeeds(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void Add(std::string_view name, const fuzz::Bytes& bytes) override {
        std::ofstream out(m_folder / std::string(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write seed %.*s\n", int(name.size()), name.data());
            std::exit(1);
        }
    }

private:
    std::filesystem::path m_folder;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    os::SelectBackend(os::Backend::Headless);
    static std::uint8_t coreGuard = 0;
    CoreStartup(coreGuard);
    if (const char* folder = std::getenv("TUNDRA_FUZZ_SEEDS")) {
        std::filesystem::create_directories(folder);
        FolderSeeds seeds(folder);
        FuzzWriteSeeds(seeds);
        std::exit(0);
    }
    return 0;
}
