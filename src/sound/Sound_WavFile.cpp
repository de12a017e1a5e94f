#include "sound/Sound_WavFile.h"

#include "os/OS_Path.h"
#include "sound/Sound_AlFormat.h"
#include "sound/Sound_SoundResult.h"

#include <cstdio>
#include <cstring>

namespace {

// Longer "fmt " chunks are skipped as if absent.
constexpr std::uint32_t kMaxFormatChunk = 44;
// Bytes of the fields read from each kind of "fmt " chunk.
constexpr std::uint32_t kPcmFormatBytes = 16;
constexpr std::uint32_t kPcmExtensionBytes = 18;
constexpr std::uint32_t kExtensibleFormatBytes = 40;

std::uint16_t U16(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }

std::uint32_t U32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Chunk identifiers compare without regard to letter case.
bool SameId(const std::uint8_t* id, const char* name) {
    for (int i = 0; i < 4; ++i) {
        if (os::UpperAscii(static_cast<char>(id[i])) != os::UpperAscii(name[i])) {
            return false;
        }
    }
    return true;
}

std::int32_t Unusable(SoundData& data) {
    ResetFormatBlock(data);
    return kSoundUnusable;
}

// Takes the fields of a "fmt " chunk body. False when the body is too short
// for the fields its tag has, or when a value the sizes and durations are
// divided by is zero. Unknown tags copy nothing.
bool ReadFormatChunk(SoundFormat& format, const std::uint8_t* body, std::uint32_t size) {
    if (size < 2) {
        return false;
    }
    const std::uint16_t tag = U16(body);
    if (tag != SoundFormat::kTagPcm && tag != SoundFormat::kTagExtensible) {
        return true;
    }
    const bool extensible = tag == SoundFormat::kTagExtensible;
    if (size < (extensible ? kExtensibleFormatBytes : kPcmFormatBytes)) {
        return false;
    }
    SoundFormat read;
    read.kind = extensible ? SoundFormat::kExtensible : SoundFormat::kPlainPcm;
    read.tag = tag;
    read.channels = U16(body + 2);
    read.sampleRate = U32(body + 4);
    read.averageBytesPerSecond = U32(body + 8);
    read.blockAlign = U16(body + 12);
    read.bitsPerSample = U16(body + 14);
    if (size >= kPcmExtensionBytes) {
        read.extensionSize = U16(body + 16);
    }
    if (extensible) {
        read.validBitsPerSample = U16(body + 18);
        read.channelMask = U32(body + 20);
        std::memcpy(read.subFormat.data(), body + 24, read.subFormat.size());
    }
    if (read.channels == 0 || read.sampleRate == 0 || read.blockAlign == 0 || read.averageBytesPerSecond == 0) {
        return false;
    }
    format = read;
    return true;
}

}  // namespace

std::int32_t ParseWavFile(SoundData& data) {
    SoundByteSource& file = *data.file;
    std::uint8_t riff[12];
    if (file.Read(riff, sizeof riff) != sizeof riff || !SameId(riff, "RIFF") || !SameId(riff + 8, "WAVE")) {
        return Unusable(data);
    }
    std::uint8_t header[8];
    if (file.Read(header, sizeof header) != sizeof header) {
        return Unusable(data);
    }
    bool formatSeen = false;
    bool dataSeen = false;
    do {
        const std::uint32_t size = U32(header + 4);
        std::int64_t skip = size;
        if (SameId(header, "fmt ") && size <= kMaxFormatChunk) {
            std::uint8_t body[kMaxFormatChunk];
            if (file.Read(body, size) != size || !ReadFormatChunk(data.format, body, size)) {
                return Unusable(data);
            }
            formatSeen = true;
            skip = 0;
        } else if (SameId(header, "data")) {
            const std::int64_t position = file.Tell();
            if (position < 0) {
                return Unusable(data);
            }
            data.dataSize = size;
            data.dataOffset = static_cast<std::uint64_t>(position);
            dataSeen = true;
        }
        // Chunks are padded to an even length.
        skip += size & 1;
        if (skip != 0 && !file.Seek(skip, SEEK_CUR)) {
            return Unusable(data);
        }
    } while (file.Read(header, sizeof header) == sizeof header);

    if (!formatSeen || !dataSeen || !file.Seek(static_cast<std::int64_t>(data.dataOffset), SEEK_SET)) {
        return Unusable(data);
    }
    file.ClearError();
    const std::int32_t result = ChooseAlFormat(data);
    if (result != kSoundOk) {
        ResetFormatBlock(data);
        return result;
    }
    data.duration = static_cast<double>(data.dataSize) / data.format.averageBytesPerSecond;
    return kSoundOk;
}
