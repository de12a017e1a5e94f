#pragma once

#include "sound/Sound_SoundData.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Opens an Ogg Vorbis stream over the byte source (the decoder owns it from
// then on) and describes it as 16-bit PCM. Returns a SoundResult; on failure
// nothing stays open.
std::int32_t OpenOggStream(SoundData& data, std::unique_ptr<SoundByteSource> source);

// Decodes up to count bytes of 16-bit little-endian signed PCM into bytes,
// skipping recoverable gaps of the stream; fewer only at its end or at a
// damaged spot. Six-channel frames come out in OpenAL's channel order.
std::uint32_t DecodeOggBlock(SoundData& data, std::uint8_t* bytes, std::uint32_t count);

// Reorders whole 12-byte frames from Vorbis's 5.1 channel order (front left,
// centre, front right, rear left, rear right, LFE) to OpenAL's (front left,
// front right, centre, LFE, rear left, rear right).
void ReorderSixChannelFrames(std::uint8_t* bytes, std::size_t count);
