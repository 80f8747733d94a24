// Random changes to a picture or an Ogg stream almost always break a
// checksum, and the decoders stop right there. These put the checksums
// right again, so that the fuzzer's changes also reach the code behind them.
#pragma once

#include <ogg/ogg.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

inline uint32_t ReadBigEndian32(const unsigned char* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

// Each PNG chunk ends with the CRC-32 of its type and data.
inline void MendPngChecksums(std::vector<unsigned char>& bytes) {
    size_t at = 8;  // after the signature
    while (at <= bytes.size() && bytes.size() - at >= 12) {
        const size_t length = ReadBigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            return;
        }
        const uLong crc = crc32(0L, &bytes[at + 4], static_cast<uInt>(length + 4));
        unsigned char* out = &bytes[at + 8 + length];
        out[0] = static_cast<unsigned char>(crc >> 24);
        out[1] = static_cast<unsigned char>(crc >> 16);
        out[2] = static_cast<unsigned char>(crc >> 8);
        out[3] = static_cast<unsigned char>(crc);
        at += 12 + length;
    }
}

// Each Ogg page carries the CRC of the whole page in its header.
inline void MendOggChecksums(std::vector<unsigned char>& bytes) {
    constexpr size_t HEADER = 27;  // up to the segment count
    size_t at = 0;
    while (bytes.size() - at >= HEADER && std::memcmp(&bytes[at], "OggS", 4) == 0) {
        const size_t segments = bytes[at + 26];
        if (bytes.size() - at < HEADER + segments) {
            return;
        }
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) {
            body += bytes[at + HEADER + i];
        }
        const size_t header = HEADER + segments;
        if (bytes.size() - at - header < body) {
            return;
        }
        ogg_page page;
        page.header = &bytes[at];
        page.header_len = static_cast<long>(header);
        page.body = bytes.data() + at + header;
        page.body_len = static_cast<long>(body);
        ogg_page_checksum_set(&page);
        at += header + body;
    }
}
