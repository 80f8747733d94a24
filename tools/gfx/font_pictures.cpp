// The bitmap font and the big score digits.
#include <algorithm>
#include <cstdio>

#include "glyphs.h"
#include "pictures.h"

const char kCharset[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ. -&";

namespace {

constexpr int kCellW = 24;
constexpr int kCellH = 16;
constexpr int kCellsPerRow = 5;
constexpr int kGlyphCount = 40;

// The advances the game's screen layout is designed around, in charset order.
constexpr int kExpectedWidths[kGlyphCount] = {
    15, 7,  14, 14, 15, 14, 14, 15, 14, 15,                                  // 0-9
    15, 14, 15, 15, 15, 15, 14, 15, 4,  12, 14, 12, 20, 14, 15, 14, 15, 14,  // A-R
    14, 15, 15, 16, 20, 15, 14, 14,                                          // S-Z
    4,  0,  12, 15,                                                          // . space - &
};

// Strength of the soft edge next to a solid pixel, straight and diagonal.
constexpr float kEdgeStraight = 0.25f;
constexpr float kEdgeDiagonal = 0.12f;

// One glyph's alpha: the anti-aliased body plus a faint one-pixel rim around it. The body
// is clipped to its box, so the rim ends exactly one column right of the body.
Mask GlyphAlpha(char c) {
    Mask body(kCellW, kCellH);
    Clip clip{0, kGlyphTop, GlyphBodyWidth(c), kGlyphBottom};
    Rasterise(GlyphShape(c), body, Xform{}, 8, clip);
    Mask alpha(kCellW, kCellH);
    for (int y = 0; y < kCellH; ++y) {
        for (int x = 0; x < kCellW; ++x) {
            float straight = std::max(
                {body.Get(x - 1, y), body.Get(x + 1, y), body.Get(x, y - 1), body.Get(x, y + 1)});
            float diagonal = std::max({body.Get(x - 1, y - 1), body.Get(x + 1, y - 1),
                                       body.Get(x - 1, y + 1), body.Get(x + 1, y + 1)});
            float rim = std::max(straight * kEdgeStraight, diagonal * kEdgeDiagonal);
            alpha.At(x, y) = std::max(body.Get(x, y), rim);
        }
    }
    return alpha;
}

Image MakeFont() {
    Image font(kCellW * kCellsPerRow, kCellH * (kGlyphCount / kCellsPerRow));
    Colour white{1, 1, 1, 1};
    for (int g = 0; g < kGlyphCount; ++g) {
        Mask alpha = GlyphAlpha(kCharset[g]);
        int ox = (g % kCellsPerRow) * kCellW, oy = (g / kCellsPerRow) * kCellH;
        for (int y = 0; y < kCellH; ++y) {
            for (int x = 0; x < kCellW; ++x) {
                font.Blend(ox + x, oy + y, white, alpha.Get(x, y));
            }
        }
    }
    return font;
}

// Score digits: the font's digit shapes enlarged, white at the top warming to gold at the
// bottom, with a dark outline so they read over anything.
Image MakeDigits() {
    constexpr int kCell = 32;
    constexpr float kScaleX = 1.75f, kScaleY = 2.0f;
    Image digits(kCell * 5, kCell * 2);
    for (int d = 0; d < 10; ++d) {
        char c = static_cast<char>('0' + d);
        Mask body(kCell, kCell);
        Xform xf;
        xf.sx = kScaleX;
        xf.sy = kScaleY;
        xf.ox = (kCell - GlyphBodyWidth(c) * kScaleX) / 2;
        xf.oy = (kCell - (kGlyphBottom - kGlyphTop) * kScaleY) / 2 - kGlyphTop * kScaleY;
        Rasterise(GlyphShape(c), body, xf, 6, Clip{0, kGlyphTop, GlyphBodyWidth(c), kGlyphBottom});
        Mask outline = Dilate(body, 1.6f);
        Mask shadow = Shift(Dilate(body, 1.6f), 1, 1);
        Mask bevel = Subtract(body, Shift(body, 1, 1));  // lit upper-left edges

        Image cell(kCell, kCell);
        cell.Paint(shadow, [](int, int) { return Rgb(0, 0, 0, 0.6f); });
        cell.Paint(outline, [](int, int) { return Rgb(24, 16, 48); });
        cell.Paint(body, [&](int, int y) {
            float t = (y - xf.oy - kGlyphTop * kScaleY) / ((kGlyphBottom - kGlyphTop) * kScaleY);
            return Ramp(
                {Rgb(255, 255, 255), Rgb(255, 250, 190), Rgb(255, 214, 60), Rgb(240, 150, 20)}, t);
        });
        cell.Paint(bevel, [](int, int) { return Rgb(255, 255, 255, 0.7f); });
        digits.Draw(cell, (d % 5) * kCell, (d / 5) * kCell);
    }
    return digits;
}

}  // namespace

std::vector<int> MeasureFontWidths(const Image& font) {
    std::vector<int> widths(kGlyphCount, 0);
    std::vector<uint8_t> rgba = font.ToRgba8();  // measure the bytes the game will load
    for (int g = 0; g < kGlyphCount; ++g) {
        int ox = (g % kCellsPerRow) * kCellW, oy = (g / kCellsPerRow) * kCellH;
        for (int x = kCellW - 1; x >= 0 && widths[g] == 0; --x) {
            for (int y = 0; y < kCellH; ++y) {
                size_t i = (static_cast<size_t>(oy + y) * font.Width() + ox + x) * 4 + 3;
                if (rgba[i] != 0) {
                    widths[g] = x + 1;
                    break;
                }
            }
        }
    }
    return widths;
}

bool CheckFontWidths(const Image& font) {
    std::vector<int> widths = MeasureFontWidths(font);
    bool ok = true;
    for (int g = 0; g < kGlyphCount; ++g) {
        if (widths[g] != kExpectedWidths[g]) {
            std::fprintf(stderr, "font glyph '%c' measures %d pixels, the layout needs %d\n",
                         kCharset[g], widths[g], kExpectedWidths[g]);
            ok = false;
        }
    }
    return ok;
}

std::vector<Picture> MakeFontPictures() {
    std::vector<Picture> out;
    out.push_back({"font.png", MakeFont(), false});
    out.push_back({"digits.png", MakeDigits(), false});
    return out;
}
