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
#include "os/OS_Path.h"
#include "support/TempDirectory.h"

namespace {

// Below this many bytes of 16-bit samples the engine loads a sound whole.
constexpr long kStreamThreshold = 262144;

enum class Kind { Effect, Loop, Music };

struct Expected {
    std::string name;
    Kind kind;
};

std::vector<Expected> GameSounds() {
    std::vector<Expected> sounds = {
        {"buttonHover.ogg", Kind::Effect},  {"playerHit.ogg", Kind::Effect},  {"playerDeath.ogg", Kind::Effect},
        {"playerCollect.ogg", Kind::Effect}, {"weaponStart0.ogg", Kind::Effect}, {"weaponStart1.ogg", Kind::Effect},
        {"weaponStart2.ogg", Kind::Loop},    {"weaponStart3.ogg", Kind::Loop},   {"weaponEnd2.ogg", Kind::Effect},
        {"weaponEnd3.ogg", Kind::Effect},
    };
    for (int n = 1; n <= 9; ++n) {
        sounds.push_back({"music (" + std::to_string(n) + ").ogg", Kind::Music});
    }
    for (int n = 0; n <= 2; ++n) {
        sounds.push_back({"bgm" + std::to_string(n) + ".ogg", Kind::Music});
    }
    return sounds;
}

std::string SoundPath(const std::string& name) { return os::ExecutableDirectory() + "/Resources/Sounds/" + name; }

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
    for (const Expected& sound : GameSounds()) {
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(SoundPath(sound.name));
        ASSERT_TRUE(decoded.opened);
        EXPECT_EQ(decoded.rate, 44100);
        const std::int64_t bytes = decoded.pcmTotal * 2 * decoded.channels;
        EXPECT_EQ(static_cast<std::int64_t>(decoded.samples.size()) * 2, bytes);
        if (sound.kind == Kind::Music) {
            EXPECT_EQ(decoded.channels, 2);
            EXPECT_GT(bytes, kStreamThreshold);
            EXPECT_GE(decoded.pcmTotal, 20 * decoded.rate);
            EXPECT_LE(decoded.pcmTotal, 60 * decoded.rate);
        } else {
            EXPECT_LT(bytes, kStreamThreshold);
        }
    }
}

// A looping sound clicks when its last sample does not lead into its first:
// the step across the loop point is no larger than the steps inside it.
TEST(SoundAssets, WeaponLoopsJoinWithoutAJump) {
    for (const Expected& sound : GameSounds()) {
        if (sound.kind != Kind::Loop) {
            continue;
        }
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(SoundPath(sound.name));
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
    for (const Expected& sound : GameSounds()) {
        if (sound.kind != Kind::Music) {
            continue;
        }
        SCOPED_TRACE(sound.name);
        const Decoded decoded = Decode(SoundPath(sound.name));
        ASSERT_GT(decoded.Frames(), static_cast<std::size_t>(2 * decoded.rate));
        EXPECT_LT(Rms(decoded, decoded.Frames() - static_cast<std::size_t>(2 * decoded.rate)), 0.1 * Rms(decoded, 0));
    }
}

TEST(SoundAssets, RegeneratingASoundGivesTheSameBytes) {
    const testsupport::TempDirectory directory;
    const AssetGen::SoundAsset asset = AssetGen::SoundAssets().front();
    const std::string path = directory.Path() + "/" + asset.fileName;
    std::string error;
    ASSERT_TRUE(AssetGen::WriteOggVorbis(asset.render(), asset.quality, path, error)) << error;
    EXPECT_EQ(ReadAll(path), ReadAll(SoundPath(asset.fileName)));
}

}  // namespace
