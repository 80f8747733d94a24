// Embeds a PNG made in memory under a name, as the game's own pictures are,
// so pictures can be loaded (and decoded again) by name in the tests.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/png_fixture.h"

// Returns the name to load it by ("incbin::" + name). The bytes live until exit.
inline std::string EmbedPng(const std::string& name, const std::vector<uint8_t>& file) {
    static std::deque<std::vector<uint8_t>> files;
    files.push_back(file);
    IncbinRegister(name, files.back().data(), files.back().size());
    return "incbin::" + name;
}

inline std::string EmbedArgb(const std::string& name, int width, int height,
                             const std::vector<uint32_t>& argb, bool withAlpha) {
    return EmbedPng(name, EncodeArgb(width, height, argb, withAlpha));
}
