// The game's bitmap font: measured advances, text width and drawing, the
// eight-cell numbers and the high-score table.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/platform.h"
#include "presentation/font.h"
#include "shell/high_scores.h"
#include "shell/resources.h"
#include "tests/game_fixture.h"

namespace {

// The advances of the font picture the game ships, in glyph order.
const std::vector<int32_t> SHIPPED_WIDTHS = {
    15, 7,  14, 14, 15, 14, 14, 15, 14, 15,                                  // 0-9
    15, 14, 15, 15, 15, 15, 14, 15, 4,  12, 14, 12, 20, 14, 15, 14, 15, 14,  // A-R
    14, 15, 15, 16, 20, 15, 14, 14,                                          // S-Z
    4,  6,  12, 15,                                                          // . space - &
};

int32_t ShippedWidth(char c) {
    const std::string charset = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&";
    const size_t at = charset.find(c);
    return SHIPPED_WIDTHS[at == std::string::npos ? 37 : at];
}

// The glyph frames and left edges a text should produce when drawn from x,
// worked out from the shipped advances.
struct Glyph {
    int frame;
    float left;
};
std::vector<Glyph> ExpectedGlyphs(const std::string& text, int32_t x) {
    const std::string charset = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&";
    std::vector<Glyph> glyphs;
    for (char c : text) {
        const size_t at = charset.find(c);
        glyphs.push_back(
            {at == std::string::npos ? 37 : static_cast<int>(at), static_cast<float>(x)});
        x += ShippedWidth(c);
    }
    return glyphs;
}

void ExpectGlyphs(const std::vector<DrawCall>& calls, size_t from, const std::string& text,
                  int32_t x, float top) {
    const std::vector<Glyph> expected = ExpectedGlyphs(text, x);
    ASSERT_LE(from + expected.size(), calls.size()) << text;
    for (size_t i = 0; i < expected.size(); ++i) {
        const DrawCall& call = calls[from + i];
        EXPECT_EQ(call.image, imgFont) << text << " glyph " << i;
        EXPECT_EQ(call.frame, expected[i].frame) << text << " glyph " << i;
        EXPECT_FLOAT_EQ(call.left, expected[i].left) << text << " glyph " << i;
        EXPECT_FLOAT_EQ(call.top, top) << text << " glyph " << i;
    }
}

class FontTest : public GameFixture {};

TEST_F(FontTest, ShippedFontMeasuresToTheKnownTable) {
    MeasureFont();
    ASSERT_EQ(fontWidths.size(), 40u);
    for (size_t g = 0; g < 40; ++g) {
        EXPECT_EQ(fontWidths[g], SHIPPED_WIDTHS[g]) << "glyph " << g << " '" << CHARSET[g] << "'";
    }
}

TEST_F(FontTest, CharsetHoldsFortyDistinctGlyphs) {
    const std::string charset = CHARSET;
    ASSERT_EQ(charset.size(), 40u);
    EXPECT_EQ(charset, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&");
    for (size_t i = 0; i < charset.size(); ++i) {
        EXPECT_EQ(charset.find(charset[i]), i) << charset[i];
    }
}

TEST_F(FontTest, GlyphIndexOfCharacters) {
    struct Case {
        const char* character;
        int32_t glyph;
    };
    const Case cases[] = {
        {"0", 0},  {"7", 7},  {"9", 9},  {"A", 10}, {"M", 22}, {"Z", 35}, {".", 36}, {" ", 37},
        {"-", 38}, {"&", 39}, {"a", 37}, {"z", 37}, {"!", 37}, {"~", 37}, {",", 37}, {"\t", 37},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GlyphIndex(c.character), c.glyph) << "'" << c.character << "'";
    }
}

TEST_F(FontTest, TextWidthIsTheSumOfAdvances) {
    struct Case {
        const char* text;
        int32_t width;
    };
    const Case cases[] = {
        {"", 0},
        {"10", 22},
        {"1", 7},
        {"I", 4},
        {" ", 6},
        {"MW", 40},
        {"HI-SCORE", 15 + 4 + 12 + 14 + 15 + 15 + 14 + 15},
        {"GAME OVER", 14 + 15 + 20 + 15 + 6 + 15 + 16 + 15 + 14},
        {"A.B&C", 15 + 4 + 14 + 15 + 15},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FontTextWidth(c.text), c.width) << "'" << c.text << "'";
    }
}

TEST_F(FontTest, LowerCaseAndUnknownCharactersMeasureAsSpaces) {
    EXPECT_EQ(FontTextWidth("abc"), 18);
    EXPECT_EQ(FontTextWidth("quorvex"), 42);
    EXPECT_EQ(FontTextWidth("!?"), 12);
    EXPECT_EQ(FontTextWidth("Ab"), 15 + 6);
}

TEST_F(FontTest, DrawsEachGlyphAtTheRunningAdvance) {
    DrawFontText("WAVE 10", 40, 100, 0, 0);
    const std::vector<DrawCall> calls = CallsOf(backend->calls, imgFont);
    ASSERT_EQ(calls.size(), 7u);
    ExpectGlyphs(calls, 0, "WAVE 10", 40, 100.0f);
    // W 20, A 15, V 16, E 15, space 6, 1 7.
    EXPECT_FLOAT_EQ(calls.back().left, 40.0f + 20 + 15 + 16 + 15 + 6 + 7);
}

TEST_F(FontTest, LowerCaseDrawsAsSpaceGlyphs) {
    DrawFontText("Ok!", 10, 20, 0, 0);
    const std::vector<DrawCall> calls = CallsOf(backend->calls, imgFont);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].frame, 24);  // O
    EXPECT_EQ(calls[1].frame, 37);
    EXPECT_EQ(calls[2].frame, 37);
    EXPECT_FLOAT_EQ(calls[0].left, 10.0f);
    EXPECT_FLOAT_EQ(calls[1].left, 25.0f);
    EXPECT_FLOAT_EQ(calls[2].left, 31.0f);
}

TEST_F(FontTest, CentringMovesLeftByHalfTheWidthTruncated) {
    struct Case {
        const char* text;
        int32_t width;
        int32_t x;
        int32_t left;
    };
    const Case cases[] = {
        {"1", 7, 100, 97},         // 3.5 goes to 3
        {"1B", 21, 512, 502},      // 10.5 goes to 10
        {"10", 22, 512, 501},      // even width: exactly half
        {"I", 4, 0, -2},           // may start off the left edge
        {"1", 7, -50, -53},        // a negative x still moves by 3
        {"PAUSED", 88, 512, 468},  // P 14 A 15 U 15 S 14 E 15 D 15
        {"", 0, 300, 300},         // nothing drawn
    };
    for (const Case& c : cases) {
        backend->calls.clear();
        ASSERT_EQ(FontTextWidth(c.text), c.width) << c.text;
        DrawFontText(c.text, c.x, 200, 1, 0);
        const std::vector<DrawCall> calls = CallsOf(backend->calls, imgFont);
        ASSERT_EQ(calls.size(), std::string(c.text).size()) << c.text;
        if (!calls.empty()) {
            EXPECT_FLOAT_EQ(calls.front().left, static_cast<float>(c.left)) << c.text;
            EXPECT_FLOAT_EQ(calls.front().top, 200.0f) << c.text;
        }
    }
}

TEST_F(FontTest, MiddleMovesUpByHalfAGlyph) {
    struct Case {
        int32_t centred;
        int32_t middle;
        float left;
        float top;
    };
    // "GAME OVER" is 130 wide.
    const Case cases[] = {
        {0, 0, 512.0f, 384.0f},
        {0, 1, 512.0f, 376.0f},
        {1, 0, 447.0f, 384.0f},
        {1, 1, 447.0f, 376.0f},
    };
    for (const Case& c : cases) {
        backend->calls.clear();
        DrawFontText("GAME OVER", 512, 384, c.centred, c.middle);
        const std::vector<DrawCall> calls = CallsOf(backend->calls, imgFont);
        ASSERT_EQ(calls.size(), 9u);
        ExpectGlyphs(calls, 0, "GAME OVER", static_cast<int32_t>(c.left), c.top);
    }
}

TEST_F(FontTest, TextTakesTheColourInForceAndLeavesItAlone) {
    SetColor(10, 20, 30);
    SetAlpha(0.25f);
    DrawFontText("AB", 0, 0, 1, 1);
    DrawImage(imgBullet, 0, 0, 0);  // shows the state left behind
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    ASSERT_EQ(backend->calls.size(), 3u);
    for (const DrawCall& call : backend->calls) {
        EXPECT_EQ(call.state.r, 10);
        EXPECT_EQ(call.state.g, 20);
        EXPECT_EQ(call.state.b, 30);
        EXPECT_FLOAT_EQ(call.state.alpha, 0.25f);
    }
}

TEST_F(FontTest, NumbersShowTheirLastEightDigitsInCells) {
    struct Case {
        std::string digits;
        std::vector<int> cells;
    };
    const Case cases[] = {
        {"0", {0, 0, 0, 0, 0, 0, 0, 0}},
        {"1234", {0, 0, 0, 0, 1, 2, 3, 4}},
        {"12345678", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"123456789", {2, 3, 4, 5, 6, 7, 8, 9}},
        {Str(2147483647), {4, 7, 4, 8, 3, 6, 4, 7}},
        // The minus sign shows as a 0 cell.
        {Str(-5), {0, 0, 0, 0, 0, 0, 0, 5}},
        {Str(-1234567), {0, 1, 2, 3, 4, 5, 6, 7}},
        {Str(-12345678), {1, 2, 3, 4, 5, 6, 7, 8}},
        {"", {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        backend->calls.clear();
        DrawNumber(c.digits, 100, 16);
        const std::vector<DrawCall> calls = CallsOf(backend->calls, imgDigits);
        ASSERT_EQ(calls.size(), 8u) << c.digits;
        ASSERT_EQ(backend->calls.size(), 8u) << c.digits;
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(calls[i].frame, c.cells[i]) << c.digits << " cell " << i;
            EXPECT_FLOAT_EQ(calls[i].left, 100.0f + 32.0f * static_cast<float>(i)) << c.digits;
            EXPECT_FLOAT_EQ(calls[i].top, 16.0f) << c.digits;
        }
    }
}

TEST_F(FontTest, ZeroCoversTwoHundredFiftySixPixels) {
    DrawNumber("0", 768, 16);
    const std::vector<DrawCall> calls = CallsOf(backend->calls, imgDigits);
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_FLOAT_EQ(calls.front().left, 768.0f);
    EXPECT_FLOAT_EQ(calls.back().left + static_cast<float>(ImageWidth(imgDigits)) - 1.0f, 1023.0f);
    for (const DrawCall& call : calls) {
        EXPECT_EQ(call.frame, 0);
    }
}

TEST_F(FontTest, NumbersSetNoColour) {
    SetColor(1, 2, 3);
    DrawNumber("42", 0, 0);
    SetColor(255, 255, 255);
    for (const DrawCall& call : backend->calls) {
        EXPECT_EQ(call.state.r, 1);
        EXPECT_EQ(call.state.g, 2);
        EXPECT_EQ(call.state.b, 3);
    }
}

TEST_F(FontTest, HighScoreTableColumnsAndRows) {
    const std::vector<int32_t> scores = {1234567, 90000, 8000, 700, 60, 5, 0, 0, 0, -3};
    const std::vector<std::string> names = {"ZED", "A&B", "",  "MAX-1", "J.K",
                                            "W W", "I",   "Q", "lower", "END"};
    for (size_t i = 0; i < 10; ++i) {
        hiScores[i] = scores[i];
        hiNames[i] = names[i];
    }
    DrawHighScores();
    DrawImage(imgBullet, 0, 0, 0);  // shows the colour left behind

    const std::vector<DrawCall>& calls = backend->calls;
    size_t at = 0;
    for (size_t i = 0; i < 10; ++i) {
        const float top = 160.0f + 32.0f * static_cast<float>(i);
        const std::string number = std::to_string(i + 1);
        const std::string score = std::to_string(scores[i]);
        int32_t numberWidth = 0;
        for (char c : number) {
            numberWidth += ShippedWidth(c);
        }
        int32_t scoreWidth = 0;
        for (char c : score) {
            scoreWidth += ShippedWidth(c);
        }
        // Row numbers end at 334, scores at 462; names start at 478.
        ExpectGlyphs(calls, at, number, 334 - numberWidth, top);
        at += number.size();
        ExpectGlyphs(calls, at, score, 462 - scoreWidth, top);
        at += score.size();
        ExpectGlyphs(calls, at, names[i], 478, top);
        at += names[i].size();
    }
    ASSERT_EQ(at + 1, calls.size());
    for (size_t i = 0; i < at; ++i) {
        EXPECT_EQ(calls[i].state.r, 255);
        EXPECT_EQ(calls[i].state.g, 255);
        EXPECT_EQ(calls[i].state.b, 0);
    }
    EXPECT_EQ(calls.back().state.r, 255);
    EXPECT_EQ(calls.back().state.g, 255);
    EXPECT_EQ(calls.back().state.b, 255);
}

TEST_F(FontTest, RowNumbersAlignOnTheRight) {
    DrawHighScores();
    const std::vector<DrawCall> calls = CallsOf(backend->calls, imgFont);
    // The first glyph of each row is its number's first digit.
    std::vector<float> rowStarts;
    float lastTop = -1.0f;
    for (const DrawCall& call : calls) {
        if (call.top != lastTop) {
            rowStarts.push_back(call.left);
            lastTop = call.top;
        }
    }
    ASSERT_EQ(rowStarts.size(), 10u);
    EXPECT_FLOAT_EQ(rowStarts[0], 327.0f);  // "1"
    EXPECT_FLOAT_EQ(rowStarts[1], 320.0f);  // "2"
    EXPECT_FLOAT_EQ(rowStarts[9], 312.0f);  // "10"
    EXPECT_FLOAT_EQ(calls.back().top, 448.0f);
}

// A font picture made in memory, to pin down how a glyph's cell is measured.
class FontMeasureTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        shipped_ = imgFont;
    }
    void TearDown() override {
        imgFont = shipped_;
        MeasureFont();
        GameFixture::TearDown();
    }

    // 40 empty cells of 24x16, then the given pixels set.
    struct Pixel {
        int glyph, x, y;
        uint32_t argb;
    };
    void MeasureSynthetic(const std::vector<Pixel>& pixels) {
        DecodedPicture picture;
        picture.width = 24 * 40;
        picture.height = 16;
        picture.hasAlpha = true;
        picture.pixels.assign(static_cast<size_t>(picture.width * picture.height), 0u);
        for (const Pixel& p : pixels) {
            picture.pixels[static_cast<size_t>(p.y * picture.width + p.glyph * 24 + p.x)] = p.argb;
        }
        synthetic_.reset(MakeImage("synthetic font", picture, 24, 16, 0, 40, 0));
        ASSERT_NE(synthetic_, nullptr);
        imgFont = synthetic_.get();
        MeasureFont();
    }

    Image* shipped_ = nullptr;
    std::unique_ptr<Image> synthetic_;
};

TEST_F(FontMeasureTest, RightmostNonTransparentColumnPlusOne) {
    MeasureSynthetic({
        {1, 5, 15, 0x01000000},  // the faintest alpha counts
        {2, 23, 0, 0xFFFFFFFF},  // the last column gives the full cell
        {3, 0, 7, 0x80FFFFFF},   // only the first column
        {4, 20, 3, 0x00FFFFFF},  // colour without alpha does not count
        {5, 23, 9, 0x00FFFFFF},  // likewise, left of it a real pixel
        {5, 2, 9, 0x40FFFFFF},
        {6, 3, 0, 0xFFFFFFFF},  // the rightmost of several wins
        {6, 11, 15, 0x10FFFFFF},
        {6, 7, 8, 0xFFFFFFFF},
        {37, 10, 3, 0xFFFFFFFF},  // the space is fixed whatever its cell holds
        {39, 23, 15, 0x01000000},
    });
    ASSERT_EQ(fontWidths.size(), 40u);
    EXPECT_EQ(fontWidths[0], 0);
    EXPECT_EQ(fontWidths[1], 6);
    EXPECT_EQ(fontWidths[2], 24);
    EXPECT_EQ(fontWidths[3], 1);
    EXPECT_EQ(fontWidths[4], 0);
    EXPECT_EQ(fontWidths[5], 3);
    EXPECT_EQ(fontWidths[6], 12);
    EXPECT_EQ(fontWidths[37], 6);
    EXPECT_EQ(fontWidths[38], 0);
    EXPECT_EQ(fontWidths[39], 24);
}

TEST_F(FontMeasureTest, EmptySpaceCellStillAdvancesSix) {
    MeasureSynthetic({});
    ASSERT_EQ(fontWidths.size(), 40u);
    for (size_t g = 0; g < 40; ++g) {
        EXPECT_EQ(fontWidths[g], g == 37 ? 6 : 0) << "glyph " << g;
    }
    EXPECT_EQ(FontTextWidth("A B"), 6);
}

TEST_F(FontMeasureTest, MeasuringLeavesThePixelsUnchanged) {
    MeasureSynthetic({{8, 12, 4, 0x7F123456}});
    EXPECT_EQ(fontWidths[8], 13);
    EXPECT_EQ(ReadPixel(LockImage(imgFont, 8), 12, 4), 0x7F123456u);
    UnlockImage(imgFont, 8);
}

}  // namespace
