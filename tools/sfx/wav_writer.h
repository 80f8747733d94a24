// Writes mono PCM WAV files: a RIFF/WAVE header with a 16-byte fmt chunk, then the data.
#pragma once

#include <string>

#include "mixing.h"

namespace sfx {

// bitsPerSample is 8 (unsigned, centred on 128) or 16 (signed). Samples are clamped to
// [-1, 1] and rounded to the nearest step. Returns false when the file cannot be written.
bool WriteWav(const std::string& path, const Signal& samples, int sampleRate, int bitsPerSample);

}  // namespace sfx
