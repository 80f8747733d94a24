#include "music.h"

#include <cmath>

#include "instruments.h"
#include "synth.h"

namespace sfx {

namespace {

constexpr int kRest = -1;

// A view of a whole constant array, so a section can pick one of two tables of different sizes.
template <typename T>
struct View {
    const T* first;
    const T* last;
    const T* begin() const { return first; }
    const T* end() const { return last; }
};

template <typename T, size_t N>
constexpr View<T> All(const T (&items)[N]) {
    return View<T>{items, items + N};
}

struct Note {
    int pitch;  // MIDI note number, or kRest
    int steps;  // length in sixteenths
};

template <size_t N>
constexpr int TotalSteps(const Note (&notes)[N]) {
    int total = 0;
    for (const Note& n : notes) {
        total += n.steps;
    }
    return total;
}

// Tune A: a bouncy, arpeggiated phrase over Am F C G | Am F G E.
constexpr Note kTuneA[] = {
    {69, 4}, {72, 2}, {76, 2}, {81, 4}, {79, 2},    {76, 2},           // Am
    {77, 3}, {76, 3}, {72, 2}, {69, 4}, {72, 4},                       // F
    {67, 2}, {72, 2}, {76, 2}, {79, 4}, {76, 2},    {72, 2}, {76, 2},  // C
    {74, 3}, {71, 3}, {67, 2}, {74, 4}, {kRest, 4},                    // G
    {69, 4}, {72, 2}, {76, 2}, {81, 4}, {83, 2},    {84, 2},           // Am
    {84, 3}, {81, 3}, {77, 2}, {81, 4}, {84, 4},                       // F
    {83, 3}, {81, 3}, {79, 2}, {74, 4}, {79, 4},                       // G
    {80, 6}, {76, 2}, {71, 4}, {68, 2}, {71, 2},                       // E
};

// Tune B: long falling notes that climb back up, over F G Em Am | F G E E.
constexpr Note kTuneB[] = {
    {81, 8},  {79, 4}, {77, 4},           // F
    {79, 8},  {77, 4}, {74, 4},           // G
    {76, 8},  {74, 4}, {71, 4},           // Em
    {72, 12}, {76, 4},                    // Am
    {81, 6},  {84, 2}, {81, 4}, {77, 4},  // F
    {83, 6},  {86, 2}, {83, 4}, {79, 4},  // G
    {80, 8},  {83, 4}, {88, 4},           // E
    {86, 4},  {83, 4}, {80, 4}, {76, 4},  // E
};

constexpr int kSectionBars = 8;
static_assert(TotalSteps(kTuneA) == kSectionBars * kStepsPerBar, "tune A must fill 8 bars");
static_assert(TotalSteps(kTuneB) == kSectionBars * kStepsPerBar, "tune B must fill 8 bars");
static_assert(kBars % (2 * kSectionBars) == 0, "the loop is whole A-B pairs");

struct Chord {
    int root;   // bass-octave MIDI note
    int third;  // 3 for minor, 4 for major
};

// Per tune, one chord to a bar: Am F C G | Am F G E, then F G Em Am | F G E E.
constexpr Chord kChords[2][kSectionBars] = {
    {{45, 3}, {41, 4}, {48, 4}, {43, 4}, {45, 3}, {41, 4}, {43, 4}, {40, 4}},
    {{41, 4}, {43, 4}, {40, 3}, {45, 3}, {41, 4}, {43, 4}, {40, 4}, {40, 4}},
};

struct BassHit {
    int step;
    int steps;
    int interval;  // semitones above the chord root
};

// Octave-jumping eighths drive tune A; a syncopated figure lets tune B breathe.
constexpr BassHit kBassA[] = {{0, 2, 0}, {2, 2, 12},  {4, 2, 0},  {6, 2, 12},
                              {8, 2, 0}, {10, 2, 12}, {12, 2, 0}, {14, 2, 12}};
constexpr BassHit kBassB[] = {{0, 3, 0}, {3, 3, 0}, {6, 2, 7}, {8, 3, 0}, {11, 3, 12}, {14, 2, 7}};

// Where each part sits: drums and bass in the middle, the lead a little right, its harmony and
// the arpeggio to the left, the chords spread wide.
constexpr double kPanLead = 0.15;
constexpr double kPanHarmony = -0.3;
constexpr double kPanArp = -0.4;
constexpr double kPanHat = 0.3;
constexpr double kPanCrash = -0.2;
constexpr double kPanPad = 0.7;

// The chord under a bar of the loop.
Chord ChordAt(int bar) {
    return kChords[(bar / kSectionBars) % 2][bar % kSectionBars];
}

constexpr double kSecondsPerStep = static_cast<double>(kStepSamples) / kMusicRate;

// The highest note of the chord at least a minor third under the melody note, to harmonise
// held notes without a clash.
int ChordToneBelow(int pitch, const Chord& chord) {
    const int intervals[] = {0, chord.third, 7};
    int best = pitch - 12;
    for (int octave = 0; octave < 6; ++octave) {
        for (int interval : intervals) {
            const int candidate = chord.root + interval + 12 * octave;
            if (candidate <= pitch - 3 && candidate > best) {
                best = candidate;
            }
        }
    }
    return best;
}

// The mix is built up on separate buses so that the kick can push the bass and chords down a
// little on every beat, and so that only some parts feed the echo and the reverb.
struct Buses {
    Stereo drums{kMusicLength};
    Stereo ducked{kMusicLength};
    Stereo melodic{kMusicLength};
    Stereo echoSend{kMusicLength};
    Stereo reverbSend{kMusicLength};
};

void PlaceDrums(Buses& b, Noise& noise) {
    const Signal kick = Kick();
    for (int bar = 0; bar < kBars; ++bar) {
        const int section = bar / kSectionBars;
        const int inSection = bar % kSectionBars;
        const bool tuneB = section % 2 == 1;
        const bool lifted = section >= 2;
        const bool fillBar = inSection == kSectionBars - 1;
        // The fill before tune A is a full half bar of snare; before tune B a quarter bar.
        const int fillFrom = tuneB ? 8 : 12;
        const size_t barStart = static_cast<size_t>(bar) * kStepsPerBar * kStepSamples;

        if (inSection == 0) {
            const Signal crash = Crash(noise);
            AddWrapped(b.drums, barStart, crash, 0.3, kPanCrash);
            AddWrapped(b.reverbSend, barStart, crash, 0.1, kPanCrash);
        }
        for (int step = 0; step < kStepsPerBar; ++step) {
            const size_t at = barStart + static_cast<size_t>(step) * kStepSamples;
            const bool inFill = fillBar && step >= fillFrom;
            if (step % 4 == 0 && !(inFill && step > fillFrom)) {
                AddWrapped(b.drums, at, kick, 0.72, 0.0);
            }
            if (inFill) {
                // A rising roll into the next section.
                const double rise = static_cast<double>(step - fillFrom + 1) /
                                    static_cast<double>(kStepsPerBar - fillFrom);
                const Signal snare = Snare(noise);
                AddWrapped(b.drums, at, snare, 0.22 + 0.23 * rise, 0.05);
                AddWrapped(b.reverbSend, at, snare, 0.12, 0.05);
            } else if (step == 4 || step == 12) {
                const Signal snare = Snare(noise);
                AddWrapped(b.drums, at, snare, 0.45, 0.05);
                AddWrapped(b.reverbSend, at, snare, 0.2, 0.05);
            }
            const bool offBeat = step % 4 == 2;
            if (tuneB && offBeat) {
                AddWrapped(b.drums, at, HiHat(noise, true), 0.2, kPanHat);
            } else if (step % 2 == 0) {
                AddWrapped(b.drums, at, HiHat(noise, false), offBeat ? 0.3 : 0.18, kPanHat);
            } else if (lifted) {
                AddWrapped(b.drums, at, HiHat(noise, false), 0.12, kPanHat);
            }
        }
    }
}

void PlaceHarmony(Buses& b) {
    for (int bar = 0; bar < kBars; ++bar) {
        const bool tuneB = (bar / kSectionBars) % 2 == 1;
        const Chord chord = ChordAt(bar);
        const size_t barStart = static_cast<size_t>(bar) * kStepsPerBar * kStepSamples;

        for (const BassHit& hit : tuneB ? All(kBassB) : All(kBassA)) {
            const double gate = hit.steps * kSecondsPerStep * 0.8;
            const Signal note = Bass(chord.root + hit.interval, gate);
            AddWrapped(b.ducked, barStart + static_cast<size_t>(hit.step) * kStepSamples, note,
                       0.55, 0.0);
        }

        const int arpRoot = chord.root + 12;
        const int tones[] = {arpRoot, arpRoot + chord.third, arpRoot + 7, arpRoot + 12,
                             arpRoot + 12 + chord.third};
        const int order[] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int step = 0; step < kStepsPerBar; ++step) {
            const Signal note = Arp(tones[order[step % 8]]);
            const size_t at = barStart + static_cast<size_t>(step) * kStepSamples;
            const double accent = step % 4 == 0 ? 1.0 : 0.75;
            AddWrapped(b.melodic, at, note, 0.1 * accent, kPanArp);
            AddWrapped(b.echoSend, at, note, 0.05 * accent, kPanArp);
        }

        // The chords swell a little louder under tune B, where the melody holds long notes.
        const double padGain = tuneB ? 0.1 : 0.06;
        const double gate = kStepsPerBar * kSecondsPerStep - 0.05;
        for (int interval : {0, chord.third, 7}) {
            const int note = arpRoot + interval;
            const Signal left = Pad(note, gate, -9.0);
            const Signal right = Pad(note, gate, 9.0);
            AddWrapped(b.ducked, barStart, left, padGain, -kPanPad);
            AddWrapped(b.ducked, barStart, right, padGain, kPanPad);
            AddWrapped(b.reverbSend, barStart, left, padGain * 0.5, -kPanPad);
            AddWrapped(b.reverbSend, barStart, right, padGain * 0.5, kPanPad);
        }
    }
}

void PlaceMelody(Buses& b) {
    for (int section = 0; section < kBars / kSectionBars; ++section) {
        const bool tuneB = section % 2 == 1;
        const bool lifted = section >= 2;
        int step = section * kSectionBars * kStepsPerBar;
        for (const Note& n : tuneB ? All(kTuneB) : All(kTuneA)) {
            const size_t at = static_cast<size_t>(step) * kStepSamples;
            const int bar = step / kStepsPerBar;
            step += n.steps;
            if (n.pitch == kRest) {
                continue;
            }
            // Short notes are detached, long ones nearly legato.
            const double length = n.steps * kSecondsPerStep;
            const double gate = n.steps <= 2 ? length * 0.7 : length - 0.03;
            const Signal lead = Lead(n.pitch, gate);
            AddWrapped(b.melodic, at, lead, 0.3, kPanLead);
            AddWrapped(b.echoSend, at, lead, 0.12, kPanLead);
            AddWrapped(b.reverbSend, at, lead, 0.12, kPanLead);
            if (!lifted) {
                continue;
            }
            // Second time round, tune A is doubled an octave down and tune B harmonised.
            if (tuneB) {
                const int below = ChordToneBelow(n.pitch, ChordAt(bar));
                AddWrapped(b.melodic, at, Lead(below, gate), 0.15, kPanHarmony);
            } else {
                AddWrapped(b.melodic, at, Double(n.pitch - 12, gate), 0.16, kPanHarmony);
            }
        }
    }
}

// Gain that dips on every kick and recovers over a beat: the pumping that makes the bass and
// chords breathe with the drums.
double Duck(size_t i) {
    const size_t beat = kStepSamples * 4;
    const double since = static_cast<double>(i % beat) / kMusicRate;
    const double shape = since < 0.005 ? since / 0.005 : std::exp(-(since - 0.005) / 0.12);
    return 1.0 - 0.35 * shape;
}

}  // namespace

Stereo ComposeMusic() {
    Buses b;
    Noise noise(0x7E1F7A11ull);
    PlaceDrums(b, noise);
    PlaceHarmony(b);
    PlaceMelody(b);

    Stereo mix(kMusicLength);
    for (size_t i = 0; i < kMusicLength; ++i) {
        const double duck = Duck(i);
        mix.left[i] = b.drums.left[i] + b.ducked.left[i] * duck + b.melodic.left[i];
        mix.right[i] = b.drums.right[i] + b.ducked.right[i] * duck + b.melodic.right[i];
    }
    // A dotted-eighth echo sits in time with the tune.
    AddLoopedEcho(b.echoSend, mix, kStepSamples * 3, 0.38, 0.35);
    AddLoopedReverb(b.reverbSend, mix, kMusicRate, 0.82, 0.6);

    // Leave room for the effects the game plays over the music.
    NormalisePeak(mix, 0.708);
    return mix;
}

}  // namespace sfx
