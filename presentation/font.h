// The game's own proportional bitmap font and the big digit numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern const char* const CHARSET;  // glyph order of the font picture
constexpr int32_t GLYPH_COUNT = 40;
constexpr int32_t SPACE_GLYPH = 37;

extern std::vector<int32_t> fontWidths;

void MeasureFont();
int32_t GlyphIndex(const std::string& character);
int32_t FontTextWidth(const std::string& text);
void DrawFontText(const std::string& text, int32_t x, int32_t y, int32_t centred, int32_t middle);
void DrawNumber(const std::string& digits, int32_t x, int32_t y);
void DrawHighScores();
