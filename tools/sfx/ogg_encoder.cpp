#include "ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace sfx {

namespace {

// Owns the libvorbis and libogg encoder state for one file.
class Encoder {
public:
    Encoder() {
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
    }
    ~Encoder() {
        if (streamReady_) {
            ogg_stream_clear(&stream_);
        }
        if (dspReady_) {
            vorbis_block_clear(&block_);
            vorbis_dsp_clear(&dsp_);
        }
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Start(int sampleRate, float quality, int serial, const std::string& title) {
        if (vorbis_encode_init_vbr(&info_, 2, sampleRate, quality) != 0) {
            return false;
        }
        vorbis_comment_add_tag(&comment_, "TITLE", title.c_str());
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        dspReady_ = true;
        ogg_stream_init(&stream_, serial);
        streamReady_ = true;

        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
        ogg_stream_packetin(&stream_, &id);
        ogg_stream_packetin(&stream_, &comments);
        ogg_stream_packetin(&stream_, &codebooks);
        // The audio must start on a fresh page after the headers.
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            Keep(page);
        }
        return true;
    }

    void Feed(const Stereo& audio) {
        const size_t chunk = 1024;
        for (size_t at = 0; at < audio.size(); at += chunk) {
            const size_t n = std::min(chunk, audio.size() - at);
            float** buffer = vorbis_analysis_buffer(&dsp_, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                buffer[0][i] = static_cast<float>(audio.left[at + i]);
                buffer[1][i] = static_cast<float>(audio.right[at + i]);
            }
            vorbis_analysis_wrote(&dsp_, static_cast<int>(n));
            Drain();
        }
        vorbis_analysis_wrote(&dsp_, 0);  // end of stream
        Drain();
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            Keep(page);
        }
    }

    const std::vector<unsigned char>& Bytes() const { return bytes_; }

private:
    void Drain() {
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) {
                    Keep(page);
                }
            }
        }
    }

    void Keep(const ogg_page& page) {
        bytes_.insert(bytes_.end(), page.header, page.header + page.header_len);
        bytes_.insert(bytes_.end(), page.body, page.body + page.body_len);
    }

    vorbis_info info_;
    vorbis_comment comment_;
    vorbis_dsp_state dsp_;
    vorbis_block block_;
    ogg_stream_state stream_;
    bool dspReady_ = false;
    bool streamReady_ = false;
    std::vector<unsigned char> bytes_;
};

}  // namespace

bool WriteOggVorbis(const std::string& path, const Stereo& audio, int sampleRate, float quality,
                    int serial, const std::string& title) {
    Encoder encoder;
    if (!encoder.Start(sampleRate, quality, serial, title)) {
        return false;
    }
    encoder.Feed(audio);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::vector<unsigned char>& bytes = encoder.Bytes();
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace sfx
