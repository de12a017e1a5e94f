#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AssetGen_OggVorbisWriter.h"
#include "AssetGen_SoundAssets.h"
#include "tools/Tools_GameSounds.h"

namespace {

using testsupport::GameSound;
using testsupport::GameSounds;
using testsupport::GeneratedSoundPath;
using testsupport::kStreamThreshold;
using testsupport::SoundKind;

struct Decoded {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    std::int64_t pcmTotal = 0;
    std::vector<std::int16_t> samples;  // interleaved

    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(std::max(channels, 1)); }
    int First(std::size_t frame) const { return samples[frame * static_cast<std::size_t>(channels)]; }
};

Decoded Decode(const std::string& path) {
    Decoded decoded;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) {
        return decoded;
    }
    decoded.opened = true;
    decoded.channels = ov_info(&file, -1)->channels;
    decoded.rate = ov_info(&file, -1)->rate;
    decoded.pcmTotal = ov_pcm_total(&file, -1);
    char buffer[16384];
    int section = 0;
    long read;
    while ((read = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
        const auto* begin = reinterpret_cast<const std::int16_t*>(buffer);
        decoded.samples.insert(decoded.samples.end(), begin, begin + read / 2);
    }
    ov_clear(&file);
    return decoded;
}

double Rms(const Decoded& decoded, std::size_t firstFrame) {
    double sum = 0.0;
    for (std::size_t frame = firstFrame; frame < decoded.Frames(); ++frame) {
        sum += static_cast<double>(decoded.First(frame)) * decoded.First(frame);
    }
    return std::sqrt(sum / static_cast<double>(decoded.Frames() - firstFrame));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundAssets, EveryGameSoundDecodesWholeAndEffectsStayUnderTheStreamingSize) {
    for (const GameSound& sound : GameSounds()) {
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(GeneratedSoundPath(sound.name));
        ASSERT_TRUE(decoded.opened);
        EXPECT_EQ(decoded.rate, 44100);
        const std::int64_t bytes = decoded.pcmTotal * 2 * decoded.channels;
        EXPECT_EQ(static_cast<std::int64_t>(decoded.samples.size()) * 2, bytes);
        if (sound.kind == SoundKind::Music) {
            EXPECT_EQ(decoded.channels, 2);
            EXPECT_GT(bytes, kStreamThreshold);
            // A minute or more before the playlist repeats it, yet no
            // longer than the build's time for making the tree allows.
            EXPECT_GE(decoded.pcmTotal, 60 * decoded.rate);
            EXPECT_LE(decoded.pcmTotal, 90 * decoded.rate);
        } else {
            EXPECT_LT(bytes, kStreamThreshold);
        }
    }
}

// A looping sound clicks when its last sample does not lead into its first:
// the step across the loop point is no larger than the steps inside it.
TEST(SoundAssets, WeaponLoopsJoinWithoutAJump) {
    for (const GameSound& sound : testsupport::GameSoundsOf(SoundKind::Loop)) {
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(GeneratedSoundPath(sound.name));
        ASSERT_GT(decoded.Frames(), 1u);
        std::vector<int> steps;
        for (std::size_t frame = 1; frame < decoded.Frames(); ++frame) {
            steps.push_back(std::abs(decoded.First(frame) - decoded.First(frame - 1)));
        }
        std::sort(steps.begin(), steps.end());
        const int typicalLargeStep = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(decoded.First(0) - decoded.First(decoded.Frames() - 1)), typicalLargeStep);
    }
}

// A repeating playlist starts the track again 2 s before its end: those
// seconds hold only a fading tail.
TEST(SoundAssets, MusicEndsInAQuietTail) {
    for (const GameSound& sound : testsupport::GameSoundsOf(SoundKind::Music)) {
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(GeneratedSoundPath(sound.name));
        ASSERT_GT(decoded.Frames(), static_cast<std::size_t>(2 * decoded.rate));
        EXPECT_LT(Rms(decoded, decoded.Frames() - static_cast<std::size_t>(2 * decoded.rate)), 0.1 * Rms(decoded, 0));
    }
}

TEST(SoundAssets, RegeneratingASoundGivesTheSameBytes) {
    const AssetGen::SoundAsset asset = AssetGen::SoundAssets().front();
    EXPECT_EQ(AssetGen::EncodeOggVorbis(asset.render(), asset.quality), ReadAll(GeneratedSoundPath(asset.fileName)));
}

}  // namespace
