#include "sound_effects.h"

#include <cmath>

#include "synth.h"

namespace sfx {

namespace {

double Seconds(size_t i, double rate) {
    return static_cast<double>(i) / rate;
}

// A falling random level that jumps to a new value at holdHz; as the rate drops the grit of
// an explosion sounds as if it were pitched down.
class SampleAndHold {
public:
    SampleAndHold(double sampleRate, Noise& noise) : sampleRate_(sampleRate), noise_(noise) {}
    double Next(double holdHz) {
        phase_ += holdHz / sampleRate_;
        if (phase_ >= 1.0) {
            phase_ -= std::floor(phase_);
            value_ = noise_.White();
        }
        return value_;
    }

private:
    double sampleRate_;
    Noise& noise_;
    double phase_ = 1.0;
    double value_ = 0.0;
};

// A smooth random wobble between -1 and 1, used to make a rumble uneven.
class Wobble {
public:
    Wobble(double sampleRate, double hz, Noise& noise)
        : step_(hz / sampleRate), noise_(noise), from_(noise.White()), to_(noise.White()) {}
    double Next() {
        phase_ += step_;
        if (phase_ >= 1.0) {
            phase_ -= 1.0;
            from_ = to_;
            to_ = noise_.White();
        }
        const double s = 0.5 - 0.5 * std::cos(kPi * phase_);
        return from_ + (to_ - from_) * s;
    }

private:
    double step_;
    Noise& noise_;
    double from_;
    double to_;
    double phase_ = 0.0;
};

}  // namespace

Signal MakeFire() {
    const double rate = kFireRate;
    Signal out(5292, 0.0);  // 0.48 s
    HarmonicOscillator body(rate, 4600.0, 1.5, false);
    Oscillator under(Oscillator::Shape::kSine, rate);
    Noise noise(0x0F12E5EEDull);
    OnePole clickFilter(rate);
    clickFilter.Set(2500.0);
    Svf soften(rate);

    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i, rate);
        // Most of the fall happens in the first tenth of a second: that is the "pew".
        const double hz = 240.0 + 1500.0 * std::exp(-t / 0.045);
        const double tone = body.Next(hz) * 0.55 + under.Next(hz * 0.5) * 0.35;
        const double click = clickFilter.High(noise.White()) * std::exp(-t / 0.003) * 0.3;
        // The top end closes as the pitch falls, so the tail is round rather than buzzy.
        soften.Set(hz * 2.5 + 500.0, 0.8);
        const double v = soften.Process(tone).low * Pluck(t, 0.0015, 0.06);
        out[i] = v + click;
    }

    // A faint echo fills the rest of the sound without adding any bite.
    const size_t delay = static_cast<size_t>(0.085 * rate);
    OnePole darken(rate);
    darken.Set(1800.0);
    for (size_t i = delay; i < out.size(); ++i) {
        out[i] += darken.Low(out[i - delay]) * 0.3;
    }

    NormalisePeak(out, 0.6);
    FadeEdges(out, rate, 0.001, 0.03);
    return out;
}

Signal MakeAlienExplosion() {
    const double rate = kAlienExplosionRate;
    Signal out(4741, 0.0);  // 0.43 s
    Noise noise(0xA11E2B0Bull);
    Svf hiss(rate);
    SampleAndHold grit(rate, noise);
    OnePole gritFilter(rate);
    gritFilter.Set(3200.0);
    Oscillator thump(Oscillator::Shape::kSine, rate);

    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i, rate);
        hiss.Set(260.0 + 5000.0 * std::exp(-t / 0.06), 0.9);
        const double burst = hiss.Process(noise.White()).low;
        const double crunch = gritFilter.Low(grit.Next(90.0 + 2600.0 * std::exp(-t / 0.08)));
        const double kick = thump.Next(48.0 + 170.0 * std::exp(-t / 0.04)) * std::exp(-t / 0.07);
        // A short full-level hold before the decay gives the burst its punch.
        const double env = t < 0.02 ? Pluck(t, 0.0015, 1.0) : std::exp(-(t - 0.02) / 0.1);
        out[i] = (burst * 1.0 + crunch * 0.7) * env + kick * 0.75;
    }

    NormalisePeak(out, 1.0);
    SoftClip(out, 1.8);
    NormalisePeak(out, 0.85);
    FadeEdges(out, rate, 0.001, 0.03);
    return out;
}

Signal MakeShipExplosion() {
    const double rate = kShipExplosionRate;
    Signal out(7280, 0.0);  // 0.91 s
    Noise noise(0x5111B0DEull);
    Svf body(rate);
    OnePole crackFilter(rate);
    crackFilter.Set(1200.0);
    SampleAndHold grit(rate, noise);
    Oscillator thump(Oscillator::Shape::kSine, rate);
    Wobble rumble(rate, 14.0, noise);

    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i, rate);
        const double white = noise.White();
        // A resonant low-pass closing slowly turns the roar into a low rumble.
        body.Set(110.0 + 2600.0 * std::exp(-t / 0.16), 1.6);
        const double roar = body.Process(white).low;
        const double crack = crackFilter.High(white) * std::exp(-t / 0.03);
        const double crunch = grit.Next(80.0 + 1400.0 * std::exp(-t / 0.18));
        const double boom = thump.Next(32.0 + 95.0 * std::exp(-t / 0.1)) * std::exp(-t / 0.3);
        // Two late bursts of debris make it sound bigger than one bang.
        const double debris =
            Pluck(t - 0.13, 0.003, 0.05) * 0.6 + Pluck(t - 0.27, 0.003, 0.06) * 0.45;
        const double env = t < 0.04 ? Pluck(t, 0.002, 1.0) : std::exp(-(t - 0.04) / 0.27);
        const double shake = 1.0 + 0.35 * rumble.Next();
        out[i] = (roar * (1.0 + debris) + crunch * 0.3) * env * shake + crack * 0.55 + boom * 0.8;
    }

    NormalisePeak(out, 1.0);
    SoftClip(out, 1.6);
    NormalisePeak(out, 0.9);
    FadeEdges(out, rate, 0.002, 0.08);
    return out;
}

Signal MakeLife() {
    const double rate = kLifeRate;
    Signal out(6480, 0.0);  // 0.81 s
    // C major, rising through two octaves, then a held C major chord on top.
    const double arpeggio[] = {72, 76, 79, 84, 88, 91};
    const double noteGap = 0.068;
    const double chordStart = noteGap * 6;

    for (size_t n = 0; n < 6; ++n) {
        HarmonicOscillator voice(rate, 3700.0, 1.0, true);
        Oscillator sparkle(Oscillator::Shape::kSine, rate);
        const double hz = MidiToHz(arpeggio[n]);
        const size_t start = static_cast<size_t>(noteGap * n * rate);
        const double length = 0.26;
        for (size_t i = 0; start + i < out.size() && Seconds(i, rate) < length; ++i) {
            const double t = Seconds(i, rate);
            const double tail = 1.0 - t / length;
            const double env = Pluck(t, 0.003, 0.08) * tail * tail;
            out[start + i] += (voice.Next(hz) * 0.5 + sparkle.Next(hz * 2.0) * 0.15) * env;
        }
    }

    const double chord[] = {84, 88, 91, 96};
    const size_t chordAt = static_cast<size_t>(chordStart * rate);
    for (double note : chord) {
        HarmonicOscillator voice(rate, 3700.0, 1.2, true);
        for (size_t i = chordAt; i < out.size(); ++i) {
            const double t = Seconds(i - chordAt, rate);
            // A light vibrato lets the last chord shimmer as it fades.
            const double vibrato =
                1.0 + 0.004 * std::sin(kTwoPi * 6.0 * t) * (1.0 - std::exp(-t / 0.1));
            const double env = Pluck(t, 0.004, 0.22);
            out[i] += voice.Next(MidiToHz(note) * vibrato) * env * 0.3;
        }
    }

    NormalisePeak(out, 0.9);
    FadeEdges(out, rate, 0.001, 0.08);
    return out;
}

}  // namespace sfx
