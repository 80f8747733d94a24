// Big lettering for the title pictures, built from the font's letter designs.
#pragma once

#include <string>
#include <vector>

#include "image.h"

struct LetterStyle {
    float sx = 3, sy = 3;  // pixels per font pixel, across and down
    float slant = 0;       // sideways lean of the tops, pixels per pixel of height
    float gap = 2;         // font pixels between letters
    float space = 6;       // font pixels for a space
};

// Width in pixels of the text's letter bodies, gaps included, slant not.
float TextWidth(const std::string& text, const LetterStyle& style);
// Height in pixels of a line of letters.
float TextHeight(const LetterStyle& style);
// Fills the text into the mask: left edge of the first letter at x, letter tops at y.
void TextMask(Mask& m, const std::string& text, float x, float y, const LetterStyle& style);

// How a line of lettering is painted.
struct TextLook {
    std::vector<Stop> fill;  // colour from the letter tops (0) to their bottoms (1)
    Colour outline;
    float outlineWidth = 2;
    Colour glow;
    float glowSize = 4;  // blur of the glow around the outline, pixels
    float glowStrength = 0;
    int bevel = 2;  // width of the lit and shaded letter edges, pixels
};

// Paints the text centred on x = cx with its letter tops at y = top.
void PaintText(Image& img, const std::string& text, float cx, float top, const LetterStyle& style,
               const TextLook& look);
