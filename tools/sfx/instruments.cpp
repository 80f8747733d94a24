#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sfx {

namespace {

constexpr double kRate = kMusicRate;

size_t Samples(double seconds) {
    return static_cast<size_t>(seconds * kRate);
}
double Seconds(size_t i) {
    return static_cast<double>(i) / kRate;
}

// Squared fall to zero over a sound's last stretch, so a hit never stops on a step.
double Tail(double t, double length) {
    const double u = 1.0 - t / length;
    return u > 0.0 ? u * u : 0.0;
}

// Six detuned square waves: the metallic ring under the hi-hats and the crash.
class Metal {
public:
    Metal() {
        const double ratios[] = {1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637};
        for (double r : ratios) {
            voices_.emplace_back(Oscillator::Shape::kPulse, kRate);
            hz_.push_back(410.0 * r);
        }
    }
    double Next() {
        double sum = 0.0;
        for (size_t i = 0; i < voices_.size(); ++i) {
            sum += voices_[i].Next(hz_[i]);
        }
        return sum / static_cast<double>(voices_.size());
    }

private:
    std::vector<Oscillator> voices_;
    std::vector<double> hz_;
};

}  // namespace

Signal Kick() {
    const double length = 0.42;
    Signal out(Samples(length));
    Oscillator body(Oscillator::Shape::kSine, kRate);
    Oscillator click(Oscillator::Shape::kSine, kRate);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        // The fast pitch drop is the punch; the low settle is the weight.
        const double hz = 46.0 + 130.0 * std::exp(-t / 0.03);
        const double v = body.Next(hz) * Pluck(t, 0.0008, 0.2) * Tail(t, length);
        const double tick = click.Next(1800.0) * std::exp(-t / 0.0025) * 0.25;
        out[i] = std::tanh((v + tick) * 1.4) / std::tanh(1.4);
    }
    return out;
}

Signal Snare(Noise& noise) {
    const double length = 0.3;
    Signal out(Samples(length));
    Oscillator low(Oscillator::Shape::kSine, kRate);
    Oscillator high(Oscillator::Shape::kSine, kRate);
    Svf snap(kRate);
    snap.Set(3200.0, 0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double drop = std::exp(-t / 0.02);
        const double tone = (low.Next(180.0 + 40.0 * drop) * 0.55 + high.Next(330.0) * 0.3) *
                            Pluck(t, 0.0008, 0.045);
        const Svf::Out n = snap.Process(noise.White());
        const double rattle = (n.band * 0.9 + n.high * 0.45) * Pluck(t, 0.001, 0.09);
        out[i] = (tone + rattle) * Tail(t, length);
    }
    return out;
}

Signal HiHat(Noise& noise, bool open) {
    const double length = open ? 0.34 : 0.07;
    const double tau = open ? 0.1 : 0.016;
    Signal out(Samples(length));
    Metal metal;
    Svf air(kRate);
    air.Set(7500.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double v = air.Process(noise.White() * 0.6 + metal.Next() * 0.5).high;
        out[i] = v * Pluck(t, 0.0005, tau) * Tail(t, length);
    }
    return out;
}

Signal Crash(Noise& noise) {
    const double length = 1.9;
    Signal out(Samples(length));
    Metal metal;
    Svf air(kRate);
    air.Set(4200.0, 0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double v = air.Process(noise.White() * 0.8 + metal.Next() * 0.35).high;
        out[i] = v * Pluck(t, 0.001, 0.45) * Tail(t, length);
    }
    return out;
}

Signal Bass(double note, double gate) {
    const Adsr env{0.003, 0.12, 0.7, 0.03};
    Signal out(Samples(env.Length(gate)));
    const double hz = MidiToHz(note);
    Oscillator saw(Oscillator::Shape::kSaw, kRate);
    Oscillator sub(Oscillator::Shape::kSine, kRate);
    Svf filter(kRate);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        // Each note opens the filter with a pluck and lets it close: the "bwow" of synth bass.
        filter.Set(260.0 + 1500.0 * std::exp(-t / 0.06), 1.8);
        const double v = filter.Process(saw.Next(hz) * 0.7).low + sub.Next(hz) * 0.45;
        out[i] = v * env.At(t, gate);
    }
    return out;
}

Signal Lead(double note, double gate) {
    const Adsr env{0.006, 0.25, 0.65, 0.09};
    Signal out(Samples(env.Length(gate)));
    Oscillator a(Oscillator::Shape::kPulse, kRate);
    Oscillator b(Oscillator::Shape::kPulse, kRate, 0.37);
    a.SetPulseWidth(0.35);
    b.SetPulseWidth(0.5);
    Svf filter(kRate);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        // Vibrato creeps in only on held notes, so quick runs stay crisp.
        const double depth = 0.16 * (1.0 - std::exp(-std::max(0.0, t - 0.12) / 0.15));
        const double bend = depth * std::sin(kTwoPi * 5.5 * t);
        const double hz = MidiToHz(note + bend);
        const double raw = a.Next(hz * 1.0035) * 0.5 + b.Next(hz / 1.0035) * 0.5;
        filter.Set(2400.0 + 2200.0 * std::exp(-t / 0.08), 0.8);
        out[i] = filter.Process(raw).low * env.At(t, gate);
    }
    return out;
}

Signal Double(double note, double gate) {
    const Adsr env{0.01, 0.3, 0.7, 0.1};
    Signal out(Samples(env.Length(gate)));
    const double hz = MidiToHz(note);
    Oscillator saw(Oscillator::Shape::kSaw, kRate, 0.21);
    Svf filter(kRate);
    filter.Set(1700.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        out[i] = filter.Process(saw.Next(hz)).low * env.At(t, gate);
    }
    return out;
}

Signal Arp(double note) {
    const double length = 0.26;
    Signal out(Samples(length));
    const double hz = MidiToHz(note);
    Oscillator pulse(Oscillator::Shape::kPulse, kRate);
    pulse.SetPulseWidth(0.25);
    Svf filter(kRate);
    filter.Set(2300.0, 0.7);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        out[i] = filter.Process(pulse.Next(hz)).low * Pluck(t, 0.002, 0.07) * Tail(t, length);
    }
    return out;
}

Signal Pad(double note, double gate, double detuneCents) {
    const Adsr env{0.12, 0.6, 0.75, 0.35};
    Signal out(Samples(env.Length(gate)));
    const double hz = MidiToHz(note);
    const double spread = std::pow(2.0, detuneCents / 1200.0);
    Oscillator a(Oscillator::Shape::kSaw, kRate, 0.13);
    Oscillator b(Oscillator::Shape::kSaw, kRate, 0.61);
    Svf filter(kRate);
    filter.Set(1300.0, 0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = Seconds(i);
        const double raw = a.Next(hz * spread) + b.Next(hz / spread);
        out[i] = filter.Process(raw * 0.5).low * env.At(t, gate);
    }
    return out;
}

}  // namespace sfx
