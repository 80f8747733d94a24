// The built-in 8x16 text font for printable ASCII (32..126), one byte per
// row, most significant bit leftmost.
#pragma once

#include <cstdint>

constexpr int BUILTIN_FONT_WIDTH = 8;
constexpr int BUILTIN_FONT_HEIGHT = 16;
// Rows of the glyph for a character; characters outside 32..126 give '?'.
const uint8_t* BuiltinGlyph(int character);
