#pragma once

#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundResult.h"

#include <cstdint>
#include <memory>
#include <string_view>

// Opening and reading sound files. Every call returns a SoundResult.

// The container a path's extension names: its last three characters, in any
// letter case, "WAV" or "OGG". Paths shorter than three characters cannot be
// opened; any other extension is unusable.
std::int32_t ContainerFromPath(std::string_view path, SoundContainer& container);

// Closes what data had open, then opens and parses the file at the engine
// path (backslashes, any letter case). On success the file or decoder stays
// open at the first PCM byte, the format and data.alFormat are set and the
// path is stored.
std::int32_t OpenAudioFile(SoundData& data, std::string_view path);
// The same over any byte source (the record takes it); the path stays empty.
std::int32_t OpenAudioSource(SoundData& data, SoundContainer container, std::unique_ptr<SoundByteSource> source);

bool IsDecoderOpen(const SoundData& data);

// Reads the next block of at most data.bufferSize bytes into data.pcm (which
// PrepareStreamBuffer sized); bytes is how many came (0 at the end).
std::int32_t ReadBlock(SoundData& data, std::uint32_t& bytes);
// The same into bytes, which holds capacity bytes.
std::int32_t ReadBlockInto(SoundData& data, std::uint8_t* bytes, std::size_t capacity, std::uint32_t& count);
// Back to the first PCM byte.
std::int32_t RewindDecoder(SoundData& data);
// To a byte offset from the first PCM byte (WAV) or a raw stream offset (Ogg).
std::int32_t SeekDecoder(SoundData& data, std::int64_t offset);
// Closes the WAV file or the Ogg decoder; the format stays.
void CloseDecoder(SoundData& data);

// Reads the whole sound from its current position into data.pcm and sets
// data.dataSize to what it holds (a static load). A WAV data chunk that
// claims more than the file holds, or a short read, resets the format and is
// unusable, before anything large is allocated; so is an Ogg stream that
// decodes past 4 GiB. The file or decoder stays open.
std::int32_t ReadWholeSound(SoundData& data);

// Sizes a streamed sound's refill block: secondsPerBuffer of PCM, rounded
// down to whole sample frames, at least one frame; data.pcm is allocated to it.
std::int32_t PrepareStreamBuffer(SoundData& data, float secondsPerBuffer);

// Where an intro of the given share (clamped into [0, 1]) ends: the share of
// data.dataSize rounded down to a whole sample frame.
std::uint32_t IntroSplitOffset(const SoundData& data, float fraction);
