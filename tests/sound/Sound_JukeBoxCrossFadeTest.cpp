#include "Sound_JukeBoxFixture.h"

#include <array>
#include <cmath>
#include <complex>
#include <optional>

using soundtest::JukeBoxTest;

namespace {

using WaveAudioJukeBox = JukeBoxTest;

constexpr double kLow = 440.0;
constexpr double kHigh = 1000.0;
constexpr std::size_t kWindow = testsupport::kWaveWriterRate / 100;

// The amplitudes of both tones in the window from first on: Hann-windowed
// single-frequency transforms, in which the other tone does not leak.
std::array<double, 2> ToneAmplitudes(const std::vector<double>& samples, std::size_t first) {
    std::array<std::complex<double>, 2> sums{};
    double weights = 0.0;
    for (std::size_t n = first; n < first + kWindow && n < samples.size(); ++n) {
        const double weight = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(n - first) / kWindow);
        const double t = static_cast<double>(n) / testsupport::kWaveWriterRate;
        sums[0] += weight * samples[n] * std::polar(1.0, -2 * M_PI * kLow * t);
        sums[1] += weight * samples[n] * std::polar(1.0, -2 * M_PI * kHigh * t);
        weights += weight;
    }
    return {2 * std::abs(sums[0]) / weights, 2 * std::abs(sums[1]) / weights};
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
    // The first window, stepping finely, that catches any of the high tone;
    // the window after it lies wholly in the high tone. (Looking for the low
    // tone's end instead depends on where it falls in a window: a tail under
    // the window's edge hides from the transform.)
    std::size_t start = 0;
    while (start + 2 * kWindow < samples.size() && ToneAmplitudes(samples, start)[1] < 0.05 * kFull) {
        start += kWindow / 20;
    }
    ASSERT_LT(start + 2 * kWindow, samples.size());
    EXPECT_NEAR(ToneAmplitudes(samples, start + kWindow)[1], kFull, 0.15 * kFull);
}

}  // namespace
