// Ogg Vorbis reader for the music: libvorbisfile decodes from the embedded
// bytes through a small in-memory cursor, and the result is made stereo.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/mixer.h"

namespace {

struct Cursor {
    const unsigned char* bytes;
    size_t length;
    size_t at;
};

size_t CursorRead(void* target, size_t size, size_t count, void* source) {
    Cursor& cursor = *static_cast<Cursor*>(source);
    if (size == 0) {
        return 0;
    }
    size_t items = std::min(count, (cursor.length - cursor.at) / size);
    std::memcpy(target, cursor.bytes + cursor.at, items * size);
    cursor.at += items * size;
    return items;
}

int CursorSeek(void* source, ogg_int64_t offset, int whence) {
    Cursor& cursor = *static_cast<Cursor*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<ogg_int64_t>(cursor.at);
    } else if (whence == SEEK_END) {
        base = static_cast<ogg_int64_t>(cursor.length);
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if (offset < -base || offset > static_cast<ogg_int64_t>(cursor.length) - base) {
        return -1;
    }
    cursor.at = static_cast<size_t>(base + offset);
    return 0;
}

long CursorTell(void* source) {
    return static_cast<long>(static_cast<Cursor*>(source)->at);
}

int CursorClose(void*) {
    return 0;  // the bytes belong to the caller
}

// Vorbisfile reads a cut-off stream without complaint, so check that the
// bytes are whole Ogg pages from start to end and the last one closes the
// stream.
bool WholePages(const unsigned char* bytes, size_t length) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(length));
    bool whole = buffer != nullptr;
    if (whole) {
        std::memcpy(buffer, bytes, length);
        ogg_sync_wrote(&sync, static_cast<long>(length));
    }
    size_t used = 0;
    bool ended = false;
    ogg_page page;
    int result;
    while (whole && (result = ogg_sync_pageout(&sync, &page)) != 0) {
        if (result < 0) {
            whole = false;  // bytes that are not part of a page
            break;
        }
        used += static_cast<size_t>(page.header_len + page.body_len);
        ended = ogg_page_eos(&page) != 0;
    }
    ogg_sync_clear(&sync);
    return whole && ended && used == length;
}

}  // namespace

bool DecodeOgg(const unsigned char* bytes, size_t length, SoundData& out) {
    if (bytes == nullptr || length == 0 || !WholePages(bytes, length)) {
        return false;
    }
    Cursor cursor{bytes, length, 0};
    ov_callbacks callbacks{CursorRead, CursorSeek, CursorClose, CursorTell};
    OggVorbis_File file{};
    SoundData result;
    bool ok = ov_open_callbacks(&cursor, &file, nullptr, 0, callbacks) == 0;
    if (ok) {
        vorbis_info* info = ov_info(&file, -1);
        // A rate beyond 32 bits cannot be played; taken anyway it would wrap
        // to a negative rate and the sound would end at once, looped or not.
        ok = info != nullptr && info->rate > 0 && info->rate <= INT32_MAX && info->channels > 0;
        if (ok) {
            result.rate = static_cast<int>(info->rate);
        }
    }
    while (ok) {
        float** pcm = nullptr;
        int link = 0;
        long got = ov_read_float(&file, &pcm, 4096, &link);
        if (got == 0) {
            break;
        }
        vorbis_info* info = ov_info(&file, link);
        if (got < 0 || info == nullptr || info->channels < 1) {
            ok = false;
            break;
        }
        // Mono is heard on both sides; beyond two channels only the first two.
        const float* left = pcm[0];
        const float* right = info->channels > 1 ? pcm[1] : pcm[0];
        for (long i = 0; i < got; ++i) {
            result.frames.push_back(std::clamp(left[i], -1.0f, 1.0f));
            result.frames.push_back(std::clamp(right[i], -1.0f, 1.0f));
        }
    }
    // A failed open has already cleared the file, and clearing twice is safe.
    ov_clear(&file);
    // A stream without a single sample is no use as a sound.
    if (!ok || result.frames.empty()) {
        return false;
    }
    out = std::move(result);
    return true;
}
