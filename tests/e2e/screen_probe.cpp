// Reads a screenshot of the game and counts the pixels of one kind inside a
// rectangle, so the real-window test can tell what the screen shows.
//
//   quorvex_screen_probe SHOT.png X Y W H KIND [REFERENCE.png]
//
// KIND is one of the text colours (white, yellow, magenta, cyan), "lit" for
// any pixel that is not dark, or "changed" for a pixel that differs clearly
// from the same pixel of REFERENCE.png (the bare background picture). The
// rectangle is clipped to the picture. Prints the count on one line.
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

// Text glyphs have soft edges and are blended over the background, so a
// channel that the colour has at full strength only has to be clearly high,
// and one it lacks clearly low.
constexpr int kHigh = 160;
constexpr int kLow = 110;
// A pixel whose brightest channel reaches this is not part of a dark backdrop.
constexpr int kLit = 64;
// Smallest per-channel difference that counts as a change.
constexpr int kChanged = 48;

bool Full(int channel) {
    return channel >= kHigh;
}
bool Empty(int channel) {
    return channel <= kLow;
}

bool MatchesColour(const std::string& kind, Rgb c) {
    if (kind == "white") {
        return Full(c.r) && Full(c.g) && Full(c.b);
    }
    if (kind == "yellow") {
        return Full(c.r) && Full(c.g) && Empty(c.b);
    }
    if (kind == "magenta") {
        return Full(c.r) && Empty(c.g) && Full(c.b);
    }
    if (kind == "cyan") {
        return Empty(c.r) && Full(c.g) && Full(c.b);
    }
    // "lit"
    return c.r >= kLit || c.g >= kLit || c.b >= kLit;
}

bool Differs(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) >= kChanged || std::abs(a.g - b.g) >= kChanged ||
           std::abs(a.b - b.b) >= kChanged;
}

bool Load(const char* path, DecodedPicture& picture) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
        return false;
    }
    return DecodePng(bytes.data(), bytes.size(), picture);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: quorvex_screen_probe SHOT.png X Y W H "
                 "white|yellow|magenta|cyan|lit|changed [REFERENCE.png]\n");
    return 2;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7 && argc != 8) {
        return Usage();
    }
    int x0 = 0, y0 = 0, w = 0, h = 0;
    if (!ParseInt(argv[2], x0) || !ParseInt(argv[3], y0) || !ParseInt(argv[4], w) ||
        !ParseInt(argv[5], h)) {
        return Usage();
    }
    const std::string kind = argv[6];
    const bool changed = kind == "changed";
    if (kind != "white" && kind != "yellow" && kind != "magenta" && kind != "cyan" &&
        kind != "lit" && !changed) {
        return Usage();
    }
    if (changed != (argc == 8)) {
        return Usage();
    }

    DecodedPicture shot;
    if (!Load(argv[1], shot)) {
        std::fprintf(stderr, "cannot read picture %s\n", argv[1]);
        return 1;
    }
    DecodedPicture reference;
    if (changed) {
        if (!Load(argv[7], reference)) {
            std::fprintf(stderr, "cannot read picture %s\n", argv[7]);
            return 1;
        }
        if (reference.width != shot.width || reference.height != shot.height) {
            std::fprintf(stderr, "%s and %s differ in size\n", argv[1], argv[7]);
            return 1;
        }
    }

    long count = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y0 + h && y < shot.height; ++y) {
        for (int x = x0 < 0 ? 0 : x0; x < x0 + w && x < shot.width; ++x) {
            const size_t at = static_cast<size_t>(y) * shot.width + x;
            const Rgb c = Channels(shot.pixels[at]);
            const bool match =
                changed ? Differs(c, Channels(reference.pixels[at])) : MatchesColour(kind, c);
            count += match ? 1 : 0;
        }
    }
    std::printf("%ld\n", count);
    return 0;
}
