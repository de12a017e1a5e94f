#pragma once

#include "core/Core_String.h"
#include "sound/Sound_ByteSource.h"
#include "sound/Sound_Vorbis.h"

#include <AL/al.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

enum class SoundContainer : std::uint32_t { Wav = 0, Ogg = 1 };

// The sample layout of a sound, as a WAV "fmt " chunk states it (an Ogg
// stream is described as 16-bit PCM).
struct SoundFormat {
    static constexpr std::uint32_t kPlainPcm = 1;
    static constexpr std::uint32_t kExtensible = 2;
    static constexpr std::uint16_t kTagPcm = 1;
    static constexpr std::uint16_t kTagExtensible = 0xFFFE;

    std::uint32_t kind = kPlainPcm;
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t averageBytesPerSecond = 0;
    // Bytes per sample frame (all channels of one sample).
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extensionSize = 0;
    // Extensible chunks only.
    std::uint16_t validBitsPerSample = 0;
    std::uint32_t channelMask = 0;
    std::array<std::uint8_t, 16> subFormat{};
};

// One loaded sound: its format, its open file or Ogg decoder while it is
// read, and the OpenAL buffers that hold or stream its samples. The engine
// owns every record; a streamed record keeps its decode position, so it
// serves one source at a time. Records are neither copied nor moved: the
// Ogg decoder state points into itself.
struct SoundData {
    SoundData() = default;
    SoundData(const SoundData&) = delete;
    SoundData& operator=(const SoundData&) = delete;
    // Closes the file or decoder. OpenAL buffers are not touched here: the
    // engine deletes them with ReleaseSoundData while its context is current.
    ~SoundData();

    SoundContainer container = SoundContainer::Wav;
    SoundFormat format;
    // The whole sound while a static sound is read, one block while a
    // streamed sound plays; empty otherwise.
    std::vector<std::uint8_t> pcm;
    // Bytes of PCM in the whole sound.
    std::uint32_t dataSize = 0;
    double duration = 0.0;
    // A WAV sound's open file; null when closed and for Ogg, whose decoder
    // owns its file.
    std::unique_ptr<SoundByteSource> file;
    // Position of a WAV file's first PCM byte (0 for Ogg).
    std::uint64_t dataOffset = 0;

    OggVorbis_File ogg{};
    // Non-null exactly while the Ogg decoder is open.
    vorbis_info* streamInfo = nullptr;
    // Set once the decoder reported an error other than a hole: it is not
    // asked again (libvorbis 1.3.7 crashes when a stream whose decoding
    // failed to start is read a second time).
    bool oggFailed = false;

    // Where the sound was loaded from; set only once opening succeeded.
    Core::String path;
    ALenum alFormat = 0;
    std::vector<ALuint> buffers;
    // Bytes decoded per refill of a streamed sound.
    std::uint32_t bufferSize = 0;
    // Share of the sound played once before the rest loops (0: no intro).
    float introFraction = 0.0f;

    // A streamed sound's hand-over with the streaming thread, read and written
    // under the engine's source lock only. While lent, the thread decodes
    // outside the lock and nobody else touches the decoder or the PCM.
    bool lent = false;
    // Moves on whenever the main thread changes the sound's queue or position;
    // blocks decoded before a change are thrown away.
    std::uint64_t epoch = 0;
    // The buffers no longer hold the sound's first blocks.
    bool stale = false;
};

// Frees the PCM, closes the file (not the Ogg decoder) and zeroes the format
// and the sizes, as before every open.
void ResetFormatBlock(SoundData& data);

// Deletes the OpenAL buffers (the caller makes the context current and
// guards it), empties the path, closes the decoder and resets the format.
void ReleaseSoundData(SoundData& data);
// Only the OpenAL buffers of it.
void DeleteSoundBuffers(SoundData& data);
