// The channel table and the mixing arithmetic.
//
// Every change of a channel's loudness (start, pause, resume, stop, new
// volume) moves its gain in a straight line at kRampSeconds per unit of
// gain, so nothing clicks. A paused channel keeps playing while it fades
// out and only then holds its position, so after a resume it carries on at
// most one ramp (about 4 ms of output) past the point where it was paused.
// A stopped channel is no longer playing at once but fades out the same way
// before it leaves the table. ChannelCount() counts every entry still in the
// table, fading ones included.
//
// A streamed sound plays sample for sample like the same sound decoded
// whole: the arithmetic is shared and only where the frames come from
// differs.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/stream_window.h"

int Sound::Rate() const {
    return data ? data->rate : stream ? stream->rate : 0;
}

uint64_t Sound::FrameCount() const {
    return data ? data->FrameCount() : stream ? stream->frames : 0;
}

Mixer::Mixer() = default;
Mixer::~Mixer() = default;

namespace {

constexpr double kRampSeconds = 0.004;

// Moves gain one step toward target, landing on it exactly.
float StepGain(float gain, float target, float step) {
    if (std::fabs(target - gain) <= step) {
        return target;
    }
    return gain < target ? gain + step : gain - step;
}

float CleanVolume(float volume) {
    // NaN and negative volumes are silence.
    return volume > 0.0f ? volume : 0.0f;
}

}  // namespace

int64_t Mixer::Cue(const Sound& sound) {
    // The decoder opens and fills its window before the lock is taken, so
    // the audio thread never waits for it.
    std::unique_ptr<StreamWindow> window;
    if (sound.stream) {
        window = std::make_unique<StreamWindow>(*sound.stream, sound.loop);
    }
    std::lock_guard<std::mutex> guard(lock_);
    int64_t channel = nextChannel_++;
    Voice& voice = voices_[channel];
    voice.data = sound.data;
    voice.stream = sound.stream;
    voice.window = std::move(window);
    voice.loop = sound.loop;
    return channel;
}

void Mixer::Resume(int64_t channel) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = voices_.find(channel);
    if (it != voices_.end() && !it->second.stopping) {
        it->second.paused = false;
    }
}

void Mixer::Pause(int64_t channel) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = voices_.find(channel);
    if (it != voices_.end() && !it->second.stopping) {
        it->second.paused = true;
    }
}

void Mixer::Stop(int64_t channel) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = voices_.find(channel);
    if (it == voices_.end()) {
        return;
    }
    if (it->second.gain == 0.0f) {
        // Already silent: nothing to fade out.
        voices_.erase(it);
    } else {
        it->second.stopping = true;
    }
}

void Mixer::SetVolume(int64_t channel, float volume) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = voices_.find(channel);
    if (it != voices_.end() && !it->second.stopping) {
        it->second.volume = CleanVolume(volume);
    }
}

bool Mixer::Playing(int64_t channel) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = voices_.find(channel);
    return it != voices_.end() && !it->second.stopping;
}

void Mixer::StopSound(const Sound& sound) {
    if (!sound.data && !sound.stream) {
        return;
    }
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = voices_.begin(); it != voices_.end();) {
        if (it->second.data != sound.data || it->second.stream != sound.stream) {
            ++it;
        } else if (it->second.gain == 0.0f) {
            it = voices_.erase(it);
        } else {
            it->second.stopping = true;
            ++it;
        }
    }
}

void Mixer::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    voices_.clear();
}

size_t Mixer::ChannelCount() {
    std::lock_guard<std::mutex> guard(lock_);
    return voices_.size();
}

namespace {

// Above this level the sum of the channels is bent smoothly toward full
// scale instead of being cut off, so loud overlaps do not crackle.
constexpr float LIMITER_KNEE = 0.8f;

float Limit(float sample) {
    float level = std::fabs(sample);
    if (!(level > LIMITER_KNEE)) {
        return std::isnan(sample) ? 0.0f : sample;
    }
    float headroom = 1.0f - LIMITER_KNEE;
    float bent = LIMITER_KNEE + headroom * std::tanh((level - LIMITER_KNEE) / headroom);
    return std::copysign(bent, sample);
}

// Where a voice's frames come from: a sound decoded whole.
struct WholeFrames {
    const float* src;
    const float* Frame(size_t index) const { return src + 2 * index; }
    const float* Next(size_t, size_t next) const { return src + 2 * next; }
    void Wrapped(double) {}
};

// A streamed sound: frames are numbered on across the passes of a loop, so
// the frame after a loop's last is the next pass's first.
struct StreamedFrames {
    StreamWindow& window;
    uint64_t& passes;
    uint64_t length;
    uint64_t Base() const { return passes * length; }
    const float* Frame(size_t index) const { return window.Frame(Base() + index, Base() + index); }
    const float* Next(size_t index, size_t next) const {
        uint64_t step = next != index ? 1 : 0;
        return window.Frame(Base() + index + step, Base() + index);
    }
    void Wrapped(double passesDone) { passes += static_cast<uint64_t>(passesDone); }
};

// Adds up to 'count' frames of one voice into out. Returns false once the
// voice is finished: its sound ended, or it faded out after a stop.
template <typename Frames>
bool MixVoice(float* out, int count, int rate, size_t frames, int sourceRate, Frames& source,
              bool loop, bool silent, float volume, float& gain, double& position) {
    if (frames == 0 || sourceRate <= 0) {
        return false;
    }
    const float target = silent ? 0.0f : volume;
    const float gainStep = static_cast<float>(1.0 / (kRampSeconds * rate));
    const double advance = static_cast<double>(sourceRate) / rate;
    const double length = static_cast<double>(frames);

    for (int i = 0; i < count; ++i) {
        if (silent && gain == 0.0f) {
            // Faded out: a paused voice holds its place, a stopped one is done.
            // A voice merely turned down to nothing plays on.
            return true;
        }
        gain = StepGain(gain, target, gainStep);

        size_t index = static_cast<size_t>(position);
        float frac = static_cast<float>(position - static_cast<double>(index));
        size_t next = index + 1;
        if (next >= frames) {
            // A loop blends into its first frame; a one-shot holds its last.
            next = loop ? 0 : index;
        }
        const float* a = source.Frame(index);
        const float* b = source.Next(index, next);
        out[2 * i] += gain * (a[0] + (b[0] - a[0]) * frac);
        out[2 * i + 1] += gain * (a[1] + (b[1] - a[1]) * frac);

        position += advance;
        if (position >= length) {
            if (!loop) {
                return false;
            }
            source.Wrapped(std::floor(position / length));
            position = std::fmod(position, length);
        }
    }
    return true;
}

bool MixWhole(float* out, int count, int rate, const SoundData& data, bool loop, bool silent,
              float volume, float& gain, double& position) {
    WholeFrames source{data.frames.data()};
    return MixVoice(out, count, rate, data.FrameCount(), data.rate, source, loop, silent, volume,
                    gain, position);
}

bool MixStreamed(float* out, int count, int rate, const OggSource& stream, StreamWindow& window,
                 uint64_t& passes, bool loop, bool silent, float volume, float& gain,
                 double& position) {
    StreamedFrames source{window, passes, stream.frames};
    bool alive = MixVoice(out, count, rate, static_cast<size_t>(stream.frames), stream.rate, source,
                          loop, silent, volume, gain, position);
    if (alive && !(silent && gain == 0.0f)) {
        // Keep a fraction of a second decoded ahead of where the next block starts.
        window.FillAhead(source.Base() + static_cast<uint64_t>(position));
    }
    return alive;
}

}  // namespace

void Mixer::Mix(float* out, int count, int rate) {
    if (out == nullptr || count <= 0 || rate <= 0) {
        return;
    }
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = voices_.begin(); it != voices_.end();) {
        Voice& voice = it->second;
        const bool silent = voice.paused || voice.stopping;
        bool alive = false;
        if (voice.data) {
            alive = MixWhole(out, count, rate, *voice.data, voice.loop, silent, voice.volume,
                             voice.gain, voice.position);
        } else if (voice.stream && voice.window) {
            alive = MixStreamed(out, count, rate, *voice.stream, *voice.window, voice.passes,
                                voice.loop, silent, voice.volume, voice.gain, voice.position);
        }
        if (alive && voice.stopping && voice.gain == 0.0f) {
            alive = false;
        }
        it = alive ? std::next(it) : voices_.erase(it);
    }
    for (int i = 0; i < 2 * count; ++i) {
        out[i] = Limit(out[i]);
    }
}

Mixer& TheMixer() {
    static Mixer mixer;
    return mixer;
}
