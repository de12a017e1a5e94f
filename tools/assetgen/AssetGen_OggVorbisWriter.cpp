#include "AssetGen_OggVorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace AssetGen {
namespace {

// The library's encoder state, torn down in reverse order of set-up; pages
// are appended to `out` as they complete.
class VorbisEncoder {
public:
    explicit VorbisEncoder(std::string& out) : out_(out) {
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
    }
    ~VorbisEncoder() {
        if (started_) {
            ogg_stream_clear(&stream_);
            vorbis_block_clear(&block_);
            vorbis_dsp_clear(&dsp_);
        }
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    bool Start(int channels, int rate, float quality, const OggStreamLabel& label) {
        if (vorbis_encode_init_vbr(&info_, channels, rate, quality) != 0) {
            return false;
        }
        if (label.encoder != nullptr) {
            vorbis_comment_add_tag(&comment_, "ENCODER", label.encoder);
        }
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, label.serial);
        started_ = true;

        ogg_packet header, commentHeader, codeHeader;
        vorbis_analysis_headerout(&dsp_, &comment_, &header, &commentHeader, &codeHeader);
        ogg_stream_packetin(&stream_, &header);
        ogg_stream_packetin(&stream_, &commentHeader);
        ogg_stream_packetin(&stream_, &codeHeader);
        // Audio starts on a fresh page, as decoders expect.
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            Append(page);
        }
        return true;
    }

    // Hands the frames [first, first + count) to the encoder; count 0 ends the stream.
    void Write(const Pcm& pcm, std::size_t first, std::size_t count) {
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp_, static_cast<int>(count));
            const auto channels = static_cast<std::size_t>(pcm.channels);
            for (std::size_t i = 0; i < count; ++i) {
                for (std::size_t c = 0; c < channels; ++c) {
                    buffer[c][i] = pcm.samples[(first + i) * channels + c];
                }
            }
        }
        vorbis_analysis_wrote(&dsp_, static_cast<int>(count));
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) {
                    Append(page);
                }
            }
        }
    }

private:
    void Append(const ogg_page& page) {
        out_.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
        out_.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
    }

    std::string& out_;
    vorbis_info info_{};
    vorbis_comment comment_{};
    vorbis_dsp_state dsp_{};
    vorbis_block block_{};
    ogg_stream_state stream_{};
    bool started_ = false;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string EncodeOggVorbis(const Pcm& pcm, float quality, const OggStreamLabel& label) {
    std::string out;
    VorbisEncoder encoder(out);
    if (!encoder.Start(pcm.channels, pcm.rate, quality, label)) {
        return {};
    }
    constexpr std::size_t kChunk = 4096;
    for (std::size_t first = 0; first < pcm.Frames(); first += kChunk) {
        encoder.Write(pcm, first, std::min(kChunk, pcm.Frames() - first));
    }
    encoder.Write(pcm, 0, 0);
    return out;
}

bool WriteOggVorbis(const Pcm& pcm, float quality, const std::string& path, std::string& error) {
    const std::string bytes = EncodeOggVorbis(pcm, quality);
    if (bytes.empty()) {
        error = "the encoder refused " + path;
        return false;
    }
    const std::string partial = path + ".part";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(partial.c_str(), "wb"));
    if (!file) {
        error = "cannot create " + partial;
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace AssetGen
