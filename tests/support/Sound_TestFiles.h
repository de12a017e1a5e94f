#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Sound files for tests, made byte by byte (WAV) or encoded with libvorbisenc
// (Ogg). Bytes are held in std::string; write them with TempDirectory.
namespace testsupport {

// The fields of a WAV "fmt " chunk, any of them set to anything.
struct WavFormatFields {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 22050;
    // 0: worked out from the others.
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extensionSize = 22;
    std::uint16_t validBitsPerSample = 16;
    std::uint32_t channelMask = 0;
};

// A chunk: identifier, little-endian size and body, padded to an even
// length (claimedSize, when given, replaces the size written).
std::string WavChunk(std::string_view id, std::string_view body, std::int64_t claimedSize = -1);
// A "fmt " body: 16 bytes for PCM, 40 for extensible, cut or padded to
// size bytes when size is given.
std::string WavFormatBody(const WavFormatFields& fields, std::int64_t size = -1);
// "RIFF", the size of what follows, "WAVE" and the chunks.
std::string WavFile(std::string_view chunks);
// A whole PCM WAV: "fmt " then "data" with the given samples.
std::string PcmWav(const WavFormatFields& fields, std::string_view samples);

// Interleaved 16-bit samples of a sine tone, the same in every channel
// (channel c scaled by 1 / (c + 1), so channels can be told apart).
std::vector<std::int16_t> SineTone(double frequency, double seconds, int channels, int rate, double amplitude = 0.5);
// The samples as little-endian bytes.
std::string SampleBytes(const std::vector<std::int16_t>& samples);

struct OggToneSpec {
    double frequency = 440.0;
    double seconds = 1.0;
    int channels = 1;
    int rate = 22050;
    float quality = 0.3f;
};
// An Ogg Vorbis file of interleaved 16-bit samples.
std::string EncodeOgg(const std::vector<std::int16_t>& samples, int channels, int rate, float quality = 0.3f);
// An Ogg Vorbis file of a sine tone.
std::string OggTone(const OggToneSpec& spec);

std::vector<std::uint8_t> ToBytes(std::string_view bytes);

}  // namespace testsupport
