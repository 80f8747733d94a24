#include "mixing.h"

#include <algorithm>
#include <cmath>

#include "synth.h"

namespace sfx {

Pan PanGains(double position) {
    const double angle = (std::clamp(position, -1.0, 1.0) + 1.0) * kPi / 4.0;
    return Pan{std::cos(angle), std::sin(angle)};
}

void AddWrapped(Stereo& mix, size_t start, const Signal& sound, double gain, double pan) {
    const Pan p = PanGains(pan);
    const size_t n = mix.size();
    for (size_t i = 0; i < sound.size(); ++i) {
        const size_t at = (start + i) % n;
        mix.left[at] += sound[i] * gain * p.left;
        mix.right[at] += sound[i] * gain * p.right;
    }
}

void AddLoopedEcho(const Stereo& send, Stereo& mix, size_t delay, double feedback, double damping) {
    const size_t n = send.size();
    Signal lineL(delay, 0.0), lineR(delay, 0.0);
    double toneL = 0.0, toneR = 0.0;
    size_t at = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            const double outL = lineL[at], outR = lineR[at];
            toneL += damping * (outL - toneL);
            toneR += damping * (outR - toneR);
            // Each side feeds the other: a mono send comes back left first, then right.
            lineL[at] = send.left[i] * 0.5 + send.right[i] * 0.5 + toneR * feedback;
            lineR[at] = toneL * feedback;
            at = (at + 1) % delay;
            if (pass == 1) {
                mix.left[i] += outL;
                mix.right[i] += outR;
            }
        }
    }
}

namespace {

class Comb {
public:
    Comb(size_t length, double feedback, double damping)
        : line_(length, 0.0), feedback_(feedback), damping_(damping) {}
    double Process(double x) {
        const double out = line_[at_];
        tone_ += damping_ * (out - tone_);
        line_[at_] = x + tone_ * feedback_;
        at_ = (at_ + 1) % line_.size();
        return out;
    }

private:
    Signal line_;
    double feedback_;
    double damping_;
    double tone_ = 0.0;
    size_t at_ = 0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : line_(length, 0.0) {}
    double Process(double x) {
        const double delayed = line_[at_];
        const double out = delayed - x;
        line_[at_] = x + delayed * 0.5;
        at_ = (at_ + 1) % line_.size();
        return out;
    }

private:
    Signal line_;
    size_t at_ = 0;
};

// One side of the room. The two sides use slightly different lengths, which is what makes the
// reverb sound wide instead of sitting in the middle.
class Room {
public:
    Room(double sampleRate, double decay, size_t spread) {
        const size_t combs[] = {1116, 1188, 1277, 1356};
        const size_t passes[] = {556, 441};
        const double scale = sampleRate / 44100.0;
        for (size_t length : combs) {
            combs_.emplace_back(static_cast<size_t>((length + spread) * scale), decay, 0.35);
        }
        for (size_t length : passes) {
            passes_.emplace_back(static_cast<size_t>((length + spread) * scale));
        }
    }
    double Process(double x) {
        double sum = 0.0;
        for (Comb& c : combs_) {
            sum += c.Process(x);
        }
        for (AllPass& a : passes_) {
            sum = a.Process(sum);
        }
        return sum * 0.25;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> passes_;
};

}  // namespace

void AddLoopedReverb(const Stereo& send, Stereo& mix, double sampleRate, double decay, double wet) {
    Room left(sampleRate, decay, 0), right(sampleRate, decay, 23);
    const size_t n = send.size();
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            const double in = (send.left[i] + send.right[i]) * 0.5;
            const double l = left.Process(in);
            const double r = right.Process(in);
            if (pass == 1) {
                mix.left[i] += l * wet;
                mix.right[i] += r * wet;
            }
        }
    }
}

double Peak(const Signal& s) {
    double peak = 0.0;
    for (double v : s) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

double Peak(const Stereo& s) {
    return std::max(Peak(s.left), Peak(s.right));
}

void Scale(Signal& s, double gain) {
    for (double& v : s) {
        v *= gain;
    }
}

void Scale(Stereo& s, double gain) {
    Scale(s.left, gain);
    Scale(s.right, gain);
}

void NormalisePeak(Signal& s, double peak) {
    const double current = Peak(s);
    if (current > 0.0) {
        Scale(s, peak / current);
    }
}

void NormalisePeak(Stereo& s, double peak) {
    const double current = Peak(s);
    if (current > 0.0) {
        Scale(s, peak / current);
    }
}

void FadeEdges(Signal& s, double sampleRate, double fadeInSeconds, double fadeOutSeconds) {
    const size_t n = s.size();
    const size_t in = std::min(n, static_cast<size_t>(fadeInSeconds * sampleRate));
    const size_t out = std::min(n, static_cast<size_t>(fadeOutSeconds * sampleRate));
    for (size_t i = 0; i < in; ++i) {
        s[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in));
    }
    for (size_t i = 0; i < out; ++i) {
        // The last sample lands on exactly zero.
        const double u = out > 1 ? static_cast<double>(i) / static_cast<double>(out - 1) : 0.0;
        s[n - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * u);
    }
}

void SoftClip(Signal& s, double drive) {
    const double norm = std::tanh(drive);
    for (double& v : s) {
        v = std::tanh(v * drive) / norm;
    }
}

}  // namespace sfx
