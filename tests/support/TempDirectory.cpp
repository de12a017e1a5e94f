#include "support/TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testsupport {

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tundra-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDirectory::WriteFile(const std::string& relativePath, const std::string& contents) const {
    const std::filesystem::path full = std::filesystem::path(m_path) / relativePath;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << contents;
    return full.string();
}

}  // namespace testsupport
