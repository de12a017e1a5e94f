#include "sound/Sound_Decoder.h"

#include "os/OS_Path.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_FileByteSource.h"
#include "sound/Sound_OggFile.h"
#include "sound/Sound_WavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kMaxWholeBlock = 1u << 20;

void CloseAndReset(SoundData& data) {
    CloseDecoder(data);
    ResetFormatBlock(data);
    data.path.clear();
    data.alFormat = 0;
}

std::int32_t Parse(SoundData& data, std::unique_ptr<SoundByteSource> source) {
    if (data.container == SoundContainer::Ogg) {
        return OpenOggStream(data, std::move(source));
    }
    data.file = std::move(source);
    return ParseWavFile(data);
}

std::int32_t SeekWav(SoundData& data, std::int64_t offset) {
    SoundByteSource& file = *data.file;
    file.ClearError();
    const std::uint64_t target = data.dataOffset + static_cast<std::uint64_t>(offset);
    if (offset < 0 || target < data.dataOffset || target > static_cast<std::uint64_t>(INT64_MAX) ||
        !file.Seek(static_cast<std::int64_t>(target), SEEK_SET)) {
        return kSoundUnusable;
    }
    return kSoundOk;
}

// The PCM bytes the sound can give: a WAV data chunk's claim, cut at the
// end of the file.
std::uint64_t DeliverableBytes(SoundData& data) {
    if (data.container == SoundContainer::Ogg) {
        return data.dataSize;
    }
    const std::int64_t size = data.file->Size();
    const std::uint64_t inFile =
        size > 0 && static_cast<std::uint64_t>(size) > data.dataOffset ? static_cast<std::uint64_t>(size) - data.dataOffset : 0;
    return std::min<std::uint64_t>(data.dataSize, inFile);
}

std::int32_t ReadWholeWav(SoundData& data) {
    // A claim beyond the end of the file would fail at the read anyway; it is
    // refused before the buffer is allocated.
    if (DeliverableBytes(data) < data.dataSize) {
        ResetFormatBlock(data);
        return kSoundUnusable;
    }
    data.pcm.resize(data.dataSize);
    if (data.file->Read(data.pcm.data(), data.dataSize) != data.dataSize) {
        ResetFormatBlock(data);
        return kSoundUnusable;
    }
    return kSoundOk;
}

std::int32_t ReadWholeOgg(SoundData& data) {
    // Blocks of one second, at most about a megabyte (a stream may claim any
    // rate); a block that comes back short ends the sound.
    const std::uint32_t align = data.format.blockAlign;
    const std::uint32_t block = std::min<std::uint32_t>(data.format.averageBytesPerSecond, kMaxWholeBlock / align * align);
    std::vector<std::uint8_t> all;
    for (;;) {
        const std::size_t done = all.size();
        if (done + block > kMax32) {
            CloseAndReset(data);
            return kSoundUnusable;
        }
        all.resize(done + block);
        const std::uint32_t got = DecodeOggBlock(data, all.data() + done, block);
        all.resize(done + got);
        if (got < block) {
            break;
        }
    }
    data.dataSize = static_cast<std::uint32_t>(all.size());
    data.pcm = std::move(all);
    return kSoundOk;
}

}  // namespace

std::int32_t ContainerFromPath(std::string_view path, SoundContainer& container) {
    if (path.size() < 3) {
        return kSoundCannotOpen;
    }
    char extension[3];
    for (std::size_t i = 0; i < 3; ++i) {
        extension[i] = os::UpperAscii(path[path.size() - 3 + i]);
    }
    const std::string_view upper(extension, 3);
    if (upper == "WAV") {
        container = SoundContainer::Wav;
    } else if (upper == "OGG") {
        container = SoundContainer::Ogg;
    } else {
        return kSoundUnusable;
    }
    return kSoundOk;
}

std::int32_t OpenAudioFile(SoundData& data, std::string_view path) {
    CloseAndReset(data);
    std::int32_t result = ContainerFromPath(path, data.container);
    if (result != kSoundOk) {
        return result;
    }
    if (data.container == SoundContainer::Ogg && !GetDecoderTable().ready) {
        return kSoundNoDecoder;
    }
    std::unique_ptr<SoundByteSource> file = FileByteSource::Open(path);
    if (!file) {
        return kSoundCannotOpen;
    }
    result = Parse(data, std::move(file));
    if (result == kSoundOk) {
        data.path = Core::String(path);
    }
    return result;
}

std::int32_t OpenAudioSource(SoundData& data, SoundContainer container, std::unique_ptr<SoundByteSource> source) {
    CloseAndReset(data);
    data.container = container;
    if (container == SoundContainer::Ogg && !GetDecoderTable().ready) {
        return kSoundNoDecoder;
    }
    if (!source) {
        return kSoundCannotOpen;
    }
    return Parse(data, std::move(source));
}

bool IsDecoderOpen(const SoundData& data) { return data.file != nullptr || data.streamInfo != nullptr; }

std::int32_t ReadBlock(SoundData& data, std::uint32_t& bytes) {
    return ReadBlockInto(data, data.pcm.data(), data.pcm.size(), bytes);
}

std::int32_t ReadBlockInto(SoundData& data, std::uint8_t* bytes, std::size_t capacity, std::uint32_t& count) {
    count = 0;
    if (!IsDecoderOpen(data)) {
        return kSoundNotOpen;
    }
    const std::uint32_t wanted = static_cast<std::uint32_t>(std::min<std::size_t>(data.bufferSize, capacity));
    if (data.container == SoundContainer::Ogg) {
        count = DecodeOggBlock(data, bytes, wanted);
        return kSoundOk;
    }
    SoundByteSource& file = *data.file;
    const std::int64_t position = file.Tell();
    const std::uint64_t end = data.dataOffset + data.dataSize;
    if (position < 0 || static_cast<std::uint64_t>(position) >= end) {
        return kSoundOk;
    }
    const std::uint64_t left = end - static_cast<std::uint64_t>(position);
    count = static_cast<std::uint32_t>(file.Read(bytes, std::min<std::uint64_t>(wanted, left)));
    return kSoundOk;
}

std::int32_t RewindDecoder(SoundData& data) { return SeekDecoder(data, 0); }

std::int32_t SeekDecoder(SoundData& data, std::int64_t offset) {
    if (!IsDecoderOpen(data)) {
        return kSoundNotOpen;
    }
    if (data.container == SoundContainer::Wav) {
        return SeekWav(data, offset);
    }
    const DecoderTable& table = GetDecoderTable();
    if (!table.ready) {
        return kSoundNoDecoder;
    }
    return table.rawSeek(&data.ogg, offset) == 0 ? kSoundOk : kSoundUnusable;
}

void CloseDecoder(SoundData& data) {
    data.file.reset();
    if (data.streamInfo != nullptr) {
        const DecoderTable& table = GetDecoderTable();
        if (table.clear != nullptr) {
            table.clear(&data.ogg);
        }
        data.ogg = OggVorbis_File{};
        data.streamInfo = nullptr;
        data.oggFailed = false;
    }
}

std::int32_t ReadWholeSound(SoundData& data) {
    if (!IsDecoderOpen(data)) {
        return kSoundNotOpen;
    }
    return data.container == SoundContainer::Ogg ? ReadWholeOgg(data) : ReadWholeWav(data);
}

std::int32_t PrepareStreamBuffer(SoundData& data, float secondsPerBuffer) {
    if (!IsDecoderOpen(data)) {
        return kSoundNotOpen;
    }
    const std::uint64_t align = std::max<std::uint64_t>(data.format.blockAlign, 1);
    const double wanted = data.format.averageBytesPerSecond * static_cast<double>(secondsPerBuffer);
    std::uint64_t size = wanted >= 1.0 ? static_cast<std::uint64_t>(std::min(wanted, static_cast<double>(kMax32))) : 0;
    // A block larger than all the sound can deliver would only be memory a
    // hostile header asked for.
    size = std::min(size, (DeliverableBytes(data) + align - 1) / align * align);
    size -= size % align;
    // A block smaller than one frame would read nothing and stall the stream.
    size = std::max(size, align);
    data.bufferSize = static_cast<std::uint32_t>(size);
    data.pcm.assign(data.bufferSize, 0);
    return kSoundOk;
}

std::uint32_t IntroSplitOffset(const SoundData& data, float fraction) {
    const double share = std::clamp(std::isnan(fraction) ? 0.0 : static_cast<double>(fraction), 0.0, 1.0);
    const std::uint32_t align = std::max<std::uint32_t>(data.format.blockAlign, 1);
    std::uint32_t split = static_cast<std::uint32_t>(data.dataSize * share);
    return split - split % align;
}
