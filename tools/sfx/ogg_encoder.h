// Encodes a stereo buffer as an Ogg Vorbis file.
#pragma once

#include <cstdint>
#include <string>

#include "mixing.h"

namespace sfx {

// Variable-bit-rate Vorbis at the given quality (-0.1 to 1.0). The Ogg stream serial number is
// passed in rather than drawn at random, so the same music gives the same bytes on every run.
// Returns false when encoding or writing fails.
bool WriteOggVorbis(const std::string& path, const Stereo& audio, int sampleRate, float quality,
                    int serial, const std::string& title);

}  // namespace sfx
