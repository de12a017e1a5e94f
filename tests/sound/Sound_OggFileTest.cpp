#include "Sound_DecoderFixture.h"

#include "sound/Sound_DecoderTableTestHooks.h"
#include "sound/Sound_OggFile.h"
#include "support/TempDirectory.h"

#include <AL/al.h>
#include <ogg/ogg.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

class SoundOggFileTest : public SoundDecoderFixture {};

// Offsets of the pages of an Ogg file.
std::vector<std::size_t> PageOffsets(const std::string& file) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = file.find("OggS"); at != std::string::npos; at = file.find("OggS", at + 4)) {
        offsets.push_back(at);
    }
    return offsets;
}

// Writes a little-endian u32 into the body of the first page (the stream's
// identification header) and mends the page's checksum.
void PatchIdentification(std::string& file, std::size_t bodyOffset, std::uint32_t value) {
    unsigned char* header = reinterpret_cast<unsigned char*>(file.data());
    const long segments = header[26];
    unsigned char* body = header + 27 + segments;
    for (int i = 0; i < 4; ++i) {
        body[bodyOffset + i] = static_cast<unsigned char>(value >> (8 * i));
    }
    long bodyLength = 0;
    for (long i = 0; i < segments; ++i) {
        bodyLength += header[27 + i];
    }
    ogg_page page{header, 27 + segments, body, bodyLength};
    ogg_page_checksum_set(&page);
}

// A tone with noise over it: it fills many pages.
std::string NoisyOgg(double seconds) {
    std::vector<std::int16_t> samples = SineTone(440.0, seconds, 2, 44100);
    std::uint32_t seed = 1;
    for (std::int16_t& sample : samples) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<std::int16_t>(sample / 2 + static_cast<std::int16_t>(seed >> 16) / 4);
    }
    return EncodeOgg(samples, 2, 44100, 0.6f);
}

TEST_F(SoundOggFileTest, DataSizeIsPcmTotalTimesFrameAndDecodesExactly) {
    for (int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        SoundData data;
        ASSERT_EQ(OpenFromMemory(data, SoundContainer::Ogg, OggTone({440.0, 0.7, channels, 22050})), kSoundOk);
        const std::int64_t frames = ov_pcm_total(&data.ogg, -1);
        EXPECT_EQ(frames, 15435);
        EXPECT_EQ(data.dataSize, static_cast<std::uint32_t>(frames * 2 * channels));
        EXPECT_EQ(data.format.blockAlign, 2 * channels);
        EXPECT_EQ(data.format.averageBytesPerSecond, 22050u * 2 * channels);
        EXPECT_NEAR(data.duration, 0.7, 1e-9);
        EXPECT_EQ(data.alFormat, alGetEnumValue(channels == 1 ? "AL_FORMAT_MONO16" : "AL_FORMAT_STEREO16"));
        EXPECT_EQ(DecodeToEnd(data), data.dataSize);
        // Rewound, the whole sound again, this time in one piece.
        const std::uint32_t size = data.dataSize;
        ASSERT_EQ(RewindDecoder(data), kSoundOk);
        ASSERT_EQ(ReadWholeSound(data), kSoundOk);
        EXPECT_EQ(data.dataSize, size);
        EXPECT_EQ(data.pcm.size(), size);
    }
}

TEST_F(SoundOggFileTest, SixChannelFramesComeOutInOpenAlOrder) {
    std::uint8_t frame[12];
    for (int i = 0; i < 12; ++i) {
        frame[i] = static_cast<std::uint8_t>(i);
    }
    ReorderSixChannelFrames(frame, sizeof frame);
    const std::uint8_t expected[12] = {0, 1, 4, 5, 2, 3, 10, 11, 6, 7, 8, 9};
    EXPECT_EQ(std::memcmp(frame, expected, sizeof frame), 0);

    // Channel c of the tone has amplitude 1 / (c + 1): the loudness order
    // of the decoded channels shows where each one went.
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Ogg, OggTone({440.0, 0.5, 6, 22050, 0.5f})), kSoundOk);
    EXPECT_EQ(data.alFormat, alGetEnumValue("AL_FORMAT_51CHN16"));
    ASSERT_EQ(ReadWholeSound(data), kSoundOk);
    double energy[6] = {};
    const std::size_t samples = data.pcm.size() / 2;
    for (std::size_t i = 0; i < samples; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, data.pcm.data() + 2 * i, 2);
        energy[i % 6] += double(sample) * sample;
    }
    const int source[6] = {0, 2, 1, 5, 3, 4};
    for (int c = 0; c < 6; ++c) {
        const double amplitude = std::sqrt(energy[c] / energy[0]);
        EXPECT_NEAR(amplitude, 1.0 / (source[c] + 1), 0.05) << "channel " << c;
    }
}

TEST_F(SoundOggFileTest, AHoleInTheStreamIsSkipped) {
    const std::string whole = NoisyOgg(2.0);
    const std::vector<std::size_t> pages = PageOffsets(whole);
    ASSERT_GT(pages.size(), 6u);
    const std::size_t lost = pages.size() / 2;
    const std::string holed = whole.substr(0, pages[lost]) + whole.substr(pages[lost + 1]);
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Ogg, holed), kSoundOk);
    const std::uint32_t claimed = data.dataSize;
    // Read whole, a block cut short by the hole would end the sound there.
    ASSERT_EQ(ReadWholeSound(data), kSoundOk);
    EXPECT_GT(data.dataSize, claimed * 3 / 4);
    EXPECT_LT(data.dataSize, claimed);
    ASSERT_EQ(RewindDecoder(data), kSoundOk);
    EXPECT_EQ(DecodeToEnd(data), data.dataSize);
}

TEST_F(SoundOggFileTest, SizesBeyond32BitsAreRefused) {
    // The sample rate is the identification header's u32 at body offset 12.
    constexpr std::size_t kRateOffset = 12;
    for (std::uint32_t rate : {0x80000000u, 0xFFFFFFFFu}) {
        std::string file = OggTone({440.0, 0.5, 2, 22050});
        PatchIdentification(file, kRateOffset, rate);
        SoundData data;
        EXPECT_EQ(OpenFromMemory(data, SoundContainer::Ogg, file), kSoundUnusable) << rate;
        EXPECT_FALSE(IsDecoderOpen(data));
        EXPECT_EQ(data.format.averageBytesPerSecond, 0u);
    }
    // Still in range: a quarter of the way to the limit.
    std::string file = OggTone({440.0, 0.5, 2, 22050});
    PatchIdentification(file, kRateOffset, 0x10000000u);
    SoundData data;
    EXPECT_EQ(OpenFromMemory(data, SoundContainer::Ogg, file), kSoundOk);
    EXPECT_EQ(data.format.averageBytesPerSecond, 0x40000000u);
}

TEST_F(SoundOggFileTest, SeekCallbackPassesTheWholeOffset) {
    class RecordingSource : public SoundByteSource {
    public:
        std::size_t Read(void*, std::size_t) override { return 0; }
        bool Seek(std::int64_t offset, int) override { sought = offset; return true; }
        std::int64_t Tell() override { return 0; }
        std::int64_t Size() override { return 0; }
        std::int64_t sought = 0;
    } source;
    const std::int64_t far = (std::int64_t(1) << 33) + 5;
    EXPECT_EQ(GetDecoderTable().callbacks.seek_func(&source, far, SEEK_SET), 0);
    EXPECT_EQ(source.sought, far);
}

TEST_F(SoundOggFileTest, EmptyDecoderTableRefusesOggOnly) {
    TempDirectory folder;
    folder.WriteFile("tone.ogg", OggTone({}));
    folder.WriteFile("tone.wav", PcmWav({}, "\0\0\0\0"));
    EmptyDecoderTableForTesting();
    SoundData data;
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/tone.ogg"), kSoundNoDecoder);
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/missing.ogg"), kSoundNoDecoder);
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/tone.wav"), kSoundOk);
    FillDecoderTable();
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/tone.ogg"), kSoundOk);
    EXPECT_EQ(data.container, SoundContainer::Ogg);
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/missing.ogg"), kSoundCannotOpen);
}

TEST_F(SoundOggFileTest, NotAnOggStreamIsRefused) {
    SoundData data;
    EXPECT_EQ(OpenFromMemory(data, SoundContainer::Ogg, PcmWav({}, "\0\0")), kSoundUnusable);
    EXPECT_EQ(OpenFromMemory(data, SoundContainer::Ogg, ""), kSoundUnusable);
    EXPECT_FALSE(IsDecoderOpen(data));
}

}  // namespace
