#include "AssetGen_OggVorbisWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace AssetGen {
namespace {

// The library's encoder state, torn down in reverse order of set-up.
class VorbisEncoder {
public:
    VorbisEncoder() {
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

    bool Start(int channels, float quality, std::FILE* file) {
        if (vorbis_encode_init_vbr(&info_, channels, kSampleRate, quality) != 0) {
            return false;
        }
        vorbis_comment_add_tag(&comment_, "ENCODER", "Emberline assetgen");
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, 0x456d6265);
        started_ = true;
        file_ = file;

        ogg_packet header, commentHeader, codeHeader;
        vorbis_analysis_headerout(&dsp_, &comment_, &header, &commentHeader, &codeHeader);
        ogg_stream_packetin(&stream_, &header);
        ogg_stream_packetin(&stream_, &commentHeader);
        ogg_stream_packetin(&stream_, &codeHeader);
        // Audio starts on a fresh page, as decoders expect.
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            WritePage(page);
        }
        return ok_;
    }

    // Hands the frames [first, first + count) to the encoder; count 0 ends the stream.
    bool Write(const Pcm& pcm, std::size_t first, std::size_t count) {
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
        Drain();
        return ok_;
    }

private:
    void Drain() {
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) {
                    WritePage(page);
                }
            }
        }
    }

    void WritePage(const ogg_page& page) {
        ok_ = ok_ && std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file_) ==
                         static_cast<std::size_t>(page.header_len);
        ok_ = ok_ && std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file_) ==
                         static_cast<std::size_t>(page.body_len);
    }

    vorbis_info info_{};
    vorbis_comment comment_{};
    vorbis_dsp_state dsp_{};
    vorbis_block block_{};
    ogg_stream_state stream_{};
    std::FILE* file_ = nullptr;
    bool started_ = false;
    bool ok_ = true;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WriteOggVorbis(const Pcm& pcm, float quality, const std::string& path, std::string& error) {
    const std::string partial = path + ".part";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(partial.c_str(), "wb"));
    if (!file) {
        error = "cannot create " + partial;
        return false;
    }
    bool ok;
    {
        VorbisEncoder encoder;
        ok = encoder.Start(pcm.channels, quality, file.get());
        constexpr std::size_t kChunk = 4096;
        for (std::size_t first = 0; ok && first < pcm.Frames(); first += kChunk) {
            ok = encoder.Write(pcm, first, std::min(kChunk, pcm.Frames() - first));
        }
        ok = ok && encoder.Write(pcm, 0, 0);
    }
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace AssetGen
