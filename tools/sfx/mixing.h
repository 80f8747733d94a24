// Sample buffers and the steps that combine and finish them: panning, echo, reverb, fades and
// level. The music is a loop, so its mixing wraps around the end of the buffer.
#pragma once

#include <cstddef>
#include <vector>

namespace sfx {

using Signal = std::vector<double>;

struct Stereo {
    Signal left;
    Signal right;

    explicit Stereo(size_t length) : left(length, 0.0), right(length, 0.0) {}
    size_t size() const { return left.size(); }
};

// Constant-power pan: -1 is hard left, 0 the centre, +1 hard right.
struct Pan {
    double left;
    double right;
};
Pan PanGains(double position);

// Adds a mono sound at a sample offset, panned; what runs past the end wraps to the start, so
// a note ringing over the end of the loop carries on at its beginning.
void AddWrapped(Stereo& mix, size_t start, const Signal& sound, double gain, double pan);

// Feedback echo bouncing between the two sides, with darker repeats. Run over the loop twice so
// the echoes of the last bar are already sounding when the loop begins again.
void AddLoopedEcho(const Stereo& send, Stereo& mix, size_t delay, double feedback, double damping);

// A small room: parallel damped combs into series all-passes, per side, also run twice round
// the loop so the tail wraps cleanly.
void AddLoopedReverb(const Stereo& send, Stereo& mix, double sampleRate, double decay, double wet);

double Peak(const Signal& s);
double Peak(const Stereo& s);
void Scale(Signal& s, double gain);
void Scale(Stereo& s, double gain);
// Scales so the loudest sample sits at the given level (1.0 is full scale).
void NormalisePeak(Signal& s, double peak);
void NormalisePeak(Stereo& s, double peak);

// Short raised-cosine fades at both ends, so an effect starts and stops without a click.
void FadeEdges(Signal& s, double sampleRate, double fadeInSeconds, double fadeOutSeconds);

// Gentle saturation that rounds off peaks instead of clipping them.
void SoftClip(Signal& s, double drive);

}  // namespace sfx
