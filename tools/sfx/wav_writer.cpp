#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace sfx {

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool WriteWav(const std::string& path, const Signal& samples, int sampleRate, int bitsPerSample) {
    const uint32_t bytesPerSample = bitsPerSample == 8 ? 1 : 2;
    const uint32_t dataSize = static_cast<uint32_t>(samples.size()) * bytesPerSample;
    const uint32_t pad = dataSize & 1;  // RIFF chunks are padded to an even length

    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutU32(out, 4 + (8 + 16) + (8 + dataSize + pad));
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // integer PCM
    PutU16(out, 1);  // mono
    PutU32(out, static_cast<uint32_t>(sampleRate));
    PutU32(out, static_cast<uint32_t>(sampleRate) * bytesPerSample);
    PutU16(out, bytesPerSample);
    PutU16(out, static_cast<uint32_t>(bitsPerSample));

    PutTag(out, "data");
    PutU32(out, dataSize);
    for (double s : samples) {
        const double v = std::clamp(s, -1.0, 1.0);
        if (bytesPerSample == 1) {
            out.push_back(static_cast<uint8_t>(128 + std::lround(v * 127.0)));
        } else {
            const auto q = static_cast<int16_t>(std::lround(v * 32767.0));
            PutU16(out, static_cast<uint16_t>(q));
        }
    }
    if (pad != 0) {
        out.push_back(0);
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace sfx
