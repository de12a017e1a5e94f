#pragma once

#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestEngine.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// An initialised engine on the process's configured device, the real-time
// Core clock its thread sleeps on, and a folder for sound files.
class SoundEngineFixture : public testing::Test {
public:
    static constexpr std::uint32_t kRefillMilliseconds = 5;

protected:
    void SetUp() override { ASSERT_TRUE(engine->Initialize(-1, kRefillMilliseconds)); }

    Core::String Write(const std::string& name, const std::string& bytes) const {
        return Core::String(files.WriteFile(name, bytes).c_str());
    }
    // A mono 16-bit WAV at the wave writer's rate.
    Core::String WriteWav(const std::string& name, const std::vector<std::int16_t>& samples) const {
        testsupport::WavFormatFields fields;
        fields.sampleRate = testsupport::kWaveWriterRate;
        return Write(name, testsupport::PcmWav(fields, testsupport::SampleBytes(samples)));
    }
    Core::String WriteTone(const std::string& name, double seconds, double frequency = 440.0) const {
        return WriteWav(name, testsupport::SineTone(frequency, seconds, 1, testsupport::kWaveWriterRate));
    }
    int Property(SoundSourceHandle source, int property) const {
        return SoundEngineTestAccess::SourceProperty(*engine, source, property);
    }

    testsupport::MovingClock clock;
    testsupport::TempDirectory files;
    std::unique_ptr<SoundEngine> engine = std::make_unique<SoundEngine>();
};
