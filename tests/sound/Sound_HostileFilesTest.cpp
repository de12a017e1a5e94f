#include "Sound_DecoderFixture.h"

#include "support/TempDirectory.h"

#include <ogg/ogg.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace testsupport;

// Mutated and truncated sound files through opening and full decoding: every
// result is a code or a sound, never a crash, a hang or a leak (the sanitizer
// build checks the last). TUNDRA_SOUND_MUTATIONS multiplies the counts for
// longer runs by hand.
namespace {

class SoundHostileFilesTest : public SoundDecoderFixture {};

int Scaled(int count) {
    const char* factor = std::getenv("TUNDRA_SOUND_MUTATIONS");
    return factor != nullptr && std::atoi(factor) > 0 ? count * std::atoi(factor) : count;
}

constexpr std::uint32_t kInteresting[] = {0,  1,  2,  3,  14, 15, 16, 17, 18, 39, 40, 44, 45, 50, 0x7F, 0xFFFE,
                                          0x10000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu};

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : m_random(seed) {}

    std::uint32_t Below(std::size_t bound) {
        return bound == 0 ? 0 : static_cast<std::uint32_t>(m_random() % bound);
    }

    // One to four changes inside the first span bytes (the header), or a cut.
    void Mutate(std::string& file, std::size_t span) {
        const int changes = 1 + Below(4);
        for (int i = 0; i < changes && !file.empty(); ++i) {
            const std::size_t at = Below(std::min(span, file.size()));
            switch (Below(5)) {
                case 0: file[at] = static_cast<char>(Below(256)); break;
                case 1: file[at] = static_cast<char>(file[at] ^ (1 << Below(8))); break;
                case 2: {
                    const std::uint32_t value = kInteresting[Below(std::size(kInteresting))];
                    for (std::size_t b = 0; b < 4 && at + b < file.size(); ++b) {
                        file[at + b] = static_cast<char>(value >> (8 * b));
                    }
                    break;
                }
                case 3: file.resize(Below(file.size() + 1)); break;
                default: file.insert(at, file.substr(Below(file.size()), Below(24))); break;
            }
        }
    }

private:
    std::mt19937 m_random;
};

void ExpectSoundOrRefusal(SoundData& data, std::int32_t result) {
    ASSERT_TRUE(result == kSoundOk || result == kSoundUnusable) << result;
    if (result != kSoundOk) {
        EXPECT_FALSE(IsDecoderOpen(data));
        return;
    }
    ASSERT_GE(data.format.channels, 1);
    ASSERT_GE(data.format.blockAlign, 1);
    ASSERT_GE(data.format.averageBytesPerSecond, 1u);
    ASSERT_NE(data.alFormat, 0);
    DecodeToEnd(data, 0.5f);
    const std::int32_t rewound = RewindDecoder(data);
    ASSERT_TRUE(rewound == kSoundOk || rewound == kSoundUnusable) << rewound;
    const std::int32_t whole = ReadWholeSound(data);
    ASSERT_TRUE(whole == kSoundOk || whole == kSoundUnusable) << whole;
    if (whole == kSoundOk) {
        EXPECT_EQ(data.pcm.size(), data.dataSize);
    }
}

std::vector<std::string> WavSeeds() {
    WavFormatFields stereo;
    stereo.channels = 2;
    WavFormatFields extensible;
    extensible.tag = 0xFFFE;
    extensible.channels = 6;
    extensible.channelMask = 0x3F;
    const std::string samples = SampleBytes(SineTone(440.0, 0.002, 2, 22050));
    return {
        PcmWav({}, samples),
        PcmWav(extensible, samples),
        WavFile(WavChunk("LIST", "odd") + WavChunk("fmt ", WavFormatBody(stereo, 18)) + WavChunk("data", samples) +
                WavChunk("junk", "tail")),
    };
}

std::vector<std::string> OggSeeds() {
    return {OggTone({440.0, 0.3, 1, 22050}), OggTone({660.0, 0.25, 2, 44100}), OggTone({330.0, 0.2, 6, 22050})};
}

// Ogg pages carry checksums: a changed page is usually just dropped. Half
// of the mutations mend the checksums so that the changes reach the decoder.
void MendChecksums(std::string& file) {
    for (std::size_t at = file.find("OggS"); at != std::string::npos; at = file.find("OggS", at + 4)) {
        unsigned char* header = reinterpret_cast<unsigned char*>(file.data() + at);
        if (at + 27 > file.size() || at + 27 + header[26] > file.size()) {
            return;
        }
        long bodyLength = 0;
        for (int i = 0; i < header[26]; ++i) {
            bodyLength += header[27 + i];
        }
        const long headerLength = 27 + header[26];
        if (at + headerLength + bodyLength > file.size()) {
            return;
        }
        ogg_page page{header, headerLength, header + headerLength, bodyLength};
        ogg_page_checksum_set(&page);
    }
}

TEST_F(SoundHostileFilesTest, MutatedWavHeadersFromMemory) {
    const std::vector<std::string> seeds = WavSeeds();
    Mutator mutator(18);
    int opened = 0;
    const int count = Scaled(1000000);
    for (int i = 0; i < count; ++i) {
        std::string file = seeds[i % seeds.size()];
        mutator.Mutate(file, 96);
        SoundData data;
        const std::int32_t result = OpenFromMemory(data, SoundContainer::Wav, file);
        opened += result == kSoundOk;
        ASSERT_NO_FATAL_FAILURE(ExpectSoundOrRefusal(data, result)) << "mutation " << i;
    }
    // The mutations leave a good share of the files usable, so reading is exercised too.
    EXPECT_GT(opened, count / 10);
}

TEST_F(SoundHostileFilesTest, MutatedSoundFilesOnDisk) {
    TempDirectory folder;
    Mutator mutator(1018);
    const std::vector<std::string> wavSeeds = WavSeeds();
    const std::vector<std::string> oggSeeds = OggSeeds();
    for (int i = 0; i < Scaled(300); ++i) {
        const bool ogg = i % 3 == 0;
        std::string file = ogg ? oggSeeds[i % oggSeeds.size()] : wavSeeds[i % wavSeeds.size()];
        mutator.Mutate(file, ogg ? file.size() : 96);
        const std::string path = folder.WriteFile(std::to_string(i) + (ogg ? ".ogg" : ".wav"), file);
        SoundData data;
        const std::int32_t result = OpenAudioFile(data, path);
        ASSERT_NO_FATAL_FAILURE(ExpectSoundOrRefusal(data, result)) << path;
        EXPECT_EQ(data.path.empty(), result != kSoundOk);
    }
}

TEST_F(SoundHostileFilesTest, MutatedAndTruncatedOggStreams) {
    const std::vector<std::string> seeds = OggSeeds();
    Mutator mutator(2018);
    int opened = 0;
    const int count = Scaled(3000);
    for (int i = 0; i < count; ++i) {
        std::string file = seeds[i % seeds.size()];
        if (i % 4 == 0) {
            file.resize(mutator.Below(file.size()));
        } else {
            mutator.Mutate(file, file.size());
            if (i % 2 == 0) {
                MendChecksums(file);
            }
        }
        SoundData data;
        const std::int32_t result = OpenFromMemory(data, SoundContainer::Ogg, file);
        opened += result == kSoundOk;
        ASSERT_NO_FATAL_FAILURE(ExpectSoundOrRefusal(data, result)) << "mutation " << i;
    }
    EXPECT_GT(opened, count / 10);
}

TEST_F(SoundHostileFilesTest, CodebookWithoutDimensionIsRefused) {
    std::string file = OggSeeds()[1];
    // The first codebook's dimension: a u16 eight bytes into the setup
    // header, after the packet type, "vorbis", the book count and the sync.
    const std::size_t setup = file.find("\x05vorbis");
    ASSERT_NE(setup, std::string::npos);
    ASSERT_EQ(file.substr(setup + 8, 3), "BCV");
    file[setup + 11] = file[setup + 12] = '\0';
    MendChecksums(file);
    SoundData data;
    EXPECT_EQ(OpenFromMemory(data, SoundContainer::Ogg, file), kSoundUnusable);
    EXPECT_FALSE(IsDecoderOpen(data));
}

TEST_F(SoundHostileFilesTest, StreamWhoseDecodingCannotStartIsNotReadAgain) {
    // Two changed bytes in a codebook's code lengths: the stream opens, but
    // its decoder cannot be set up. libvorbis crashes when asked again.
    std::string file = OggSeeds()[0];
    ASSERT_EQ(static_cast<unsigned char>(file[1541]), 0xD7);
    ASSERT_EQ(static_cast<unsigned char>(file[2043]), 0xB5);
    file[1541] = static_cast<char>(0xFA);
    file[2043] = static_cast<char>(0xB4);
    MendChecksums(file);
    SoundData data;
    ASSERT_EQ(OpenFromMemory(data, SoundContainer::Ogg, file), kSoundOk);
    EXPECT_EQ(DecodeToEnd(data), 0u);
    EXPECT_EQ(RewindDecoder(data), kSoundOk);
    EXPECT_EQ(DecodeToEnd(data), 0u);
    EXPECT_EQ(ReadWholeSound(data), kSoundOk);
    EXPECT_EQ(data.dataSize, 0u);
}

}  // namespace
