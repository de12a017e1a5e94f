#include "Sound_JukeBoxFixture.h"

#include <array>
#include <cmath>
#include <optional>

using soundtest::JukeBoxTest;

namespace {

using WaveAudioJukeBox = JukeBoxTest;

constexpr double kLow = 440.0;
constexpr double kHigh = 1000.0;
constexpr std::size_t kWindow = testsupport::kWaveWriterRate / 100;

// The amplitudes of both tones in the samples from first on: a least-squares
// fit of a sine and a cosine of each, so neither leaks into the other.
std::array<double, 2> ToneAmplitudes(const std::vector<double>& samples, std::size_t first) {
    std::array<std::array<double, 5>, 4> system{};
    for (std::size_t n = first; n < first + kWindow && n < samples.size(); ++n) {
        const double t = static_cast<double>(n) / testsupport::kWaveWriterRate;
        const std::array<double, 4> basis{std::sin(2 * M_PI * kLow * t), std::cos(2 * M_PI * kLow * t),
                                          std::sin(2 * M_PI * kHigh * t), std::cos(2 * M_PI * kHigh * t)};
        for (std::size_t row = 0; row < 4; ++row) {
            for (std::size_t column = 0; column < 4; ++column) {
                system[row][column] += basis[row] * basis[column];
            }
            system[row][4] += basis[row] * samples[n];
        }
    }
    // Gaussian elimination; the basis is well conditioned over a window.
    for (std::size_t pivot = 0; pivot < 4; ++pivot) {
        for (std::size_t row = 0; row < 4; ++row) {
            if (row != pivot) {
                const double factor = system[row][pivot] / system[pivot][pivot];
                for (std::size_t column = pivot; column < 5; ++column) {
                    system[row][column] -= factor * system[pivot][column];
                }
            }
        }
    }
    std::array<double, 4> c{};
    for (std::size_t i = 0; i < 4; ++i) {
        c[i] = system[i][4] / system[i][i];
    }
    return {std::hypot(c[0], c[1]), std::hypot(c[2], c[3])};
}

class WaveAudioJukeBoxFade : public JukeBoxTest {
protected:
    // Plays the low tone into the high one with the fade time, then closes
    // the device; the written samples.
    std::vector<double> Record(double lowSeconds, float fadeTime) {
        {
            const auto jukebox = MakeJukeBox({Tone("low.wav", lowSeconds, kLow), Tone("high.wav", 1.5, kHigh)});
            jukebox->SetFadeTime(fadeTime);
            EXPECT_TRUE(jukebox->PlayMusic(0));
            std::optional<std::chrono::steady_clock::time_point> highStart;
            EXPECT_TRUE(UpdateUntil(*jukebox, 5.0, [&] {
                const auto now = std::chrono::steady_clock::now();
                if (jukebox->GetCurrentTrack() == 1 && !highStart) {
                    highStart = now;
                }
                return highStart && now > *highStart + std::chrono::milliseconds(900);
            }));
        }
        Tundra::SetJukeBoxEngineForTesting(nullptr);
        m_engine.reset();
        const std::vector<std::int16_t> written = testsupport::ReadWaveWriterOutput();
        EXPECT_FALSE(written.empty());
        return std::vector<double>(written.begin(), written.end());
    }

    // The tones' level: half of full scale.
    static constexpr double kFull = 0.5 * 32768;
};

TEST_F(WaveAudioJukeBoxFade, TheTonesRampDownAndUpOverTheFadeTime) {
    const std::vector<double> samples = Record(1.0, 0.5f);
    // Where the high tone is at half its level: a quarter second into the fade.
    std::size_t half = 0;
    while (half + kWindow < samples.size() && ToneAmplitudes(samples, half)[1] < kFull / 2) {
        half += kWindow / 4;
    }
    ASSERT_LT(half + kWindow, samples.size());
    const double start = static_cast<double>(half + kWindow / 2) / testsupport::kWaveWriterRate - 0.25;
    for (double at = start + 0.05; at < start + 0.45; at += 0.01) {
        const auto first = static_cast<std::size_t>(at * testsupport::kWaveWriterRate);
        const std::array<double, 2> amplitudes = ToneAmplitudes(samples, first);
        const double progress = (at + 0.005 - start) / 0.5;
        EXPECT_NEAR(amplitudes[0], kFull * (1.0 - progress), 0.15 * kFull) << at - start;
        EXPECT_NEAR(amplitudes[1], kFull * progress, 0.15 * kFull) << at - start;
    }
}

TEST_F(WaveAudioJukeBoxFade, WithoutAFadeTheNewToneIsAtFullLevelInItsFirstWindow) {
    const std::vector<double> samples = Record(0.5, 0.0f);
    // The high tone starts where the first sample after the low one's last
    // window leaves silence.
    std::size_t low = 0;
    while (low + kWindow < samples.size() && ToneAmplitudes(samples, low)[0] < kFull / 2) {
        low += kWindow;
    }
    while (low + kWindow < samples.size() && ToneAmplitudes(samples, low)[0] > 0.05 * kFull) {
        low += kWindow;
    }
    std::size_t onset = low;
    while (onset < samples.size() && std::abs(samples[onset]) < 0.05 * kFull) {
        ++onset;
    }
    ASSERT_LT(onset + kWindow, samples.size());
    EXPECT_NEAR(ToneAmplitudes(samples, onset)[1], kFull, 0.15 * kFull);
}

}  // namespace
