#include "support/Sound_TestFiles.h"

#include "AssetGen_OggVorbisWriter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace testsupport {
namespace {

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string WavChunk(std::string_view id, std::string_view body, std::int64_t claimedSize) {
    std::string out(id.substr(0, 4));
    Put32(out, claimedSize >= 0 ? static_cast<std::uint32_t>(claimedSize) : static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

std::string WavFormatBody(const WavFormatFields& fields, std::int64_t size) {
    const std::uint16_t blockAlign =
        fields.blockAlign != 0 ? fields.blockAlign : static_cast<std::uint16_t>(fields.channels * ((fields.bitsPerSample + 7) / 8));
    const std::uint32_t average =
        fields.averageBytesPerSecond != 0 ? fields.averageBytesPerSecond : blockAlign * fields.sampleRate;
    std::string out;
    Put16(out, fields.tag);
    Put16(out, fields.channels);
    Put32(out, fields.sampleRate);
    Put32(out, average);
    Put16(out, blockAlign);
    Put16(out, fields.bitsPerSample);
    if (fields.tag == 0xFFFE) {
        Put16(out, fields.extensionSize);
        Put16(out, fields.validBitsPerSample);
        Put32(out, fields.channelMask);
        // KSDATAFORMAT_SUBTYPE_PCM
        Put32(out, 1);
        out += std::string("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);
    }
    if (size >= 0) {
        out.resize(static_cast<std::size_t>(size), '\0');
    }
    return out;
}

std::string WavFile(std::string_view chunks) {
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(chunks.size() + 4));
    out += "WAVE";
    out += chunks;
    return out;
}

std::string PcmWav(const WavFormatFields& fields, std::string_view samples) {
    return WavFile(WavChunk("fmt ", WavFormatBody(fields)) + WavChunk("data", samples));
}

std::vector<std::int16_t> SineTone(double frequency, double seconds, int channels, int rate, double amplitude) {
    const std::size_t frames = static_cast<std::size_t>(std::lround(seconds * rate));
    std::vector<std::int16_t> samples(frames * channels);
    for (std::size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate);
        for (int c = 0; c < channels; ++c) {
            samples[i * channels + c] = static_cast<std::int16_t>(std::lround(32767.0 * value / (c + 1)));
        }
    }
    return samples;
}

std::string SampleBytes(const std::vector<std::int16_t>& samples) {
    std::string out;
    out.reserve(samples.size() * 2);
    for (std::int16_t sample : samples) {
        Put16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

std::string EncodeOgg(const std::vector<std::int16_t>& samples, int channels, int rate, float quality) {
    AssetGen::Pcm pcm;
    pcm.channels = channels;
    pcm.rate = rate;
    pcm.samples.reserve(samples.size());
    for (const std::int16_t sample : samples) {
        pcm.samples.push_back(sample / 32768.0f);
    }
    // A fixed serial number and no comment: the same samples give the same bytes.
    std::string out = AssetGen::EncodeOggVorbis(pcm, quality, {0x5EED, nullptr});
    if (out.empty()) {
        throw std::runtime_error("vorbis encoder refused the layout");
    }
    return out;
}

std::string OggTone(const OggToneSpec& spec) {
    return EncodeOgg(SineTone(spec.frequency, spec.seconds, spec.channels, spec.rate), spec.channels, spec.rate,
                     spec.quality);
}

std::vector<std::uint8_t> ToBytes(std::string_view bytes) {
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace testsupport
