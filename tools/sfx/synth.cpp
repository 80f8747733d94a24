#include "synth.h"

#include <algorithm>
#include <cmath>

namespace sfx {

double MidiToHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

Noise::Noise(uint64_t seed) : state_(seed != 0 ? seed : 0x9E3779B97F4A7C15ull) {}

uint64_t Noise::NextBits() {
    // xorshift64*: small, fast and identical on every platform.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

double Noise::White() {
    const double unit = static_cast<double>(NextBits() >> 11) * (1.0 / 9007199254740992.0);
    return unit * 2.0 - 1.0;
}

namespace {

// Polynomial correction for a unit step at phase 0, spread over one sample either side.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

Oscillator::Oscillator(Shape shape, double sampleRate, double startPhase)
    : shape_(shape), sampleRate_(sampleRate), phase_(startPhase - std::floor(startPhase)) {}

double Oscillator::Next(double hz) {
    const double dt = std::min(hz / sampleRate_, 0.5);
    double out = 0.0;
    switch (shape_) {
        case Shape::kSine:
            out = std::sin(kTwoPi * phase_);
            break;
        case Shape::kTriangle:
            out = 1.0 - 4.0 * std::fabs(phase_ - 0.5);
            break;
        case Shape::kSaw:
            out = 2.0 * phase_ - 1.0 - PolyBlep(phase_, dt);
            break;
        case Shape::kPulse: {
            const double width = std::clamp(pulseWidth_, 0.05, 0.95);
            out = phase_ < width ? 1.0 : -1.0;
            out += PolyBlep(phase_, dt);
            double falling = phase_ + 1.0 - width;
            falling -= std::floor(falling);
            out -= PolyBlep(falling, dt);
            // Remove the offset a narrow pulse carries, so it sits around zero.
            out -= 2.0 * width - 1.0;
            break;
        }
    }
    phase_ += dt;
    phase_ -= std::floor(phase_);
    return out;
}

HarmonicOscillator::HarmonicOscillator(double sampleRate, double maxHz, double rolloff,
                                       bool oddOnly)
    : sampleRate_(sampleRate), maxHz_(maxHz), rolloff_(rolloff), oddOnly_(oddOnly) {}

double HarmonicOscillator::Next(double hz) {
    double out = 0.0;
    const int step = oddOnly_ ? 2 : 1;
    for (int k = 1; k * hz < maxHz_; k += step) {
        out += std::sin(kTwoPi * phase_ * k) / std::pow(static_cast<double>(k), rolloff_);
    }
    phase_ += hz / sampleRate_;
    phase_ -= std::floor(phase_);
    return out;
}

double Adsr::At(double t, double gateLength) const {
    auto held = [this](double u) {
        if (u < attack) {
            return u / attack;
        }
        return sustain + (1.0 - sustain) * std::exp(-(u - attack) / decay);
    };
    if (t < 0.0) {
        return 0.0;
    }
    if (t < gateLength) {
        return held(t);
    }
    const double u = (t - gateLength) / release;
    if (u >= 1.0) {
        return 0.0;
    }
    return held(gateLength) * (1.0 - u) * (1.0 - u);
}

double Pluck(double t, double attack, double tau) {
    if (t < 0.0) {
        return 0.0;
    }
    if (t < attack) {
        return t / attack;
    }
    return std::exp(-(t - attack) / tau);
}

void Svf::Set(double cutoffHz, double q) {
    const double fc = std::clamp(cutoffHz, 10.0, sampleRate_ * 0.49);
    const double g = std::tan(kPi * fc / sampleRate_);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

Svf::Out Svf::Process(double x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return Out{v2, v1, x - k_ * v1 - v2};
}

void OnePole::Set(double cutoffHz) {
    coeff_ = 1.0 - std::exp(-kTwoPi * cutoffHz / sampleRate_);
}

double OnePole::Low(double x) {
    state_ += coeff_ * (x - state_);
    return state_;
}

}  // namespace sfx
