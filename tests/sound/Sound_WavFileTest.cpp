#include "Sound_DecoderFixture.h"

#include "support/TempDirectory.h"

#include <AL/al.h>

#include <cstring>
#include <string>

using namespace testsupport;

namespace {

class SoundWavFileTest : public SoundDecoderFixture {};

WavFormatFields Extensible(std::uint16_t channels, std::uint32_t mask, std::uint16_t bits = 16) {
    WavFormatFields fields;
    fields.tag = 0xFFFE;
    fields.channels = channels;
    fields.channelMask = mask;
    fields.bitsPerSample = bits;
    return fields;
}

WavFormatFields Pcm(std::uint16_t channels, std::uint16_t bits) {
    WavFormatFields fields;
    fields.channels = channels;
    fields.bitsPerSample = bits;
    return fields;
}

const std::string kSamples = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C";

struct FormatCase {
    const char* name;
    WavFormatFields fields;
    const char* alFormat;  // null: refused
};

TEST_F(SoundWavFileTest, FormatTableChoosesTheOpenAlFormatOrRefuses) {
    const FormatCase cases[] = {
        {"8-bit mono", Pcm(1, 8), "AL_FORMAT_MONO8"},
        {"16-bit mono", Pcm(1, 16), "AL_FORMAT_MONO16"},
        {"8-bit stereo", Pcm(2, 8), "AL_FORMAT_STEREO8"},
        {"24-bit stereo plays as 16", Pcm(2, 24), "AL_FORMAT_STEREO16"},
        {"16-bit quad", Pcm(4, 16), "AL_FORMAT_QUAD16"},
        {"8-bit quad", Pcm(4, 8), nullptr},
        {"3 channels", Pcm(3, 16), nullptr},
        {"6 plain channels", Pcm(6, 16), nullptr},
        {"ext mono 8", Extensible(1, 0x4, 8), "AL_FORMAT_MONO8"},
        {"ext mono 16", Extensible(1, 0x4), "AL_FORMAT_MONO16"},
        {"ext stereo 8", Extensible(2, 0x3, 8), "AL_FORMAT_STEREO8"},
        {"ext stereo 16", Extensible(2, 0x3), "AL_FORMAT_STEREO16"},
        {"ext rear", Extensible(2, 0x30), "AL_FORMAT_REAR16"},
        {"ext quad", Extensible(4, 0x33), "AL_FORMAT_QUAD16"},
        {"ext 5.1", Extensible(6, 0x3F), "AL_FORMAT_51CHN16"},
        {"ext 6.1", Extensible(7, 0x13F), "AL_FORMAT_61CHN16"},
        {"ext 7.1", Extensible(8, 0x63F), "AL_FORMAT_71CHN16"},
        {"ext 5.1 at 8 bits", Extensible(6, 0x3F, 8), nullptr},
        {"ext stereo, wrong mask", Extensible(2, 0x5), nullptr},
        {"unknown tag", [] { WavFormatFields f; f.tag = 3; return f; }(), nullptr},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        SoundData data;
        const std::int32_t result = OpenFromMemory(data, SoundContainer::Wav, PcmWav(c.fields, kSamples));
        if (c.alFormat == nullptr) {
            EXPECT_EQ(result, kSoundUnusable);
            EXPECT_FALSE(IsDecoderOpen(data));
        } else {
            ASSERT_EQ(result, kSoundOk);
            EXPECT_EQ(data.alFormat, alGetEnumValue(c.alFormat));
            EXPECT_NE(data.alFormat, 0);
        }
    }
}

struct HeaderCase {
    const char* name;
    std::string file;
    std::int32_t result;
};

TEST_F(SoundWavFileTest, MalformedHeadersAreRefused) {
    const std::string fmt = WavChunk("fmt ", WavFormatBody(Pcm(1, 16)));
    const std::string data = WavChunk("data", kSamples);
    // A plain mono "fmt " body with one u16 or u32 field set to zero.
    auto zeroed = [&](std::size_t offset, std::size_t width) {
        std::string body = WavFormatBody(Pcm(1, 16));
        body.replace(offset, width, std::string(width, '\0'));
        return WavFile(WavChunk("fmt ", body) + data);
    };
    const HeaderCase cases[] = {
        {"plain", WavFile(fmt + data), kSoundOk},
        {"identifiers in any case", [&] { std::string f = WavFile(fmt + data); std::memcpy(f.data(), "riff", 4); std::memcpy(f.data() + 8, "wave", 4); f[12] = 'F'; return f; }(), kSoundOk},
        {"fmt of 50 bytes is no format", WavFile(WavChunk("fmt ", WavFormatBody(Pcm(1, 16), 50)) + data), kSoundUnusable},
        {"fmt of 14 bytes", WavFile(WavChunk("fmt ", WavFormatBody(Pcm(1, 16), 14)) + data), kSoundUnusable},
        {"fmt of 1 byte", WavFile(WavChunk("fmt ", "\x01") + data), kSoundUnusable},
        {"extensible fmt of 30 bytes", WavFile(WavChunk("fmt ", WavFormatBody(Extensible(1, 4), 30)) + data), kSoundUnusable},
        {"channels 0", zeroed(2, 2), kSoundUnusable},
        {"rate 0", zeroed(4, 4), kSoundUnusable},
        {"bytes per second 0", zeroed(8, 4), kSoundUnusable},
        {"block align 0", zeroed(12, 2), kSoundUnusable},
        {"no data chunk", WavFile(fmt), kSoundUnusable},
        {"no fmt chunk", WavFile(data), kSoundUnusable},
        {"not RIFF", [&] { std::string f = WavFile(fmt + data); f[0] = 'X'; return f; }(), kSoundUnusable},
        {"not WAVE", [&] { std::string f = WavFile(fmt + data); f[8] = 'X'; return f; }(), kSoundUnusable},
        {"11 bytes", WavFile(fmt + data).substr(0, 11), kSoundUnusable},
        {"header only", WavFile(""), kSoundUnusable},
        {"truncated fmt", WavFile(fmt).substr(0, 20), kSoundUnusable},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        SoundData sound;
        EXPECT_EQ(OpenFromMemory(sound, SoundContainer::Wav, c.file), c.result);
        EXPECT_EQ(IsDecoderOpen(sound), c.result == kSoundOk);
        if (c.result != kSoundOk) {
            EXPECT_EQ(sound.format.channels, 0);
            EXPECT_EQ(sound.dataSize, 0u);
        }
    }
}

TEST_F(SoundWavFileTest, OddChunkBeforeDataIsSkippedWithItsPadByte) {
    SoundData data;
    const std::string file = WavFile(WavChunk("fmt ", WavFormatBody(Pcm(1, 16))) + WavChunk("LIST", "abc") +
                                     WavChunk("data", kSamples));
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Wav, file), kSoundOk);
    EXPECT_EQ(data.dataSize, kSamples.size());
    EXPECT_EQ(data.dataOffset, file.size() - kSamples.size());
    ASSERT_EQ(ReadWholeSound(data), kSoundOk);
    EXPECT_EQ(std::string(data.pcm.begin(), data.pcm.end()), kSamples);
    EXPECT_DOUBLE_EQ(data.duration, 12.0 / 44100.0);
}

TEST_F(SoundWavFileTest, DataClaimBeyondTheFileIsRefusedBeforeAllocation) {
    std::string file = WavFile(WavChunk("fmt ", WavFormatBody(Pcm(1, 16))) + WavChunk("data", kSamples, 0xFFFFFFFE));
    file.resize(1024, '\0');
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Wav, file), kSoundOk);
    EXPECT_EQ(data.dataSize, 0xFFFFFFFEu);
    EXPECT_EQ(ReadWholeSound(data), kSoundUnusable);
    EXPECT_EQ(data.pcm.capacity(), 0u);
    EXPECT_FALSE(IsDecoderOpen(data));
}

TEST_F(SoundWavFileTest, BlocksStopAtTheEndOfTheDataChunkAndRewind) {
    const std::string file =
        WavFile(WavChunk("fmt ", WavFormatBody(Pcm(1, 16))) + WavChunk("data", kSamples) + WavChunk("junk", "trailer!"));
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Wav, file), kSoundOk);
    data.format.averageBytesPerSecond = 40;  // blocks of 4 bytes at 0.1 s
    ASSERT_EQ(PrepareStreamBuffer(data, 0.1f), kSoundOk);
    ASSERT_EQ(data.bufferSize, 4u);
    std::string read;
    std::uint32_t bytes = 0;
    while (ReadBlock(data, bytes) == kSoundOk && bytes != 0) {
        read.append(data.pcm.begin(), data.pcm.begin() + bytes);
    }
    EXPECT_EQ(read, kSamples);
    ASSERT_EQ(SeekDecoder(data, 6), kSoundOk);
    ASSERT_EQ(ReadBlock(data, bytes), kSoundOk);
    EXPECT_EQ(std::string(data.pcm.begin(), data.pcm.begin() + bytes), kSamples.substr(6, 4));
    ASSERT_EQ(RewindDecoder(data), kSoundOk);
    ASSERT_EQ(ReadBlock(data, bytes), kSoundOk);
    EXPECT_EQ(std::string(data.pcm.begin(), data.pcm.begin() + bytes), kSamples.substr(0, 4));
}

TEST_F(SoundWavFileTest, StreamBufferHoldsAtLeastOneFrameAndNoMoreThanTheSound) {
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Wav, PcmWav(Pcm(2, 16), std::string(100000, '\0'))), kSoundOk);
    for (float seconds : {0.0f, -1.0f, 1e-9f}) {
        ASSERT_EQ(PrepareStreamBuffer(data, seconds), kSoundOk);
        EXPECT_EQ(data.bufferSize, 4u);
    }
    ASSERT_EQ(PrepareStreamBuffer(data, 0.5f), kSoundOk);
    EXPECT_EQ(data.bufferSize, 44100u);  // half of 22050 frames of 4 bytes
    // A header asking for a huge rate gets a block the size of the sound.
    WavFormatFields greedy = Pcm(2, 16);
    greedy.averageBytesPerSecond = 0xFFFFFFF0u;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Wav, PcmWav(greedy, kSamples)), kSoundOk);
    ASSERT_EQ(PrepareStreamBuffer(data, 0.5f), kSoundOk);
    EXPECT_EQ(data.bufferSize, kSamples.size());
}

TEST_F(SoundWavFileTest, IntroSplitFallsOnAFrameBoundary) {
    SoundData data;
    data.format.blockAlign = 4;
    data.dataSize = 1000;
    EXPECT_EQ(IntroSplitOffset(data, 0.3f), 300u);
    data.dataSize = 1010;
    EXPECT_EQ(IntroSplitOffset(data, 0.3f), 300u);  // 303 rounded down
    EXPECT_EQ(IntroSplitOffset(data, -0.5f), 0u);
    EXPECT_EQ(IntroSplitOffset(data, 2.0f), 1008u);
}

TEST_F(SoundWavFileTest, PathsChooseTheContainerByExtension) {
    TempDirectory folder;
    const std::string wav = PcmWav(Pcm(1, 16), kSamples);
    folder.WriteFile("BOOM.Wav", wav);
    folder.WriteFile("music.ogg.bak", wav);
    folder.WriteFile("Sounds/Hit.wav", wav);
    SoundData data;
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/BOOM.Wav"), kSoundOk);
    EXPECT_EQ(data.container, SoundContainer::Wav);
    EXPECT_EQ(data.path, Core::String(folder.Path() + "/BOOM.Wav"));
    // Engine paths: backslashes and any letter case reach the file.
    const std::string enginePath = folder.Path() + "\\sounds\\HIT.WAV";
    EXPECT_EQ(OpenAudioFile(data, enginePath), kSoundOk);
    EXPECT_EQ(data.path, Core::String(enginePath));
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/music.ogg.bak"), kSoundUnusable);
    EXPECT_TRUE(data.path.empty());
    EXPECT_FALSE(IsDecoderOpen(data));
    EXPECT_EQ(OpenAudioFile(data, "ab"), kSoundCannotOpen);
    EXPECT_EQ(OpenAudioFile(data, folder.Path() + "/missing.wav"), kSoundCannotOpen);
    std::uint32_t bytes = 0;
    EXPECT_EQ(ReadBlock(data, bytes), kSoundNotOpen);
    EXPECT_EQ(RewindDecoder(data), kSoundNotOpen);
    EXPECT_EQ(ReadWholeSound(data), kSoundNotOpen);
}

}  // namespace
