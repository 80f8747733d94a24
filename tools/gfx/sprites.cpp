// The player's ship, the spare-life icon, the bomb, the bullet and the star dots.
#include <algorithm>
#include <cmath>

#include "paint.h"
#include "pictures.h"

namespace {

// The ship in 64x32 design units, nose up at x = 32.
struct ShipParts {
    Shape hull, wings, pods, canopy, stripes, nozzles;
};

ShipParts ShipShapes() {
    ShipParts p;
    p.hull.Add(Polygon({{32, 0.5f},
                        {34.4f, 5},
                        {36.4f, 11},
                        {37.8f, 18},
                        {38.4f, 25},
                        {37.2f, 27.6f},
                        {26.8f, 27.6f},
                        {25.6f, 25},
                        {26.2f, 18},
                        {27.6f, 11},
                        {29.6f, 5}}));
    for (int side = -1; side <= 1; side += 2) {
        auto X = [side](float dx) { return 32 + side * dx; };
        p.wings.Add(Polygon({{X(3.2f), 11.5f},
                             {X(20), 19.5f},
                             {X(29.5f), 23.2f},
                             {X(29.5f), 28.2f},
                             {X(22), 27.4f},
                             {X(6), 26.8f}}));
        p.pods.Add(Polygon({{X(27.5f), 10.5f},
                            {X(29.6f), 15.5f},
                            {X(29.6f), 29},
                            {X(25.4f), 29},
                            {X(25.4f), 15.5f}}));
        p.stripes.Add(
            Polygon({{X(8), 15.8f}, {X(23.5f), 22.4f}, {X(23.5f), 24.6f}, {X(8), 18.4f}}));
        p.nozzles.Add(Box(X(5.4f) - 2.2f, 24.2f, X(5.4f) + 2.2f, 28.0f, 1.0f));
    }
    p.canopy.Add(Ellipse(32, 13, 2.7f, 5.8f));
    return p;
}

// Bright flame below a nozzle, strongest at its mouth.
float Flame(float x, float y, float cx, float top, float scale) {
    float dx = (x - cx) / (2.2f * scale), dy = (y - top) / (5.0f * scale);
    if (dy < 0) {
        return 0;
    }
    float d = std::sqrt(dx * dx + dy * dy);
    return Clamp01(1 - d);
}

// A vertical energy bolt: white core, cyan glow, thicker at the head.
Image PaintBullet() {
    Image img(8, 16);
    Mask glow = FieldMask(8, 16, [](float x, float y) {
        float cy = std::clamp(y, 3.0f, 13.0f);
        float d = std::hypot(x - 4, y - cy);
        float tail = 1.0f - 0.45f * Clamp01((y - 3) / 11);
        float ends = Clamp01(y) * Clamp01(16 - y);
        return std::exp(-d * d / 2.6f) * tail * ends;
    });
    Mask core = FieldMask(8, 16, [](float x, float y) {
        float cy = std::clamp(y, 2.5f, 13.5f);
        float r = 1.35f - 0.55f * Clamp01((y - 3) / 10);
        return (r - std::hypot(x - 4, y - cy)) * 2.5f + 0.5f;
    });
    img.Paint(glow, Solid(Rgb(40, 200, 255)));
    img.Paint(core,
              [](int, int y) { return Mix(Rgb(255, 255, 255), Rgb(170, 245, 255), y / 16.0f); });
    return img;
}

// A glowing ball of red and orange around a hot yellow-white core.
Image PaintBomb() {
    Image img(12, 12);
    Mask glow = FieldMask(12, 12, [](float x, float y) {
        float d = std::hypot(x - 6, y - 6);
        float a = std::atan2(y - 6, x - 6);
        float rays = 0.8f + 0.2f * std::cos(4 * a + 0.6f);
        return std::pow(Clamp01(1 - d / 5.9f), 1.3f) * rays * 1.4f;
    });
    img.Paint(glow, Solid(Rgb(220, 30, 20)));
    img.Paint(FieldMask(12, 12, [](float x, float y) { return 4.0f - std::hypot(x - 6, y - 6); }),
              [](int x, int y) {
                  float d = std::hypot(x + 0.5f - 6, y + 0.5f - 6);
                  return Ramp(
                      {Rgb(255, 255, 230), Rgb(255, 224, 100), Rgb(255, 120, 30), Rgb(230, 50, 20)},
                      d / 3.8f);
              });
    return img;
}

// Three soft grey-white dots, about 3, 5 and 7 pixels across.
Image PaintStars() {
    Image img(24, 8);
    const float radii[3] = {1.5f, 2.5f, 3.5f};
    for (int i = 0; i < 3; ++i) {
        float cx = 8 * i + 4.0f, r = radii[i];
        Mask dot = FieldMask(24, 8, [=](float x, float y) {
            float d = std::min(std::hypot(x - cx, y - 4) / r, 1.0f);
            return (1 - d * d) * (1 - 0.35f * d) * 1.3f;
        });
        img.Paint(dot, Solid(Rgb(236, 240, 255)));
    }
    return img;
}

}  // namespace

Image PaintShip(float scale) {
    int w = static_cast<int>(64 * scale), h = static_cast<int>(32 * scale);
    ShipParts parts = ShipShapes();
    Mask hull = ShapeMask(parts.hull, w, h, scale);
    Mask wings = ShapeMask(parts.wings, w, h, scale);
    Mask pods = ShapeMask(parts.pods, w, h, scale);
    Mask canopy = ShapeMask(parts.canopy, w, h, scale);
    Mask stripes = ShapeMask(parts.stripes, w, h, scale);
    Mask nozzles = ShapeMask(parts.nozzles, w, h, scale);
    Mask body = Union(Union(hull, wings), Union(pods, nozzles));

    Image img(w, h);
    img.Paint(Dilate(body, 1.0f), Solid(Rgb(12, 16, 34)));
    img.Paint(wings, [&](int x, int y) {
        float u = x / scale, v = y / scale;
        float out = std::fabs(u - 32) / 30;
        Colour c = Mix(Rgb(196, 206, 228), Rgb(92, 104, 140), out);
        return Mix(c, Rgb(70, 80, 112), Clamp01((v - 20) / 10) * 0.6f);
    });
    img.Paint(stripes, Solid(Rgb(236, 48, 110)));
    img.Paint(pods, [&](int, int y) {
        return Mix(Rgb(214, 222, 240), Rgb(100, 110, 150), Clamp01((y / scale - 10) / 20));
    });
    img.Paint(hull, [&](int x, int y) {
        float u = x / scale, v = y / scale;
        float side = std::fabs(u - 32) / 6.5f;
        Colour c = Mix(Rgb(246, 248, 255), Rgb(120, 132, 170), side * side);
        return Mix(c, Rgb(86, 96, 132), Clamp01((v - 18) / 12) * 0.5f);
    });
    img.Paint(nozzles, [&](int, int y) {
        return Mix(Rgb(90, 96, 118), Rgb(40, 42, 58), Clamp01((y / scale - 26) / 4));
    });
    img.Paint(LitEdge(body), Solid(Rgb(255, 255, 255, 0.45f)));
    img.Paint(ShadeEdge(body), Solid(Rgb(10, 14, 30, 0.35f)));

    img.Paint(Dilate(canopy, 0.8f), Solid(Rgb(20, 26, 60)));
    img.Paint(canopy, [&](int, int y) {
        return Mix(Rgb(120, 240, 255), Rgb(16, 60, 150), Clamp01((y / scale - 7.5f) / 11));
    });
    Shape glint;
    glint.Add(Ellipse(31.1f, 10.4f, 0.9f, 2.0f));
    img.Paint(ShapeMask(glint, w, h, scale), Solid(Rgb(255, 255, 255, 0.85f)));

    // Exhaust flames over the nozzle mouths.
    Mask flame = FieldMask(w, h, [&](float x, float y) {
        float u = x / scale, v = y / scale;
        return std::max(Flame(u, v, 26.6f, 27.0f, 1), Flame(u, v, 37.4f, 27.0f, 1));
    });
    img.Glow(Blur(flame, 1.0f * scale), Rgb(255, 80, 20), 1.0f);
    img.Paint(flame, [&](int, int y) {
        return Mix(Rgb(255, 236, 150), Rgb(255, 90, 20), Clamp01((y / scale - 27.5f) / 3.5f));
    });

    // Small red lights at the pod tips.
    Mask lights = FieldMask(w, h, [&](float x, float y) {
        float u = x / scale, v = y / scale;
        float a = std::hypot(u - 4.5f, v - 14.5f), b = std::hypot(u - 59.5f, v - 14.5f);
        return 1.2f - std::min(a, b) / 1.6f;
    });
    img.Glow(lights, Rgb(255, 70, 60), 0.9f);
    return img;
}

std::vector<Picture> MakeSpritePictures() {
    std::vector<Picture> out;
    out.push_back({"ship.png", PaintShip(1.0f), false});
    out.push_back({"life.png", PaintShip(0.5f), false});
    out.push_back({"bomb.png", PaintBomb(), false});
    out.push_back({"bullet.png", PaintBullet(), false});
    out.push_back({"stars.png", PaintStars(), false});
    return out;
}
