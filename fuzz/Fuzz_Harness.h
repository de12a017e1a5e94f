#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Shared by every libFuzzer harness in this folder. A harness defines
// LLVMFuzzerTestOneInput and FuzzWriteSeeds; this support starts the engine
// on the headless backend and, when TUNDRA_FUZZ_SEEDS names a folder,
// writes the harness's seed corpus there and exits instead of fuzzing, so
// that every seed is made by the engine itself.
namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

class Seeds {
public:
    virtual ~Seeds() = default;
    virtual void Add(std::string_view name, const Bytes& bytes) = 0;
};

// A new folder of the run's own in the temporary folder, its name starting
// with the prefix. It goes with everything in it when the process ends by
// exit(), as it does once the fuzzing time or runs are over.
inline std::string RunFolder(std::string_view prefix) {
    struct Made {
        std::vector<std::string> folders;
        ~Made() {
            for (const std::string& folder : folders) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
            }
        }
    };
    static Made made;
    std::string folder = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::abort();
    }
    made.folders.push_back(folder);
    return folder;
}

// Splits fuzz input into values without ever reading past its end.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_offset < m_size ? m_data[m_offset++] : 0; }
    std::uint32_t U32() { return Byte() | Byte() << 8 | Byte() << 16 | std::uint32_t(Byte()) << 24; }
    Bytes Rest() { Bytes rest(m_data + m_offset, m_data + m_size); m_offset = m_size; return rest; }
    bool Empty() const { return m_offset >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

}  // namespace fuzz

void FuzzWriteSeeds(fuzz::Seeds& seeds);
