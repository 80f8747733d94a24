// Ogg Vorbis reader for the music: libvorbisfile decodes from the embedded
// bytes through a small in-memory cursor, and the result is made stereo.
// The bytes are checked once when the music is loaded; each channel that
// plays it then decodes them with a decoder of its own, a little at a time.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include "platform/ogg_decode.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
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

ov_callbacks SeekableCallbacks() {
    return ov_callbacks{CursorRead, CursorSeek, CursorClose, CursorTell};
}

// Without a seek function vorbisfile reads straight through and skips its
// search for the stream's end, which only the load check needs.
ov_callbacks StraightCallbacks() {
    return ov_callbacks{CursorRead, nullptr, CursorClose, nullptr};
}

}  // namespace

bool InspectOgg(const unsigned char* bytes, size_t length, OggSource& out) {
    if (bytes == nullptr || length == 0 || !WholePages(bytes, length)) {
        return false;
    }
    Cursor cursor{bytes, length, 0};
    OggVorbis_File file{};
    if (ov_open_callbacks(&cursor, &file, nullptr, 0, SeekableCallbacks()) != 0) {
        return false;  // a failed open has already cleared the file
    }
    vorbis_info* info = ov_info(&file, -1);
    ogg_int64_t frames = ov_pcm_total(&file, -1);
    // A rate beyond 32 bits cannot be played; taken anyway it would wrap to a
    // negative rate and the sound would end at once, looped or not.
    bool ok = info != nullptr && info->rate > 0 && info->rate <= INT32_MAX && info->channels > 0 &&
              frames > 0;
    if (ok) {
        // The first packet must decode to sound, or the stream is no use.
        float** pcm = nullptr;
        int link = 0;
        ok = ov_read_float(&file, &pcm, 1, &link) > 0;
    }
    if (ok) {
        out = OggSource{bytes, length, static_cast<int>(info->rate), static_cast<uint64_t>(frames)};
    }
    ov_clear(&file);
    return ok;
}

struct OggDecoder::State {
    Cursor cursor{};
    OggVorbis_File file{};
    bool open = false;
};

OggDecoder::OggDecoder(const OggSource& source) : source_(source), state_(new State) {
    Open();
}

OggDecoder::~OggDecoder() {
    Close();
}

void OggDecoder::Open() {
    state_->cursor = Cursor{source_.bytes, source_.length, 0};
    state_->file = OggVorbis_File{};
    state_->open =
        ov_open_callbacks(&state_->cursor, &state_->file, nullptr, 0, StraightCallbacks()) == 0;
    done_ = 0;
}

void OggDecoder::Close() {
    if (state_->open) {
        ov_clear(&state_->file);
        state_->open = false;
    }
}

void OggDecoder::Rewind() {
    Close();
    Open();
}

size_t OggDecoder::Read(float* out, size_t frames) {
    frames = static_cast<size_t>(std::min<uint64_t>(frames, source_.frames - done_));
    size_t got = 0;
    while (got < frames && state_->open) {
        float** pcm = nullptr;
        int link = 0;
        int wanted = static_cast<int>(std::min<size_t>(frames - got, 4096));
        long read = ov_read_float(&state_->file, &pcm, wanted, &link);
        if (read == OV_HOLE) {
            continue;  // a gap in the data: carry on after it
        }
        vorbis_info* info = ov_info(&state_->file, link);
        if (read <= 0 || info == nullptr || info->channels < 1) {
            Close();  // the data ends early or is damaged: silence from here
            break;
        }
        // Mono is heard on both sides; beyond two channels only the first two.
        const float* left = pcm[0];
        const float* right = info->channels > 1 ? pcm[1] : pcm[0];
        for (long i = 0; i < read; ++i) {
            out[2 * got] = std::clamp(left[i], -1.0f, 1.0f);
            out[2 * got + 1] = std::clamp(right[i], -1.0f, 1.0f);
            ++got;
        }
    }
    // Whatever the data fell short of the stream's length is silence.
    std::fill(out + 2 * got, out + 2 * frames, 0.0f);
    done_ += frames;
    return frames;
}

bool DecodeOgg(const unsigned char* bytes, size_t length, SoundData& out) {
    OggSource source;
    if (!InspectOgg(bytes, length, source)) {
        return false;
    }
    SoundData result;
    result.rate = source.rate;
    result.frames.resize(static_cast<size_t>(source.frames) * 2);
    OggDecoder decoder(source);
    size_t at = 0;
    while (at < source.frames) {
        at += decoder.Read(result.frames.data() + 2 * at, source.frames - at);
    }
    out = std::move(result);
    return true;
}
