#include "support/MyGame_StageSaves.h"

#include "os/OS_Path.h"
#include "tundra/Tundra_SaveEnvelope.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace mygametest {

StageSaves::StageSaves() {
    const std::string resources = os::ExecutableDirectory() + "/Resources";
    if (std::filesystem::exists(resources)) {
        std::filesystem::create_directory_symlink(resources, m_folder.Path() + "/Resources");
    }
    os::SetExecutablePathForTesting(m_folder.Path() + "/game");
}

StageSaves::~StageSaves() { os::SetExecutablePathForTesting(""); }

std::vector<std::uint8_t> StageSaves::Payload(const std::string& name) const {
    std::ifstream in(m_folder.Path() + "/Saves/" + name, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    if (file.size() < Tundra::SaveEnvelope::kHeaderSize) {
        return {};
    }
    return {file.begin() + Tundra::SaveEnvelope::kHeaderSize, file.end()};
}

void StageSaves::WriteSealed(const std::string& name, std::span<const std::uint8_t> payload) const {
    const std::vector<std::uint8_t> header = Tundra::SaveEnvelope::Header(payload);
    std::filesystem::create_directories(m_folder.Path() + "/Saves");
    std::ofstream out(m_folder.Path() + "/Saves/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
}

}  // namespace mygametest
