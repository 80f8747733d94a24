// The title banner, the "PRESENTS" card and the big title picture of the introduction.
#include <cmath>

#include "lettering.h"
#include "paint.h"
#include "pictures.h"

namespace {

// Chrome: sky-blue tops brightening to a white horizon, a sharp dark break, then violet
// lower halves glowing pink at the bottom.
const std::vector<Stop> kChrome = {
    {0.00f, Rgb(120, 170, 255)}, {0.30f, Rgb(210, 230, 255)}, {0.50f, Rgb(255, 255, 255)},
    {0.52f, Rgb(52, 26, 104)},   {0.62f, Rgb(110, 50, 170)},  {0.85f, Rgb(210, 100, 230)},
    {1.00f, Rgb(255, 190, 250)},
};

const std::vector<Stop> kGold = {
    {0.00f, Rgb(255, 255, 224)}, {0.45f, Rgb(255, 214, 100)}, {0.50f, Rgb(190, 104, 16)},
    {0.80f, Rgb(255, 176, 50)},  {1.00f, Rgb(255, 236, 150)},
};

Image Title() {
    Image img(486, 49);
    LetterStyle style;
    style.sy = 3.0f;
    style.sx = 3.95f;
    style.slant = 0.12f;
    style.gap = 2.2f;
    TextLook look;
    look.fill = kChrome;
    look.outline = Rgb(10, 8, 36);
    look.outlineWidth = 2.0f;
    look.glow = Rgb(90, 150, 255);
    look.glowSize = 2.2f;
    look.glowStrength = 0.9f;
    look.bevel = 1;
    PaintText(img, "QUORVEX", 243, (49 - TextHeight(style)) / 2, style, look);
    return img;
}

Image Presents() {
    Image img(332, 56);
    LetterStyle style;
    style.sy = 3.0f;
    style.sx = 2.45f;
    style.gap = 2.6f;
    TextLook look;
    look.fill = kGold;
    look.outline = Rgb(40, 14, 0);
    look.outlineWidth = 2.0f;
    look.glow = Rgb(255, 120, 30);
    look.glowSize = 3.0f;
    look.glowStrength = 0.7f;
    look.bevel = 1;
    PaintText(img, "PRESENTS", 166, (56 - TextHeight(style)) / 2, style, look);
    return img;
}

// Big chrome lettering over a soft nebula glow, with the player's ship rising beneath it.
Image LoadTitle() {
    const int w = 458, h = 181;
    Image img(w, h);
    LetterStyle style;
    style.sy = 6.2f;
    style.sx = 3.8f;
    style.slant = 0.12f;
    style.gap = 2.0f;
    float top = 10;
    float horizon = top + TextHeight(style) * 0.51f;

    Mask haze = FieldMask(w, h, [&](float x, float y) {
        float dx = (x - w / 2.0f) / 230, dy = (y - horizon) / 70;
        // Fades out before the picture's edges, which lie over a black screen.
        float frame = SmoothStep(0, 30, x) * SmoothStep(0, 30, w - x) * SmoothStep(0, 30, y) *
                      SmoothStep(0, 30, h - y);
        return 0.55f * std::exp(-2.5f * (dx * dx + dy * dy)) * frame;
    });
    img.Glow(haze, Rgb(110, 40, 190), 0.8f);
    // A flare along the chrome horizon line.
    Mask streak = FieldMask(w, h, [&](float x, float y) {
        float dx = (x - w / 2.0f) / (w / 2.0f);
        return std::exp(-std::pow((y - horizon) / 1.6f, 2.0f)) * (1 - dx * dx);
    });

    TextLook look;
    look.fill = kChrome;
    look.outline = Rgb(10, 8, 36);
    look.outlineWidth = 3.0f;
    look.glow = Rgb(90, 150, 255);
    look.glowSize = 5.0f;
    look.glowStrength = 0.9f;
    look.bevel = 2;
    PaintText(img, "QUORVEX", w / 2.0f, top, style, look);
    img.Glow(streak, Rgb(200, 230, 255), 0.9f);

    // The ship, flying up out of a trail of light, between two aliens.
    Image ship = PaintShip(1.5f);
    int sx = w / 2 - ship.Width() / 2, sy = 118;
    Mask trail = FieldMask(w, h, [&](float x, float y) {
        float dx = std::fabs(x - w / 2.0f);
        float start = sy + ship.Height() * 0.8f;
        float along = (y - start) / (h - start);
        if (along < 0) {
            return 0.0f;
        }
        return std::exp(-dx * dx / (30 + 400 * along)) * (1 - along) * 0.9f;
    });
    img.Glow(trail, Rgb(255, 140, 60), 0.8f);
    img.Draw(ship, sx, sy);
    Image left = PaintAlien(0, 1.4f), right = PaintAlien(3, 1.4f);
    img.Draw(left, 70, 122);
    img.Draw(right, w - 70 - right.Width(), 122);
    return img;
}

}  // namespace

std::vector<Picture> MakeBannerPictures() {
    std::vector<Picture> out;
    out.push_back({"title.png", Title(), false});
    out.push_back({"presents.png", Presents(), false});
    out.push_back({"load_title.png", LoadTitle(), false});
    return out;
}
