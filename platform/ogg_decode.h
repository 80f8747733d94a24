// Ogg Vorbis music decoded as it plays. The encoded bytes are checked once
// at load and shared; every channel that plays them reads them through a
// decoder of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Checked Ogg Vorbis bytes. They are not copied: like every embedded file
// they must stay in place for as long as anything plays them.
struct OggSource {
    const unsigned char* bytes = nullptr;
    size_t length = 0;
    int rate = 44100;
    uint64_t frames = 0;  // stereo frames from start to end
};

// True when the bytes are whole Ogg pages of a Vorbis stream with sound in
// it; fills 'out'. Never throws.
bool InspectOgg(const unsigned char* bytes, size_t length, OggSource& out);

// Reads one pass of the stream in order as stereo float frames in -1..1.
class OggDecoder {
public:
    explicit OggDecoder(const OggSource& source);
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Writes up to 'frames' next frames into out (interleaved) and returns
    // how many: 0 only at the end of the pass. A pass is always exactly
    // source.frames long; data that breaks off early ends in silence.
    size_t Read(float* out, size_t frames);
    // Back to the first frame, for the next pass of a loop.
    void Rewind();

private:
    struct State;
    void Open();
    void Close();

    const OggSource source_;
    std::unique_ptr<State> state_;
    uint64_t done_ = 0;
};
