// A channel's view of streamed music: the decoded frames from its play
// position to a fraction of a second ahead, in a ring that is refilled as
// the position moves on. Frames are numbered from the channel's start and
// keep counting across the passes of a loop.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ogg_decode.h"

class StreamWindow {
public:
    StreamWindow(const OggSource& source, bool loop);

    // The frame with this number (interleaved left, right). Frames before
    // 'keepFrom' are no longer needed; 'index' must not lie before it.
    const float* Frame(uint64_t index, uint64_t keepFrom);
    // Decodes ahead of 'from' until the ring holds AHEAD frames past it or
    // is full: at most one ring's worth of work.
    void FillAhead(uint64_t from);
    // One past the last frame decoded so far.
    uint64_t DecodedEnd() const { return end_; }

    static constexpr uint64_t RING = 16384;  // frames, a power of two
    static constexpr uint64_t AHEAD = 8192;  // about 0.19 s at 44.1 kHz

private:
    // Decodes the next piece into the ring; false when nothing more comes.
    bool DecodeMore();

    OggDecoder decoder_;
    uint64_t passFrames_;
    bool loop_;
    std::vector<float> ring_;
    uint64_t begin_ = 0;  // first frame held
    uint64_t end_ = 0;    // one past the last frame held
};
