#include "glyphs.h"

namespace {

// Stroke sizes: vertical stems, top and bottom bars, middle bars centred on y = 8.
constexpr float kStem = 3;
constexpr float kBar = 2;
constexpr float kMidBar = 2;
constexpr float kRound = 4;  // outer corner radius of the round letters

constexpr float Y0 = kGlyphTop;
constexpr float Y1 = kGlyphTop + kBar;
constexpr float Y2 = kGlyphBottom - kBar;
constexpr float Y3 = kGlyphBottom;
constexpr float M0 = 8 - kMidBar / 2;
constexpr float M1 = 8 + kMidBar / 2;

struct Entry {
    char c;
    float body;
};

// Body widths; the font's advances come out one pixel wider.
constexpr Entry kBodies[] = {
    {'0', 14}, {'1', 6},  {'2', 13}, {'3', 13}, {'4', 14}, {'5', 13}, {'6', 13}, {'7', 14},
    {'8', 13}, {'9', 14}, {'A', 14}, {'B', 13}, {'C', 14}, {'D', 14}, {'E', 14}, {'F', 14},
    {'G', 13}, {'H', 14}, {'I', 3},  {'J', 11}, {'K', 13}, {'L', 11}, {'M', 19}, {'N', 13},
    {'O', 14}, {'P', 13}, {'Q', 14}, {'R', 13}, {'S', 13}, {'T', 14}, {'U', 14}, {'V', 15},
    {'W', 19}, {'X', 14}, {'Y', 13}, {'Z', 13}, {'.', 3},  {' ', 0},  {'-', 11}, {'&', 14},
};

// A closed rounded frame: the outer box minus the box inset by the stroke sizes.
void Ring(Shape& s, float x0, float x1, float r) {
    s.Add(Box(x0, Y0, x1, Y3, r));
    s.Cut(Box(x0 + kStem, Y1, x1 - kStem, Y2, r > kStem ? r - kStem : 1));
}

Shape Digit(char c) {
    Shape s;
    switch (c) {
        case '0':
            Ring(s, 0, 14, kRound);
            s.Add(Bar({10.4f, 4.6f}, {3.6f, 11.4f}, 2.0f));
            break;
        case '1':
            s.Add(Box(3, Y0, 6, Y3));
            s.Add(Polygon({{0, 4.6f}, {3.2f, Y0}, {3.2f, 5.4f}, {0, 7.8f}}));
            break;
        case '2':
            s.Add(Box4(0, Y0, 13, M1, kRound, kRound, 1.5f, 0));
            s.Cut(Box4(-1, Y1, 10, M0, 0, 1, 0, 0));
            s.Add(Box(0, M0, 3, Y3));
            s.Add(Box(0, Y2, 13, Y3));
            break;
        case '3':
            s.Add(Box4(0, Y0, 13, Y3, 0, kRound, kRound, 0));
            s.Cut(Box4(-1, Y1, 10, M0, 0, 1, 1, 0));
            s.Cut(Box4(-1, M1, 10, Y2, 0, 1, 1, 0));
            s.Cut(Box(-1, M0 - 0.1f, 4, M1 + 0.1f));
            break;
        case '4':
            s.Add(Box(0, Y0, 3, M1 + 1));
            s.Add(Box(0, M0 + 1, 14, M1 + 1));
            s.Add(Box(9, Y0, 12, Y3));
            break;
        case '5':
            s.Add(Box(0, Y0, 13, Y1));
            s.Add(Box(0, Y0, 3, M1));
            s.Add(Box4(0, M0, 13, Y3, 0, kRound, kRound, 0));
            s.Cut(Box4(-1, M1, 10, Y2, 0, 1, 1, 0));
            break;
        case '6':
            s.Add(Box(0, Y0, 13, Y3, kRound));
            s.Cut(Box(3, M1, 10, Y2, 1));
            s.Cut(Box4(3, Y1, 14, M0, 1, 0, 0, 1));
            break;
        case '7':
            s.Add(Box(0, Y0, 14, Y1));
            s.Add(Polygon({{10.4f, Y1 - 0.5f}, {14, Y1 - 0.5f}, {7.4f, Y3}, {3.8f, Y3}}));
            break;
        case '8':
            s.Add(Box(0, Y0, 13, Y3, kRound));
            s.Cut(Box(3, Y1, 10, M0, 1));
            s.Cut(Box(3, M1, 10, Y2, 1));
            s.Cut(Polygon({{-1, M0 - 0.6f}, {0.9f, 8}, {-1, M1 + 0.6f}}));
            s.Cut(Polygon({{14, M0 - 0.6f}, {12.1f, 8}, {14, M1 + 0.6f}}));
            break;
        case '9':
            s.Add(Box(0, Y0, 14, Y3, kRound));
            s.Cut(Box(3, Y1, 11, M0, 1));
            s.Cut(Box4(-1, M1, 11, Y2, 0, 1, 1, 0));
            break;
        default:
            break;
    }
    return s;
}

Shape Letter(char c) {
    Shape s;
    switch (c) {
        case 'A':
            s.Add(Box4(0, Y0, 14, Y3, 5, 5, 0, 0));
            s.Cut(Box4(3, Y1, 11, M0 + 1, 1.5f, 1.5f, 0, 0));
            s.Cut(Box(3, M1 + 1, 11, Y3 + 1));
            break;
        case 'B':
            s.Add(Box4(0, Y0, 13, Y3, 0, 3.5f, 3.5f, 0));
            s.Cut(Box4(3, Y1, 10, M0, 0, 1, 1, 0));
            s.Cut(Box4(3, M1, 10, Y2, 0, 1, 1, 0));
            s.Cut(Polygon({{13.5f, M0 - 0.4f}, {11.9f, 8}, {13.5f, M1 + 0.4f}}));
            break;
        case 'C':
            Ring(s, 0, 14, kRound);
            s.Cut(Box(10.5f, Y1 + 1, 15, Y2 - 1));
            break;
        case 'D':
            s.Add(Box4(0, Y0, 14, Y3, 0, 5, 5, 0));
            s.Cut(Box4(3, Y1, 11, Y2, 0, 2, 2, 0));
            break;
        case 'E':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(0, Y0, 14, Y1));
            s.Add(Box(0, M0, 12, M1));
            s.Add(Box(0, Y2, 14, Y3));
            break;
        case 'F':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(0, Y0, 14, Y1));
            s.Add(Box(0, M0, 12, M1));
            break;
        case 'G':
            Ring(s, 0, 13, kRound);
            s.Cut(Box(10 - 0.01f, Y1, 14, M0));
            s.Add(Box(6, M0, 13, M1));
            break;
        case 'H':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(11, Y0, 14, Y3));
            s.Add(Box(0, M0, 14, M1));
            break;
        case 'I':
            s.Add(Box(0, Y0, 3, Y3));
            break;
        case 'J':
            s.Add(Box4(0, Y0, 11, Y3, 0, 0, kRound, kRound));
            s.Cut(Box4(3, Y0 - 1, 8, Y2, 0, 0, 1, 1));
            s.Cut(Box(-1, Y0 - 1, 3, M1));
            break;
        case 'K':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Bar({1.5f, 10.0f}, {12.0f, 1.0f}, 3.4f));
            s.Add(Bar({6.2f, 7.0f}, {12.0f, 14.8f}, 3.4f));
            break;
        case 'L':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(0, Y2, 11, Y3));
            break;
        case 'M':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(16, Y0, 19, Y3));
            s.Add(Bar({1.5f, 1.0f}, {9.5f, 9.8f}, 3.4f));
            s.Add(Bar({17.5f, 1.0f}, {9.5f, 9.8f}, 3.4f));
            break;
        case 'N':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(10, Y0, 13, Y3));
            s.Add(Bar({1.5f, 1.2f}, {11.5f, 14.8f}, 3.6f));
            break;
        case 'O':
            Ring(s, 0, 14, kRound + 1);
            break;
        case 'P':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box4(0, Y0, 13, M1, 0, kRound, kRound, 0));
            s.Cut(Box4(3, Y1, 10, M0, 0, 1, 1, 0));
            break;
        case 'Q':
            Ring(s, 0, 14, kRound + 1);
            s.Add(Bar({8.0f, 9.0f}, {14.6f, 15.6f}, 3.0f));
            break;
        case 'R':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box4(0, Y0, 13, M1, 0, kRound, kRound, 0));
            s.Cut(Box4(3, Y1, 10, M0, 0, 1, 1, 0));
            s.Add(Polygon({{6.0f, M1 - 0.5f}, {9.6f, M1 - 0.5f}, {13.4f, Y3}, {9.8f, Y3}}));
            break;
        case 'S':
            s.Add(Box4(0, Y0, 13, M1, kRound, 2, 0, 2.5f));
            s.Cut(Box4(3, Y1, 14, M0, 1, 0, 0, 0));
            s.Add(Box4(0, M1 - 0.01f, 13, Y3, 0, 0, kRound, 2));
            s.Cut(Box4(-1, M1, 10, Y2, 0, 0, 1, 0));
            break;
        case 'T':
            s.Add(Box(0, Y0, 14, Y1));
            s.Add(Box(5, Y0, 8, Y3));
            break;
        case 'U':
            s.Add(Box4(0, Y0, 14, Y3, 0, 0, kRound, kRound));
            s.Cut(Box4(3, Y0 - 1, 11, Y2, 0, 0, 1, 1));
            break;
        case 'V':
            s.Add(Polygon({{0, Y0},
                           {3.4f, Y0},
                           {7.5f, 10.6f},
                           {11.6f, Y0},
                           {15, Y0},
                           {9.3f, Y3},
                           {5.7f, Y3}}));
            break;
        case 'W':
            s.Add(Box(0, Y0, 3, Y3));
            s.Add(Box(16, Y0, 19, Y3));
            s.Add(Bar({1.5f, 15.0f}, {9.5f, 6.2f}, 3.4f));
            s.Add(Bar({17.5f, 15.0f}, {9.5f, 6.2f}, 3.4f));
            break;
        case 'X':
            s.Add(Bar({1.2f, 1.0f}, {12.8f, 15.0f}, 3.6f));
            s.Add(Bar({12.8f, 1.0f}, {1.2f, 15.0f}, 3.6f));
            break;
        case 'Y':
            s.Add(Bar({1.5f, 1.2f}, {6.5f, 8.5f}, 3.4f));
            s.Add(Bar({11.5f, 1.2f}, {6.5f, 8.5f}, 3.4f));
            s.Add(Box(5, 8, 8, Y3));
            break;
        case 'Z':
            s.Add(Box(0, Y0, 13, Y1));
            s.Add(Box(0, Y2, 13, Y3));
            s.Add(Polygon({{9.4f, Y1 - 0.5f}, {13, Y1 - 0.5f}, {3.6f, Y2 + 0.5f}, {0, Y2 + 0.5f}}));
            break;
        default:
            break;
    }
    return s;
}

Shape Sign(char c) {
    Shape s;
    switch (c) {
        case '.':
            s.Add(Box(0, Y3 - 3, 3, Y3, 0.7f));
            break;
        case '-':
            s.Add(Box(0, M0, 11, M1));
            break;
        case '&':
            // Small loop on top, a larger bowl below, the leg crossing to the bottom right.
            s.Add(Box(1, Y0, 9.5f, 8.2f, 3));
            s.Cut(Box(3.6f, 4.4f, 6.9f, 6.0f, 0.8f));
            s.Add(Box4(0, 7, 9, Y3, 2.5f, 0, 3, 3.5f));
            s.Cut(Box(2.8f, 9.6f, 7.6f, 11.6f, 1));
            s.Add(Bar({3.8f, 6.4f}, {13.8f, 15.0f}, 3.0f));
            s.Add(Bar({9.2f, 11.4f}, {13.4f, 7.0f}, 2.6f));
            break;
        default:
            break;
    }
    return s;
}

}  // namespace

bool HasGlyph(char c) {
    for (const Entry& e : kBodies) {
        if (e.c == c) {
            return true;
        }
    }
    return false;
}

float GlyphBodyWidth(char c) {
    for (const Entry& e : kBodies) {
        if (e.c == c) {
            return e.body;
        }
    }
    return 0;
}

Shape GlyphShape(char c) {
    if (c >= '0' && c <= '9') {
        return Digit(c);
    }
    if (c >= 'A' && c <= 'Z') {
        return Letter(c);
    }
    return Sign(c);
}
