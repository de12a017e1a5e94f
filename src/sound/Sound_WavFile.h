#pragma once

#include "sound/Sound_SoundData.h"

#include <cstdint>

// Walks the chunks of a RIFF WAVE file from the start of data.file: takes
// the format from "fmt ", the size and position of the samples from "data",
// and skips every other chunk (with its pad byte). On success the file is
// left at the first PCM byte. Returns a SoundResult; on failure the format
// block is reset and the file closed.
std::int32_t ParseWavFile(SoundData& data);
