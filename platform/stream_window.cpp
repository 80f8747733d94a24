#include "platform/stream_window.h"

#include <algorithm>

StreamWindow::StreamWindow(const OggSource& source, bool loop)
    : decoder_(source), passFrames_(source.frames), loop_(loop), ring_(2 * RING, 0.0f) {
    // Made on the game's thread, so the audio thread starts with a full window.
    FillAhead(0);
}

bool StreamWindow::DecodeMore() {
    uint64_t free = RING - (end_ - begin_);
    // The ring is written up to its wrap point at most, so every read lands
    // in one run of memory.
    uint64_t slot = end_ & (RING - 1);
    uint64_t room = std::min(free, RING - slot);
    if (room == 0) {
        return false;
    }
    size_t got = decoder_.Read(ring_.data() + 2 * slot, static_cast<size_t>(room));
    if (got == 0) {
        if (!loop_ || passFrames_ == 0) {
            return false;
        }
        // The next pass follows on the very next frame.
        decoder_.Rewind();
        got = decoder_.Read(ring_.data() + 2 * slot, static_cast<size_t>(room));
    }
    end_ += got;
    return got > 0;
}

const float* StreamWindow::Frame(uint64_t index, uint64_t keepFrom) {
    while (index >= end_) {
        begin_ = std::max(begin_, std::min(keepFrom, end_));
        if (!DecodeMore()) {
            break;
        }
    }
    begin_ = std::max(begin_, std::min(keepFrom, end_));
    if (index >= end_ || index < begin_) {
        static const float silence[2] = {0.0f, 0.0f};
        return silence;  // past a one-shot's end: never asked for by the mixer
    }
    return ring_.data() + 2 * (index & (RING - 1));
}

void StreamWindow::FillAhead(uint64_t from) {
    do {
        begin_ = std::max(begin_, std::min(from, end_));
    } while (end_ < from + AHEAD && DecodeMore());
}
