// The instruments of the music. Each call renders one drum hit or one note as a mono signal
// at kMusicRate, starting at its attack and running until its release has died away.
#pragma once

#include "mixing.h"
#include "music.h"
#include "synth.h"

namespace sfx {

Signal Kick();
Signal Snare(Noise& noise);
Signal HiHat(Noise& noise, bool open);
Signal Crash(Noise& noise);

// Gate lengths are in seconds: how long the key is held before the release starts.
Signal Bass(double note, double gate);
Signal Lead(double note, double gate);
// A rounder saw voice that doubles the lead an octave down.
Signal Double(double note, double gate);
Signal Arp(double note);
// One side of a soft, slowly swelling chord voice; the two sides differ in detune.
Signal Pad(double note, double gate, double detuneCents);

}  // namespace sfx
