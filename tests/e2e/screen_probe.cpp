// Reads a screenshot of the game so the real-window test can tell what the
// screen shows. Two questions, one per run, the answer printed on one line:
//
//   quorvex_screen_probe count SHOT.png X Y W H KIND [BACKGROUND.png]
//     How many pixels of the rectangle are of KIND: a text colour (white,
//     yellow, magenta, cyan), "lit" (not dark), or "changed" (clearly
//     different from the same pixel of BACKGROUND.png). Clipped to the shot.
//
//   quorvex_screen_probe text SHOT.png FONT.png X Y left|centre|right COLOUR TEXT
//     What percentage of the solid pixels of TEXT, laid out in the game's
//     bitmap font at (X, Y) with the top of the glyphs at Y, show COLOUR on
//     the screen. The text is drawn over everything behind it, so its solid
//     pixels show the text colour whatever moves underneath.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

bool Load(const char* path, DecodedPicture& picture) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return DecodePng(bytes.data(), bytes.size(), picture);
}

bool ParseInt(const char* text, int& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < -100000 || value > 100000) {
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

// ---- count ------------------------------------------------------------------

// Glyph edges are soft and blended over the background, so a channel the
// colour has at full strength only has to be clearly high, one it lacks
// clearly low.
constexpr int kHigh = 160;
constexpr int kLow = 110;
// A pixel whose brightest channel reaches this is not part of a dark backdrop.
constexpr int kLit = 64;
// Smallest per-channel difference from the background that counts as a change.
constexpr int kChanged = 48;

bool Near(int channel, int full) {
    return full != 0 ? channel >= kHigh : channel <= kLow;
}

bool Differs(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) >= kChanged || std::abs(a.g - b.g) >= kChanged ||
           std::abs(a.b - b.b) >= kChanged;
}

int Count(int argc, char** argv) {
    if (argc != 8 && argc != 9) {
        return 2;
    }
    int x0 = 0, y0 = 0, w = 0, h = 0;
    if (!ParseInt(argv[3], x0) || !ParseInt(argv[4], y0) || !ParseInt(argv[5], w) ||
        !ParseInt(argv[6], h)) {
        return 2;
    }
    const std::string kind = argv[7];
    const bool changed = kind == "changed";
    const bool lit = kind == "lit";
    Rgb colour{};
    if (!changed && !lit && !ParseColour(kind, colour)) {
        return 2;
    }
    if (changed != (argc == 9)) {
        return 2;
    }

    DecodedPicture shot;
    if (!Load(argv[2], shot)) {
        std::fprintf(stderr, "cannot read picture %s\n", argv[2]);
        return 1;
    }
    DecodedPicture background;
    if (changed) {
        if (!Load(argv[8], background)) {
            std::fprintf(stderr, "cannot read picture %s\n", argv[8]);
            return 1;
        }
        if (background.width != shot.width || background.height != shot.height) {
            std::fprintf(stderr, "%s and %s differ in size\n", argv[2], argv[8]);
            return 1;
        }
    }

    long count = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < shot.height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < shot.width; ++x) {
            const size_t at = static_cast<size_t>(y) * shot.width + x;
            const Rgb c = Channels(shot.pixels[at]);
            bool match = false;
            if (changed) {
                match = Differs(c, Channels(background.pixels[at]));
            } else if (lit) {
                match = c.r >= kLit || c.g >= kLit || c.b >= kLit;
            } else {
                match = Near(c.r, colour.r) && Near(c.g, colour.g) && Near(c.b, colour.b);
            }
            count += match ? 1 : 0;
        }
    }
    std::printf("%ld\n", count);
    return 0;
}

// ---- text -------------------------------------------------------------------

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

struct Font {
    const DecodedPicture* picture;

    uint32_t Pixel(int glyph, int x, int y) const {
        const int left = glyph % kCellsPerRow * kCellWidth;
        const int top = glyph / kCellsPerRow * kCellHeight;
        return picture->pixels[static_cast<size_t>(top + y) * picture->width + left + x];
    }

    // The pen's advance: up to and including the rightmost column holding
    // any pixel that is not fully transparent; the empty space glyph gets a
    // fixed advance.
    int Advance(int glyph) const {
        if (glyph == kSpaceGlyph) {
            return kSpaceAdvance;
        }
        for (int x = kCellWidth - 1; x >= 0; --x) {
            for (int y = 0; y < kCellHeight; ++y) {
                if (Alpha(Pixel(glyph, x, y)) != 0) {
                    return x + 1;
                }
            }
        }
        return 0;
    }
};

int GlyphOf(char c) {
    const size_t at = kCharset.find(c);
    return at == std::string::npos ? kSpaceGlyph : static_cast<int>(at);
}

int Text(int argc, char** argv) {
    if (argc != 9) {
        return 2;
    }
    int x = 0, y = 0;
    Rgb colour{};
    const std::string align = argv[6];
    if (!ParseInt(argv[4], x) || !ParseInt(argv[5], y) || !ParseColour(argv[7], colour) ||
        (align != "left" && align != "centre" && align != "right")) {
        return 2;
    }
    const std::string text = argv[8];

    DecodedPicture shot, fontPicture;
    if (!Load(argv[2], shot)) {
        std::fprintf(stderr, "cannot read picture %s\n", argv[2]);
        return 1;
    }
    if (!Load(argv[3], fontPicture) || fontPicture.width != kCellWidth * kCellsPerRow ||
        fontPicture.height * kCellsPerRow != kCellHeight * static_cast<int>(kCharset.size())) {
        std::fprintf(stderr, "cannot read the font picture %s\n", argv[3]);
        return 1;
    }
    const Font font{&fontPicture};

    int width = 0;
    for (char c : text) {
        width += font.Advance(GlyphOf(c));
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
                if (Alpha(font.Pixel(glyph, gx, gy)) != 255) {
                    continue;
                }
                const int sx = x + gx, sy = y + gy;
                if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) {
                    continue;
                }
                const Rgb s = Channels(shot.pixels[static_cast<size_t>(sy) * shot.width + sx]);
                ++solid;
                if (std::abs(s.r - colour.r) <= kSolidTolerance &&
                    std::abs(s.g - colour.g) <= kSolidTolerance &&
                    std::abs(s.b - colour.b) <= kSolidTolerance) {
                    ++shown;
                }
            }
        }
        x += font.Advance(glyph);
    }
    if (solid == 0) {
        std::fprintf(stderr, "the text \"%s\" has no solid pixel on the screen\n", text.c_str());
        return 1;
    }
    std::printf("%ld\n", shown * 100 / solid);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    int status = 2;
    if (command == "count") {
        status = Count(argc, argv);
    } else if (command == "text") {
        status = Text(argc, argv);
    }
    if (status == 2) {
        std::fprintf(stderr,
                     "usage: quorvex_screen_probe count SHOT.png X Y W H "
                     "white|yellow|magenta|cyan|lit|changed [BACKGROUND.png]\n"
                     "       quorvex_screen_probe text SHOT.png FONT.png X Y "
                     "left|centre|right white|yellow|magenta|cyan TEXT\n");
    }
    return status;
}
