#include "Renderer_TestFiles.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace testsupport {

std::vector<std::uint8_t> EncodeRawSurface(std::uint32_t format, std::uint32_t width, std::uint32_t height,
                                           std::uint32_t pitch, const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t field : {format, width, height, pitch}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
        }
    }
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

std::vector<std::uint8_t> MutateFile(const std::vector<std::uint8_t>& valid, std::mt19937& random) {
    std::vector<std::uint8_t> bytes = valid;
    const auto below = [&](std::size_t limit) {
        return static_cast<std::size_t>(random() % std::max<std::size_t>(limit, 1));
    };
    const std::size_t front = std::min<std::size_t>(bytes.size(), 64);
    switch (random() % 4) {
        case 0:
            for (std::size_t count = 1 + below(8); count > 0 && !bytes.empty(); --count) {
                bytes[below(bytes.size())] = static_cast<std::uint8_t>(random());
            }
            break;
        case 1:
            for (std::size_t count = 1 + below(3); count > 0 && !bytes.empty(); --count) {
                bytes[below(front)] ^= static_cast<std::uint8_t>(1u << below(8));
            }
            break;
        case 2: {
            static constexpr std::uint32_t kExtremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x00010000, 16385};
            const std::uint32_t value = kExtremes[below(std::size(kExtremes))];
            const std::size_t at = below(front > 4 ? front - 4 : 1);
            for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (random() % 2 == 0 ? i : 3 - i)));
            }
            break;
        }
        default: bytes.resize(below(bytes.size())); break;
    }
    return bytes;
}

}  // namespace testsupport
