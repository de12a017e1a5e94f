#include "Sound_EngineFixture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

using namespace std::chrono_literals;
using testsupport::kWaveWriterRate;
using testsupport::WaitUntil;

namespace {

// Below this a written sample counts as silence.
constexpr int kSilence = 64;

std::size_t FirstSound(const std::vector<std::int16_t>& out) {
    const auto found = std::find_if(out.begin(), out.end(), [](std::int16_t s) { return std::abs(s) >= kSilence; });
    return static_cast<std::size_t>(found - out.begin());
}

std::size_t LastSound(const std::vector<std::int16_t>& out) {
    const auto found = std::find_if(out.rbegin(), out.rend(), [](std::int16_t s) { return std::abs(s) >= kSilence; });
    return out.size() - static_cast<std::size_t>(found - out.rbegin());
}

// Sign changes per 10 ms window: about 2 x frequency / 100.
std::vector<int> CrossingsPerWindow(const std::vector<std::int16_t>& out, std::size_t from, std::size_t to) {
    constexpr std::size_t kWindow = kWaveWriterRate / 100;
    std::vector<int> windows;
    for (std::size_t start = from; start + kWindow <= to; start += kWindow) {
        int crossings = 0;
        for (std::size_t i = start + 1; i < start + kWindow; ++i) {
            crossings += (out[i - 1] < 0) != (out[i] < 0) ? 1 : 0;
        }
        windows.push_back(crossings);
    }
    return windows;
}

}  // namespace

// The wave writer mixes in real time and completes its file when the device
// closes, so each test plays, waits, destroys the engine and reads the file.
class WaveAudioOutput : public SoundEngineFixture {
protected:
    void SetUp() override { ASSERT_TRUE(engine->Initialize(-1, 30)); }

    // Plays to the end (or for the given time when it loops) and returns what was written.
    std::vector<std::int16_t> Record(SoundData* sound, bool looping, std::chrono::milliseconds timeout) {
        const SoundSourceHandle source = engine->CreateSource(sound, true, looping);
        EXPECT_TRUE(engine->SetSourceGain(source, 1.0f) && engine->PlaySource(source));
        WaitUntil([&] { return !engine->IsSourceActive(source); }, timeout);
        engine.reset();
        return testsupport::ReadWaveWriterOutput();
    }
};

TEST_F(WaveAudioOutput, AStaticWavComesOutSampleForSample) {
    // A known pattern that is not a tone: sums of two primes' worth of steps.
    std::vector<std::int16_t> pattern(kWaveWriterRate / 5);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<std::int16_t>(((i * 7919) % 20011) - 10005 + (i % 13) * 300);
    }
    pattern[0] = 12000;
    const std::vector<std::int16_t> out = Record(engine->LoadStaticSound(WriteWav("p.wav", pattern), 0.0f), false, 2s);
    const std::size_t start = FirstSound(out);
    ASSERT_GE(out.size(), start + pattern.size());
    const double gain = static_cast<double>(out[start]) / pattern[0];
    EXPECT_GT(gain, 0.1);
    int worst = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        worst = std::max(worst, static_cast<int>(std::lround(std::abs(out[start + i] - gain * pattern[i]))));
    }
    EXPECT_LE(worst, 2);
}

TEST_F(WaveAudioOutput, AStreamedOggPlaysWholeWithoutGaps) {
    const testsupport::OggToneSpec tone{.frequency = 440.0, .seconds = 3.0, .channels = 1, .rate = kWaveWriterRate};
    const std::vector<std::int16_t> out =
        Record(engine->LoadStreamedSound(Write("s.ogg", testsupport::OggTone(tone)), 0.5f, 2), false, 6s);
    const std::size_t first = FirstSound(out);
    const std::size_t last = LastSound(out);
    ASSERT_LT(first, last);
    EXPECT_NEAR(static_cast<double>(last - first) / kWaveWriterRate, 3.0, 0.05);
    std::size_t longestQuiet = 0;
    for (std::size_t i = first, quiet = 0; i < last; ++i) {
        quiet = std::abs(out[i]) < kSilence ? quiet + 1 : 0;
        longestQuiet = std::max(longestQuiet, quiet);
    }
    EXPECT_LE(longestQuiet, static_cast<std::size_t>(kWaveWriterRate / 100)) << "a gap over 10 ms";
}

TEST_F(WaveAudioOutput, AnIntroPlaysOnceThenItsLoopRepeats) {
    // 0.3 s at 1000 Hz, then a 0.3 s loop at 250 Hz.
    std::vector<std::int16_t> samples = testsupport::SineTone(1000.0, 0.3, 1, kWaveWriterRate);
    const std::vector<std::int16_t> loop = testsupport::SineTone(250.0, 0.3, 1, kWaveWriterRate);
    samples.insert(samples.end(), loop.begin(), loop.end());
    const std::vector<std::int16_t> out =
        Record(engine->LoadStaticSound(WriteWav("il.wav", samples), 0.5f), true, 1500ms);
    const std::vector<int> windows = CrossingsPerWindow(out, FirstSound(out), LastSound(out));
    // 1000 Hz gives about 20 crossings a window, 250 Hz about 5.
    const auto firstLoop = std::find_if(windows.begin(), windows.end(), [](int c) { return c < 12; });
    const auto introWindows = firstLoop - windows.begin();
    EXPECT_NEAR(static_cast<double>(introWindows), 30.0, 2.0) << "the intro, once";
    EXPECT_TRUE(std::all_of(firstLoop, windows.end(), [](int c) { return c >= 3 && c < 12; }))
        << "only the loop after it";
    EXPECT_GE(windows.end() - firstLoop, 90) << "the loop repeated";
}
