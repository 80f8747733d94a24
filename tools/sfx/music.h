// The title and in-game music: a looping space-arcade tune in A minor.
#pragma once

#include <cstddef>

#include "mixing.h"

namespace sfx {

constexpr int kMusicRate = 44100;
constexpr int kBeatsPerMinute = 140;
// A sixteenth note at 140 beats per minute is exactly 4725 samples at 44.1 kHz, so every bar
// starts on a whole sample and the loop length is exact.
constexpr size_t kStepSamples = 4725;
static_assert(kStepSamples * kBeatsPerMinute == kMusicRate * 60 / 4, "a step is a sixteenth");
constexpr int kStepsPerBar = 16;
constexpr int kBars = 32;
constexpr size_t kMusicLength = kStepSamples * kStepsPerBar * kBars;

// Composes and mixes the whole track, peaking at about -3 dBFS. The last sample runs straight
// into the first: notes, echoes and reverb ringing at the end carry on at the start.
Stereo ComposeMusic();

}  // namespace sfx
