#include "presentation/font.h"

#include "platform/platform.h"
#include "shell/high_scores.h"
#include "shell/resources.h"

const char* const CHARSET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&";
std::vector<int32_t> fontWidths;

namespace {

constexpr int32_t CELL_WIDTH = 24;
constexpr int32_t CELL_HEIGHT = 16;
constexpr int32_t SPACE_ADVANCE = 6;  // the space's cell is empty, so it gets a fixed advance
constexpr int32_t HALF_GLYPH_HEIGHT = 8;
constexpr int32_t DIGIT_CELLS = 8;
constexpr int32_t DIGIT_CELL_WIDTH = 32;

constexpr int32_t TABLE_TOP = 160;
constexpr int32_t TABLE_ROW_HEIGHT = 32;
constexpr int32_t TABLE_NUMBER_LEFT = 312;
constexpr int32_t TABLE_SCORE_END = 128;  // from the end of the row numbers
constexpr int32_t TABLE_NAME_LEFT = 144;  // likewise

// Rightmost column holding any pixel that is not fully transparent, plus one.
int32_t MeasureGlyph(int32_t glyph) {
    PixelMap map = LockImage(imgFont, glyph);
    int32_t width = 0;
    for (int32_t x = CELL_WIDTH - 1; x >= 0 && width == 0; --x) {
        for (int32_t y = 0; y < CELL_HEIGHT; ++y) {
            if ((ReadPixel(map, x, y) >> 24) != 0) {
                width = x + 1;
                break;
            }
        }
    }
    UnlockImage(imgFont, glyph);
    return width;
}

// Seven zeros go in front of a number's digits; the last eight are shown.
constexpr int32_t NUMBER_PADDING = 7;

// The character at 'at' of the zero-padded number, space before its start.
char PaddedDigit(std::string_view digits, int32_t at) {
    if (at < 0) {
        return ' ';
    }
    return at < NUMBER_PADDING ? '0' : digits[static_cast<size_t>(at - NUMBER_PADDING)];
}

}  // namespace

void MeasureFont() {
    fontWidths.assign(GLYPH_COUNT, 0);
    for (int32_t glyph = 0; glyph < GLYPH_COUNT; ++glyph) {
        fontWidths[static_cast<size_t>(glyph)] = MeasureGlyph(glyph);
    }
    fontWidths[SPACE_GLYPH] = SPACE_ADVANCE;
}

int32_t GlyphIndex(std::string_view character) {
    const int at = Find(CHARSET, character);
    return at < 0 ? SPACE_GLYPH : at;
}

int32_t FontTextWidth(std::string_view text) {
    int32_t width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        width += fontWidths[static_cast<size_t>(GlyphIndex(text.substr(i, 1)))];
    }
    return width;
}

void DrawFontText(std::string_view text, int32_t x, int32_t y, int32_t centred, int32_t middle) {
    if (centred == 1) {
        x -= FontTextWidth(text) / 2;
    }
    if (middle == 1) {
        y -= HALF_GLYPH_HEIGHT;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const int32_t glyph = GlyphIndex(text.substr(i, 1));
        DrawImage(imgFont, static_cast<float>(x), static_cast<float>(y), glyph);
        x += fontWidths[static_cast<size_t>(glyph)];
    }
}

void DrawNumber(std::string_view digits, int32_t x, int32_t y) {
    // Seven zeros in front, then the last eight characters: leading zeros
    // for short numbers, only the low digits for long ones.
    const int32_t first = NUMBER_PADDING + static_cast<int32_t>(digits.size()) - DIGIT_CELLS;
    for (int32_t i = 0; i < DIGIT_CELLS; ++i) {
        const int32_t digit = ToInt(std::string(1, PaddedDigit(digits, first + i)));
        DrawImage(imgDigits, static_cast<float>(x + DIGIT_CELL_WIDTH * i), static_cast<float>(y),
                  digit);
    }
}

void DrawHighScores() {
    // The row numbers are right-aligned against the widest one, "10".
    const int32_t base = FontTextWidth("10") + TABLE_NUMBER_LEFT;
    SetColor(255, 255, 0);
    for (int32_t i = 0; i < HISCORE_ROWS; ++i) {
        const int32_t y = TABLE_TOP + TABLE_ROW_HEIGHT * i;
        const std::string number = Str(i + 1);
        const std::string score = Str(hiScores[static_cast<size_t>(i)]);
        DrawFontText(number, base - FontTextWidth(number), y, 0, 0);
        DrawFontText(score, base + TABLE_SCORE_END - FontTextWidth(score), y, 0, 0);
        DrawFontText(hiNames[static_cast<size_t>(i)], base + TABLE_NAME_LEFT, y, 0, 0);
    }
    SetColor(255, 255, 255);
}
