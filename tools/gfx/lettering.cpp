#include "lettering.h"

#include "glyphs.h"
#include "paint.h"

float TextWidth(const std::string& text, const LetterStyle& style) {
    float units = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        units += text[i] == ' ' ? style.space : GlyphBodyWidth(text[i]);
        if (i + 1 < text.size()) {
            units += style.gap;
        }
    }
    return units * style.sx;
}

float TextHeight(const LetterStyle& style) {
    return (kGlyphBottom - kGlyphTop) * style.sy;
}

void TextMask(Mask& m, const std::string& text, float x, float y, const LetterStyle& style) {
    Xform xf;
    xf.sx = style.sx;
    xf.sy = style.sy;
    xf.oy = y - kGlyphTop * style.sy;
    xf.slant = style.slant;
    xf.pivotY = kGlyphBottom;
    float pen = x;
    for (char c : text) {
        if (c == ' ') {
            pen += (style.space + style.gap) * style.sx;
            continue;
        }
        xf.ox = pen;
        // Same clip as the font: strokes stop at the glyph's box.
        Rasterise(GlyphShape(c), m, xf, 4, Clip{0, kGlyphTop, GlyphBodyWidth(c), kGlyphBottom});
        pen += (GlyphBodyWidth(c) + style.gap) * style.sx;
    }
}

void PaintText(Image& img, const std::string& text, float cx, float top, const LetterStyle& style,
               const TextLook& look) {
    int w = img.Width(), h = img.Height();
    Mask body(w, h);
    float height = TextHeight(style);
    // Centre the slanted line: the lean shifts the tops right by slant * height.
    float left = cx - (TextWidth(text, style) + style.slant * height) / 2;
    TextMask(body, text, left, top, style);
    Mask outline = Dilate(body, look.outlineWidth);
    if (look.glowStrength > 0) {
        img.Glow(FadeEdges(Blur(outline, look.glowSize), look.glowSize * 2), look.glow,
                 look.glowStrength);
    }
    img.Paint(outline, Solid(look.outline));
    img.Paint(body, [&](int, int y) { return Gradient(look.fill, (y + 0.5f - top) / height); });
    if (look.bevel > 0) {
        Mask soft = Blur(body, 0.6f);
        img.Paint(Multiply(LitEdge(soft, look.bevel, look.bevel), body),
                  Solid(Rgb(255, 255, 255, 0.55f)));
        img.Paint(Multiply(ShadeEdge(soft, look.bevel, look.bevel), body),
                  Solid(Rgb(0, 0, 20, 0.4f)));
    }
}
