// The game's four short sound effects, each made at the sample rate it is stored at.
#pragma once

#include "mixing.h"

namespace sfx {

constexpr int kFireRate = 11025;
constexpr int kAlienExplosionRate = 11025;
constexpr int kShipExplosionRate = 8000;
constexpr int kLifeRate = 8000;

// The player's laser: a quick falling "pew", soft enough to hear three times a second.
Signal MakeFire();
// An alien blown apart: a short noisy burst with a grinding, falling crunch.
Signal MakeAlienExplosion();
// The player's ship destroyed: a deep blast that rumbles away over most of a second.
Signal MakeShipExplosion();
// An extra life: a bright rising arpeggio ending on a ringing chord.
Signal MakeLife();

}  // namespace sfx
