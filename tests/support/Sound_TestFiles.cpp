#include "support/Sound_TestFiles.h"

#include <vorbis/vorbisenc.h>

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

void AppendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
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
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis encoder refused the layout");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    // A fixed serial number: the same samples give the same bytes.
    ogg_stream_init(&stream, 0x5EED);

    std::string out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }

    // Every finished block goes out as packets, and full pages as they fill.
    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(out, page);
                }
            }
        }
    };
    const std::size_t frames = samples.size() / channels;
    constexpr std::size_t kChunk = 4096;
    for (std::size_t start = 0; start < frames; start += kChunk) {
        const std::size_t count = std::min(kChunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (std::size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                buffer[c][i] = samples[(start + i) * channels + c] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(out, page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
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
