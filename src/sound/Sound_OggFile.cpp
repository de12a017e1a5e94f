#include "sound/Sound_OggFile.h"

#include "sound/Sound_AlFormat.h"
#include "sound/Sound_Decoder.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_VorbisSetupCheck.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint32_t kSixChannelFrame = 12;

std::int32_t CloseUnusable(SoundData& data, std::int32_t result) {
    CloseDecoder(data);
    ResetFormatBlock(data);
    return result;
}

}  // namespace

std::int32_t OpenOggStream(SoundData& data, std::unique_ptr<SoundByteSource> source) {
    const DecoderTable& table = GetDecoderTable();
    if (!table.ready) {
        return kSoundNoDecoder;
    }
    data.ogg = OggVorbis_File{};
    // On failure vorbisfile leaves the source to its caller.
    if (table.openCallbacks(source.get(), &data.ogg, nullptr, 0, table.callbacks) != 0) {
        data.ogg = OggVorbis_File{};
        return kSoundUnusable;
    }
    source.release();
    vorbis_info* info = table.info(&data.ogg, -1);
    if (info == nullptr) {
        table.clear(&data.ogg);
        data.ogg = OggVorbis_File{};
        return kSoundUnusable;
    }
    data.streamInfo = info;
    if (!VorbisCodebooksAreDecodable(data.ogg)) {
        return CloseUnusable(data, kSoundUnusable);
    }

    // Sizes are worked out in 64 bits; a stream whose sizes do not fit the
    // format's 32-bit fields is refused.
    const std::int64_t channels = info->channels;
    const std::int64_t rate = info->rate;
    const std::int64_t blockAlign = 2 * channels;
    const std::int64_t pcmFrames = table.pcmTotal(&data.ogg, -1);
    constexpr std::int64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    if (channels < 1 || blockAlign > std::numeric_limits<std::uint16_t>::max() || rate < 1 ||
        rate > kMax32 / blockAlign || pcmFrames < 0 || pcmFrames > kMax32 / blockAlign) {
        return CloseUnusable(data, kSoundUnusable);
    }
    SoundFormat& format = data.format;
    format.kind = SoundFormat::kPlainPcm;
    format.channels = static_cast<std::uint16_t>(channels);
    format.sampleRate = static_cast<std::uint32_t>(rate);
    format.bitsPerSample = 16;
    format.blockAlign = static_cast<std::uint16_t>(blockAlign);
    format.averageBytesPerSecond = static_cast<std::uint32_t>(blockAlign * rate);
    data.duration = table.timeTotal != nullptr ? table.timeTotal(&data.ogg, -1) : 0.0;
    data.dataSize = static_cast<std::uint32_t>(pcmFrames * blockAlign);
    data.dataOffset = 0;
    if (SeekDecoder(data, 0) != kSoundOk) {
        return CloseUnusable(data, kSoundUnusable);
    }
    const std::int32_t result = ChooseAlFormat(data);
    if (result != kSoundOk) {
        return CloseUnusable(data, result);
    }
    return kSoundOk;
}

std::uint32_t DecodeOggBlock(SoundData& data, std::uint8_t* bytes, std::uint32_t count) {
    const DecoderTable& table = GetDecoderTable();
    if (!table.ready || data.streamInfo == nullptr || data.oggFailed) {
        return 0;
    }
    std::uint32_t done = 0;
    while (done < count) {
        const int wanted = static_cast<int>(std::min<std::uint32_t>(count - done, INT_MAX));
        int section = 0;
        const long got = table.read(&data.ogg, reinterpret_cast<char*>(bytes + done), wanted, 0, 2, 1, &section);
        // A hole is a gap in the stream that the decoder has stepped over:
        // what follows still plays.
        if (got == OV_HOLE) {
            continue;
        }
        if (got < 0) {
            data.oggFailed = true;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::uint32_t>(got);
    }
    if (data.format.channels == 6) {
        ReorderSixChannelFrames(bytes, done);
    }
    return done;
}

void ReorderSixChannelFrames(std::uint8_t* bytes, std::size_t count) {
    for (std::size_t offset = 0; offset + kSixChannelFrame <= count; offset += kSixChannelFrame) {
        std::uint16_t s[6];
        std::memcpy(s, bytes + offset, sizeof s);
        const std::uint16_t reordered[6] = {s[0], s[2], s[1], s[5], s[3], s[4]};
        std::memcpy(bytes + offset, reordered, sizeof reordered);
    }
}
