// Ogg Vorbis files made in the tests, from given channels of samples.
#pragma once

#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Encodes the given channels (all the same length) as Ogg Vorbis.
inline Bytes EncodeOgg(const std::vector<std::vector<float>>& channels, int rate) {
    Bytes bytes;
    auto append = [&](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, static_cast<long>(channels.size()), rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return bytes;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                }
            }
        }
    };
    const size_t frames = channels[0].size();
    for (size_t at = 0; at < frames; at += 1024) {
        int count = static_cast<int>(std::min<size_t>(1024, frames - at));
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (size_t c = 0; c < channels.size(); ++c) {
            std::copy(channels[c].begin() + at, channels[c].begin() + at + count, buffer[c]);
        }
        vorbis_analysis_wrote(&dsp, count);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}
