// Writes 8-bit PNG files. The output depends only on the pixels, so runs are repeatable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// channels is 3 (RGB) or 4 (RGBA); pixels are row-major, top row first.
// Returns false (with a message on stderr) when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<uint8_t>& pixels);
