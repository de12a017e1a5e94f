#pragma once

#include "Fuzz_Harness.h"

#include "sound/Sound_Decoder.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_MemoryByteSource.h"

#include <memory>

namespace fuzz {

// Opens the bytes as a sound file and, when that succeeds, reads it to the
// end block by block, rewinds, and reads it whole: every step gives a result
// code, and an opened sound always has a usable format.
inline void DecodeSoundFile(SoundContainer container, Bytes file) {
    static const bool tableFilled = (FillDecoderTable(), true);
    (void)tableFilled;
    SoundData data;
    const std::int32_t result = OpenAudioSource(data, container, std::make_unique<MemoryByteSource>(std::move(file)));
    if (result != kSoundOk) {
        if (result != kSoundUnusable || IsDecoderOpen(data)) {
            __builtin_trap();
        }
        return;
    }
    if (data.format.channels == 0 || data.format.blockAlign == 0 || data.format.averageBytesPerSecond == 0 ||
        data.alFormat == 0) {
        __builtin_trap();
    }
    if (PrepareStreamBuffer(data, 0.5f) != kSoundOk || data.bufferSize < data.format.blockAlign) {
        __builtin_trap();
    }
    std::uint32_t bytes = 0;
    while (ReadBlock(data, bytes) == kSoundOk && bytes != 0) {
        if (bytes > data.bufferSize) {
            __builtin_trap();
        }
    }
    RewindDecoder(data);
    if (ReadWholeSound(data) == kSoundOk && data.pcm.size() != data.dataSize) {
        __builtin_trap();
    }
}

}  // namespace fuzz
