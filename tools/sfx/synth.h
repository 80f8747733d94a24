// Building blocks for the game's sounds: noise, oscillators, envelopes and filters.
#pragma once

#include <cstdint>

namespace sfx {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Pitch of a MIDI note number (69 is A4 at 440 Hz); fractions bend the pitch.
double MidiToHz(double note);

// A fixed-seed noise source, so every explosion and hi-hat comes out the same on each run.
class Noise {
public:
    explicit Noise(uint64_t seed);
    uint64_t NextBits();
    // Uniform in [-1, 1).
    double White();

private:
    uint64_t state_;
};

// A phase-accumulating oscillator. Saw and pulse are smoothed with PolyBLEP so that high notes
// do not alias into harsh whistles.
class Oscillator {
public:
    enum class Shape { kSine, kTriangle, kSaw, kPulse };

    Oscillator(Shape shape, double sampleRate, double startPhase = 0.0);
    void SetPulseWidth(double width) { pulseWidth_ = width; }
    // One sample at the given frequency; the frequency may change every sample.
    double Next(double hz);

private:
    Shape shape_;
    double sampleRate_;
    double phase_;
    double pulseWidth_ = 0.5;
};

// A sum of sine harmonics with a 1/k^rolloff spectrum, cut off below maxHz. Used at the low
// sample rates of the effects, where every harmonic must stay under the Nyquist limit.
class HarmonicOscillator {
public:
    HarmonicOscillator(double sampleRate, double maxHz, double rolloff, bool oddOnly);
    double Next(double hz);

private:
    double sampleRate_;
    double maxHz_;
    double rolloff_;
    bool oddOnly_;
    double phase_ = 0.0;
};

// Attack, decay, sustain, release. The attack is linear, the decay exponential towards the
// sustain level, and the release falls to exactly zero so a note never ends with a step.
struct Adsr {
    double attack;
    double decay;  // time constant of the fall to the sustain level
    double sustain;
    double release;  // length of the fall to silence after the gate closes

    double At(double t, double gateLength) const;
    double Length(double gateLength) const { return gateLength + release; }
};

// Linear rise over attack seconds, then exponential fall with time constant tau.
double Pluck(double t, double attack, double tau);

// Zero-delay-feedback state-variable filter (Simper's form). It stays stable while the cutoff
// sweeps every sample, which the explosions and the bass rely on.
class Svf {
public:
    struct Out {
        double low;
        double band;
        double high;
    };

    explicit Svf(double sampleRate) : sampleRate_(sampleRate) {}
    void Set(double cutoffHz, double q);
    Out Process(double x);

private:
    double sampleRate_;
    double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, k_ = 1.0;
    double ic1_ = 0.0, ic2_ = 0.0;
};

// One-pole low-pass; the high-pass output is the input minus the low-pass.
class OnePole {
public:
    explicit OnePole(double sampleRate) : sampleRate_(sampleRate) {}
    void Set(double cutoffHz);
    double Low(double x);
    double High(double x) { return x - Low(x); }

private:
    double sampleRate_;
    double coeff_ = 1.0;
    double state_ = 0.0;
};

}  // namespace sfx
