// RIFF/WAVE reader for the sound effects: uncompressed PCM, 8-bit unsigned
// or 16-bit signed, mono or stereo, at any rate. Every size read from the
// file is checked against the bytes actually there.
#include <cstdint>
#include <utility>

#include "platform/mixer.h"

namespace {

uint32_t Read32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Read16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool Tag(const unsigned char* p, const char* tag) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

float Sample(const unsigned char* p, int bits) {
    if (bits == 8) {
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    }
    return static_cast<int16_t>(Read16(p)) / 32768.0f;
}

}  // namespace

bool DecodeWav(const unsigned char* bytes, size_t length, SoundData& out) {
    if (bytes == nullptr || length < 12 || !Tag(bytes, "RIFF") || !Tag(bytes + 8, "WAVE")) {
        return false;
    }

    const unsigned char* format = nullptr;
    const unsigned char* data = nullptr;
    size_t dataSize = 0;
    size_t at = 12;
    while (length - at >= 8) {
        const unsigned char* chunk = bytes + at;
        size_t size = Read32(chunk + 4);
        if (size > length - at - 8) {
            return false;  // the chunk runs past the end of the file
        }
        if (Tag(chunk, "fmt ") && format == nullptr) {
            if (size < 16) {
                return false;
            }
            format = chunk + 8;
        } else if (Tag(chunk, "data") && data == nullptr) {
            data = chunk + 8;
            dataSize = size;
        }
        at += 8 + size;
        // Chunks are word aligned; the pad byte may be missing at the very end.
        if (size % 2 == 1 && at < length) {
            ++at;
        }
    }
    if (format == nullptr || data == nullptr) {
        return false;
    }

    const int encoding = Read16(format);
    const int channels = Read16(format + 2);
    const uint32_t rate = Read32(format + 4);
    const int blockAlign = Read16(format + 12);
    const int bits = Read16(format + 14);
    if (encoding != 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
        rate == 0 || rate > INT32_MAX || blockAlign != channels * bits / 8) {
        return false;
    }

    // A partial frame at the end of the data is left out.
    const size_t frames = dataSize / blockAlign;
    const int step = bits / 8;
    SoundData result;
    result.rate = static_cast<int>(rate);
    result.frames.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* frame = data + i * blockAlign;
        float left = Sample(frame, bits);
        float right = channels == 2 ? Sample(frame + step, bits) : left;
        result.frames[2 * i] = left;
        result.frames[2 * i + 1] = right;
    }
    out = std::move(result);
    return true;
}
