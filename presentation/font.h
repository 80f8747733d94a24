// The game's own proportional bitmap font and the big digit numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern const char* const CHARSET;  // glyph order of the font picture
constexpr int32_t GLYPH_COUNT = 40;
constexpr int32_t SPACE_GLYPH = 37;

extern std::vector<int32_t> fontWidths;

void MeasureFont();
// Texts are read in place: drawing and measuring copy nothing.
int32_t GlyphIndex(std::string_view character);
int32_t FontTextWidth(std::string_view text);
void DrawFontText(std::string_view text, int32_t x, int32_t y, int32_t centred, int32_t middle);
void DrawNumber(std::string_view digits, int32_t x, int32_t y);
void DrawHighScores();
