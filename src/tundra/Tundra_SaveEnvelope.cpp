#include "tundra/Tundra_SaveEnvelope.h"

#include "core/Core_Crc32.h"
#include "os/OS_ByteOrder.h"

#include <algorithm>

namespace Tundra::SaveEnvelope {
namespace {
constexpr std::uint8_t kSignature[4] = {'T', 'S', 'A', 'V'};
}  // namespace

std::vector<std::uint8_t> Header(std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> header(kHeaderSize);
    std::copy(std::begin(kSignature), std::end(kSignature), header.begin());
    os::StoreU32LE(&header[4], kVersion);
    os::StoreU32LE(&header[8], static_cast<std::uint32_t>(payload.size()));
    os::StoreU32LE(&header[12], Core::Crc32(payload.data(), payload.size()));
    return header;
}

std::span<const std::uint8_t> Open(std::span<const std::uint8_t> file, std::string& reason) {
    if (file.size() >= 4 && !std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
        reason = "not a save file";
        return {};
    }
    if (file.size() < kHeaderSize) {
        reason = "truncated";
        return {};
    }
    const std::uint32_t version = os::LoadU32LE(&file[4]);
    const std::uint32_t length = os::LoadU32LE(&file[8]);
    if (version != kVersion) {
        reason = "version " + std::to_string(version);
        return {};
    }
    const std::uint64_t available = file.size() - kHeaderSize;
    if (length != available) {
        reason = length > available ? "truncated" : "length mismatch";
        return {};
    }
    const std::span<const std::uint8_t> payload = file.subspan(kHeaderSize);
    if (Core::Crc32(payload.data(), payload.size()) != os::LoadU32LE(&file[12])) {
        reason = "checksum mismatch";
        return {};
    }
    return payload;
}

}  // namespace Tundra::SaveEnvelope
