#include "sound/Sound_Decoder.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_SoundEngine.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

// A minute of stereo music at 44.1 kHz decoded from disk through ReadBlock in
// the streaming thread's half-second blocks, beside a plain ov_read loop over
// the same file with the same block size; and whole loads of effect-sized
// sounds (1.2 s of stereo at 44.1 kHz, under the streaming threshold) on the
// null backend.

namespace {

constexpr double kSeconds = 60.0;
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr float kQuality = 0.4f;

// Chords over a bass line with a little noise: a bitrate like real music's.
std::vector<std::int16_t> Music() {
    const std::size_t frames = static_cast<std::size_t>(kSeconds * kRate);
    std::vector<std::int16_t> samples(frames * kChannels);
    const double roots[] = {220.0, 174.6, 196.0, 261.6};
    std::uint32_t seed = 7;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        const double root = roots[static_cast<std::size_t>(t / 2.0) % 4];
        const double envelope = 0.6 + 0.4 * std::exp(-4.0 * std::fmod(t, 0.5));
        double value = 0.0;
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            value += std::sin(2.0 * std::numbers::pi * root * ratio * t) * 0.12;
        }
        value += std::sin(2.0 * std::numbers::pi * root / 4.0 * t) * 0.2;
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<std::int32_t>(seed >> 8) / double(1 << 24) - 0.5) * 0.05;
        for (int c = 0; c < kChannels; ++c) {
            const double pan = c == 0 ? 1.0 : 0.8;
            samples[i * kChannels + c] = static_cast<std::int16_t>(32767.0 * envelope * (value * pan + noise));
        }
    }
    return samples;
}

struct MusicFile {
    testsupport::TempDirectory folder;
    std::string path;
    MusicFile() {
        path = folder.WriteFile("music.ogg", testsupport::EncodeOgg(Music(), kChannels, kRate, kQuality));
        FillDecoderTable();
    }
};

const MusicFile& File() {
    static const MusicFile file;
    return file;
}

void Report(benchmark::State& state, std::uint64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["x_realtime"] = benchmark::Counter(kSeconds * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ReadBlock(benchmark::State& state) {
    const std::string& path = File().path;
    std::uint64_t total = 0;
    for (auto _ : state) {
        SoundData data;
        if (OpenAudioFile(data, path) != kSoundOk || PrepareStreamBuffer(data, 0.5f) != kSoundOk) {
            state.SkipWithError("cannot open the music");
            return;
        }
        total = 0;
        std::uint32_t bytes = 0;
        while (ReadBlock(data, bytes) == kSoundOk && bytes != 0) {
            total += bytes;
        }
        benchmark::DoNotOptimize(data.pcm.data());
    }
    Report(state, total);
}
BENCHMARK(BM_ReadBlock)->Unit(benchmark::kMillisecond);

void BM_PlainOvRead(benchmark::State& state) {
    const std::string& path = File().path;
    std::vector<char> block(kRate * kChannels);  // half a second of 16-bit samples
    std::uint64_t total = 0;
    for (auto _ : state) {
        OggVorbis_File vorbisFile;
        if (ov_fopen(path.c_str(), &vorbisFile) != 0) {
            state.SkipWithError("cannot open the music");
            return;
        }
        total = 0;
        for (;;) {
            std::size_t done = 0;
            long got = 1;
            int section = 0;
            while (done < block.size() &&
                   (got = ov_read(&vorbisFile, block.data() + done, int(block.size() - done), 0, 2, 1, &section)) > 0) {
                done += static_cast<std::size_t>(got);
            }
            total += done;
            if (done < block.size()) {
                break;
            }
        }
        benchmark::DoNotOptimize(block.data());
        ov_clear(&vorbisFile);
    }
    Report(state, total);
}
BENCHMARK(BM_PlainOvRead)->Unit(benchmark::kMillisecond);

// Effects load whole: upload included, the engine's StopAll afterwards not.
void LoadStaticSound(benchmark::State& state, const char* name, const std::string& bytes) {
    setenv("ALSOFT_DRIVERS", "null", 0);
    testsupport::TempDirectory folder;
    const Core::String path(folder.WriteFile(name, bytes).c_str());
    SoundEngine engine;
    if (!engine.Initialize(-1, 30)) {
        state.SkipWithError("no OpenAL device");
        return;
    }
    for (auto _ : state) {
        if (engine.LoadStaticSound(path, 0.0f) == nullptr) {
            state.SkipWithError("the effect does not load");
            return;
        }
        state.PauseTiming();
        engine.StopAll();
        state.ResumeTiming();
    }
}

constexpr double kEffectSeconds = 1.2;

void BM_LoadStaticSoundOgg(benchmark::State& state) {
    LoadStaticSound(state, "effect.ogg",
                    testsupport::OggTone({440.0, kEffectSeconds, kChannels, kRate, kQuality}));
}
BENCHMARK(BM_LoadStaticSoundOgg)->Unit(benchmark::kMillisecond);

void BM_LoadStaticSoundWav(benchmark::State& state) {
    testsupport::WavFormatFields fields;
    fields.channels = kChannels;
    fields.sampleRate = kRate;
    LoadStaticSound(state, "effect.wav",
                    testsupport::PcmWav(fields, testsupport::SampleBytes(
                                                    testsupport::SineTone(440.0, kEffectSeconds, kChannels, kRate))));
}
BENCHMARK(BM_LoadStaticSoundWav)->Unit(benchmark::kMillisecond);

}  // namespace
