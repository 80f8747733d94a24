// Reads a screenshot of the game and tells whether it shows what the
// real-window test expects, from checks given as arguments:
//
//   quorvex_screen_probe SHOT.png BACKGROUND.png FONT.png CHECK...
//
// Each CHECK is one argument, either
//
//   "count KIND X Y W H OP N"
//     the number of pixels of KIND in the rectangle (clipped to the shot)
//     compared with N; KIND is a text colour (white, yellow, magenta, cyan),
//     "lit" (not dark) or "changed" (clearly different from the same pixel
//     of BACKGROUND.png, the bare backdrop);
//
//   "text X Y ALIGN COLOUR OP PERCENT TEXT"
//     the percentage of the solid pixels of TEXT, laid out in the game's
//     bitmap font from FONT.png with the top of the glyphs at Y and aligned
//     left, centre or right on X, that show COLOUR, compared with PERCENT.
//     Text is drawn over everything behind it, so its solid pixels show the
//     text colour whatever moves underneath.
//
// OP is ">=" or "<". Prints every check that does not hold, with what was
// measured, and exits 1 if there is one; exits 0 when all hold and 2 when
// the arguments or pictures cannot be used.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/image.h"

namespace {

struct Rgb {
    int r, g, b;
};

Rgb Channels(uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

int Alpha(uint32_t pixel) {
    return static_cast<int>(pixel >> 24);
}

Rgb At(const DecodedPicture& picture, int x, int y) {
    return Channels(picture.pixels[static_cast<size_t>(y) * picture.width + x]);
}

bool Load(const char* path, DecodedPicture& picture) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return DecodePng(bytes.data(), bytes.size(), picture);
}

bool ParseInt(const std::string& text, int& out) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < -100000 || value > 10000000) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

bool ParseColour(const std::string& name, Rgb& out) {
    if (name == "white") {
        out = {255, 255, 255};
    } else if (name == "yellow") {
        out = {255, 255, 0};
    } else if (name == "magenta") {
        out = {255, 0, 255};
    } else if (name == "cyan") {
        out = {0, 255, 255};
    } else {
        return false;
    }
    return true;
}

struct Pictures {
    DecodedPicture shot, background, font;
};

// ---- Counting pixels ----------------------------------------------------------

// Glyph edges are soft and blended over the backdrop, so a channel the colour
// has at full strength only has to be clearly high, one it lacks clearly low.
constexpr int kHigh = 160;
constexpr int kLow = 110;
// A pixel whose brightest channel reaches this is not part of a dark backdrop.
constexpr int kLit = 64;
// Smallest per-channel difference from the backdrop that counts as a change.
constexpr int kChanged = 48;

bool Near(int channel, int full) {
    return full != 0 ? channel >= kHigh : channel <= kLow;
}

bool Differs(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) >= kChanged || std::abs(a.g - b.g) >= kChanged ||
           std::abs(a.b - b.b) >= kChanged;
}

// Sets measured to the count; false when the kind is unknown.
bool CountPixels(const Pictures& p, const std::string& kind, int x0, int y0, int w, int h,
                 long& measured) {
    const bool changed = kind == "changed";
    const bool lit = kind == "lit";
    Rgb colour{};
    if (!changed && !lit && !ParseColour(kind, colour)) {
        return false;
    }
    measured = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < p.shot.height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < p.shot.width; ++x) {
            const Rgb c = At(p.shot, x, y);
            bool match = false;
            if (changed) {
                match = Differs(c, At(p.background, x, y));
            } else if (lit) {
                match = c.r >= kLit || c.g >= kLit || c.b >= kLit;
            } else {
                match = Near(c.r, colour.r) && Near(c.g, colour.g) && Near(c.b, colour.b);
            }
            measured += match ? 1 : 0;
        }
    }
    return true;
}

// ---- Text in the game's font ----------------------------------------------------

// The font picture: 40 cells of 24x16, five to a row, in this glyph order;
// any other character is drawn as the space.
const std::string kCharset = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&";
constexpr int kCellWidth = 24;
constexpr int kCellHeight = 16;
constexpr int kCellsPerRow = 5;
constexpr int kSpaceGlyph = 37;
constexpr int kSpaceAdvance = 6;
// A solid pixel of the screen may differ this much per channel from the
// exact text colour (rounding in the display's blending).
constexpr int kSolidTolerance = 40;

int GlyphOf(char c) {
    const size_t at = kCharset.find(c);
    return at == std::string::npos ? kSpaceGlyph : static_cast<int>(at);
}

uint32_t GlyphPixel(const DecodedPicture& font, int glyph, int x, int y) {
    const int left = glyph % kCellsPerRow * kCellWidth;
    const int top = glyph / kCellsPerRow * kCellHeight;
    return font.pixels[static_cast<size_t>(top + y) * font.width + left + x];
}

// The pen's advance: up to and including the rightmost column holding any
// pixel that is not fully transparent; the empty space glyph has a fixed one.
int Advance(const DecodedPicture& font, int glyph) {
    if (glyph == kSpaceGlyph) {
        return kSpaceAdvance;
    }
    for (int x = kCellWidth - 1; x >= 0; --x) {
        for (int y = 0; y < kCellHeight; ++y) {
            if (Alpha(GlyphPixel(font, glyph, x, y)) != 0) {
                return x + 1;
            }
        }
    }
    return 0;
}

// Sets measured to the percentage; false when the text has no solid pixel
// on the screen.
bool TextShown(const Pictures& p, const std::string& text, int x, int y, const std::string& align,
               Rgb colour, long& measured) {
    int width = 0;
    for (char c : text) {
        width += Advance(p.font, GlyphOf(c));
    }
    if (align == "centre") {
        x -= width / 2;
    } else if (align == "right") {
        x -= width;
    }
    long solid = 0, shown = 0;
    for (char c : text) {
        const int glyph = GlyphOf(c);
        for (int gy = 0; gy < kCellHeight; ++gy) {
            for (int gx = 0; gx < kCellWidth; ++gx) {
                const int sx = x + gx, sy = y + gy;
                if (Alpha(GlyphPixel(p.font, glyph, gx, gy)) != 255 || sx < 0 || sy < 0 ||
                    sx >= p.shot.width || sy >= p.shot.height) {
                    continue;
                }
                const Rgb s = At(p.shot, sx, sy);
                ++solid;
                if (std::abs(s.r - colour.r) <= kSolidTolerance &&
                    std::abs(s.g - colour.g) <= kSolidTolerance &&
                    std::abs(s.b - colour.b) <= kSolidTolerance) {
                    ++shown;
                }
            }
        }
        x += Advance(p.font, glyph);
    }
    if (solid == 0) {
        return false;
    }
    measured = shown * 100 / solid;
    return true;
}

// ---- Checks ---------------------------------------------------------------------

enum class Outcome { kHolds, kFails, kUnusable };

bool Compare(long measured, const std::string& op, int limit, bool& holds) {
    if (op == ">=") {
        holds = measured >= limit;
    } else if (op == "<") {
        holds = measured < limit;
    } else {
        return false;
    }
    return true;
}

Outcome Check(const Pictures& p, const std::string& check) {
    std::istringstream in(check);
    std::string what;
    in >> what;
    long measured = 0;
    std::string op, limitText;
    if (what == "count") {
        std::string kind, xs, ys, ws, hs;
        in >> kind >> xs >> ys >> ws >> hs >> op >> limitText;
        int x = 0, y = 0, w = 0, h = 0;
        std::string rest;
        if (!ParseInt(xs, x) || !ParseInt(ys, y) || !ParseInt(ws, w) || !ParseInt(hs, h) ||
            (in >> rest) || !CountPixels(p, kind, x, y, w, h, measured)) {
            return Outcome::kUnusable;
        }
    } else if (what == "text") {
        std::string xs, ys, align, colourName;
        in >> xs >> ys >> align >> colourName >> op >> limitText;
        std::string text;
        std::getline(in, text);
        if (!text.empty() && text[0] == ' ') {
            text.erase(0, 1);
        }
        int x = 0, y = 0;
        Rgb colour{};
        if (!ParseInt(xs, x) || !ParseInt(ys, y) || !ParseColour(colourName, colour) ||
            (align != "left" && align != "centre" && align != "right") || text.empty() ||
            !TextShown(p, text, x, y, align, colour, measured)) {
            return Outcome::kUnusable;
        }
    } else {
        return Outcome::kUnusable;
    }
    int limit = 0;
    bool holds = false;
    if (!ParseInt(limitText, limit) || !Compare(measured, op, limit, holds)) {
        return Outcome::kUnusable;
    }
    if (!holds) {
        std::printf("%s: measured %ld\n", check.c_str(), measured);
        return Outcome::kFails;
    }
    return Outcome::kHolds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: quorvex_screen_probe SHOT.png BACKGROUND.png FONT.png CHECK...\n"
                     "  CHECK: \"count KIND X Y W H >=|< N\" with KIND "
                     "white|yellow|magenta|cyan|lit|changed\n"
                     "         \"text X Y left|centre|right COLOUR >=|< PERCENT TEXT\"\n");
        return 2;
    }
    Pictures p;
    const char* names[] = {argv[1], argv[2], argv[3]};
    DecodedPicture* pictures[] = {&p.shot, &p.background, &p.font};
    for (int i = 0; i < 3; ++i) {
        if (!Load(names[i], *pictures[i])) {
            std::fprintf(stderr, "cannot read picture %s\n", names[i]);
            return 2;
        }
    }
    if (p.background.width != p.shot.width || p.background.height != p.shot.height) {
        std::fprintf(stderr, "%s and %s differ in size\n", argv[1], argv[2]);
        return 2;
    }
    if (p.font.width != kCellWidth * kCellsPerRow ||
        p.font.height * kCellsPerRow != kCellHeight * static_cast<int>(kCharset.size())) {
        std::fprintf(stderr, "%s is not a font picture\n", argv[3]);
        return 2;
    }

    int status = 0;
    for (int i = 4; i < argc; ++i) {
        const Outcome outcome = Check(p, argv[i]);
        if (outcome == Outcome::kUnusable) {
            std::fprintf(stderr, "cannot use the check \"%s\"\n", argv[i]);
            return 2;
        }
        if (outcome == Outcome::kFails) {
            status = 1;
        }
    }
    return status;
}
