#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
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
