#pragma once

#include "sound/Sound_Decoder.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_MemoryByteSource.h"
#include "support/Sound_TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

// Decoding tests need the vorbisfile table, which the engine normally fills.
class SoundDecoderFixture : public ::testing::Test {
protected:
    void SetUp() override { FillDecoderTable(); }
    void TearDown() override { ClearDecoderTable(); }
};

inline std::int32_t OpenFromMemory(SoundData& data, SoundContainer container, std::string_view bytes) {
    return OpenAudioSource(data, container, std::make_unique<MemoryByteSource>(testsupport::ToBytes(bytes)));
}

// Reads the opened sound to its end through ReadBlock; how many bytes came.
inline std::uint64_t DecodeToEnd(SoundData& data, float secondsPerBuffer = 0.25f) {
    if (PrepareStreamBuffer(data, secondsPerBuffer) != kSoundOk) {
        return 0;
    }
    std::uint64_t total = 0;
    std::uint32_t bytes = 0;
    while (ReadBlock(data, bytes) == kSoundOk && bytes != 0) {
        total += bytes;
    }
    return total;
}
