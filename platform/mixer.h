// The audio mixer: any number of channels, each playing one sound with its
// own volume, mixed into stereo float frames at the output's rate. The game
// thread starts, pauses and stops channels while the audio thread mixes;
// one lock guards the channel table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ogg_decode.h"

class StreamWindow;

// Decoded audio, always stereo float frames in -1..1.
struct SoundData {
    int rate = 44100;
    std::vector<float> frames;  // interleaved left, right
    size_t FrameCount() const { return frames.size() / 2; }
};

// A sound is either decoded whole (the short effects) or streamed: decoded
// as it plays, by each channel on its own (the music).
struct Sound {
    std::string name;
    bool loop = false;
    std::shared_ptr<const SoundData> data;
    std::shared_ptr<const OggSource> stream;
    int Rate() const;
    uint64_t FrameCount() const;
};

// Decoders for the embedded formats, the whole sound at once; false for
// damaged data, never throws.
bool DecodeWav(const unsigned char* bytes, size_t length, SoundData& out);
bool DecodeOgg(const unsigned char* bytes, size_t length, SoundData& out);

class Mixer {
public:
    Mixer();
    ~Mixer();
    int64_t Cue(const Sound& sound);  // new paused channel at the sound's start
    void Resume(int64_t channel);
    void Pause(int64_t channel);
    void Stop(int64_t channel);
    void SetVolume(int64_t channel, float volume);
    bool Playing(int64_t channel);
    // Stops every channel that plays this sound's data.
    void StopSound(const Sound& sound);
    // Adds 'count' stereo frames at 'rate' Hz into out (interleaved), which
    // the caller has zeroed. Finished channels are dropped. Streamed sounds
    // are decoded here, a bounded amount per channel and call: what the
    // block needs and a top-up of the window ahead.
    void Mix(float* out, int count, int rate);
    size_t ChannelCount();
    // Ends every channel at once, without a fade.
    void Clear();

private:
    struct Voice {
        std::shared_ptr<const SoundData> data;
        std::shared_ptr<const OggSource> stream;
        std::unique_ptr<StreamWindow> window;  // the streamed frames around position
        uint64_t passes = 0;                   // of a streamed loop, for the frame numbers
        bool loop = false;
        bool paused = true;
        float volume = 1.0f;
        float gain = 0.0f;      // ramps toward volume (or 0 when paused) to avoid clicks
        double position = 0;    // in source frames
        bool stopping = false;  // ramping out before removal
    };
    std::mutex lock_;
    std::map<int64_t, Voice> voices_;
    int64_t nextChannel_ = 1;
};

Mixer& TheMixer();
