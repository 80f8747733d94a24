// The full-screen background: deep space with dim nebula clouds and faint distant stars.
// Kept dark so the sprites, the falling stars and the text stay easy to read over it.
#include <cmath>

#include "noise.h"
#include "pictures.h"

namespace {

constexpr int kW = 1024;
constexpr int kH = 768;

Colour Nebula(float x, float y) {
    // Large, soft cloud masses; a warp makes them swirl instead of looking like blobs.
    float wx = x + 120 * (Fbm(x / 400, y / 400, 3, 5) - 0.5f);
    float wy = y + 120 * (Fbm(x / 400 + 9, y / 400, 3, 6) - 0.5f);
    float big = Fbm(wx / 300, wy / 300, 6, 11);
    float detail = Fbm(wx / 90, wy / 90, 5, 12);
    float hueA = Fbm(x / 300 + 3, y / 300, 3, 13);
    float hueB = Fbm(x / 260, y / 260 + 7, 3, 14);
    float dust = Fbm(wx / 160 + 2, wy / 160, 5, 15);

    float cloud = SmoothStep(0.42f, 0.78f, big) * (0.55f + 0.45f * detail);
    float wisps = SmoothStep(0.55f, 0.85f, detail) * SmoothStep(0.35f, 0.6f, big) * 0.5f;
    float glow = Clamp01(cloud + wisps);
    glow *= 1 - 0.6f * SmoothStep(0.55f, 0.75f, dust);  // dark dust lanes

    Colour purple = Rgb(96, 26, 120), blue = Rgb(24, 42, 124), teal = Rgb(10, 100, 112);
    Colour tint = Mix(Mix(purple, blue, SmoothStep(0.4f, 0.6f, hueA)), teal,
                      SmoothStep(0.52f, 0.7f, hueB) * 0.85f);
    Colour base = Mix(Rgb(4, 5, 16), Rgb(8, 6, 20), y / kH);
    float k = glow * 0.85f;
    return Colour{base.r + tint.r * k, base.g + tint.g * k, base.b + tint.b * k, 1};
}

void AddStar(Image& img, float x, float y, float radius, Colour c, float bright) {
    int r = static_cast<int>(std::ceil(radius * 3));
    for (int py = static_cast<int>(y) - r; py <= static_cast<int>(y) + r; ++py) {
        for (int px = static_cast<int>(x) - r; px <= static_cast<int>(x) + r; ++px) {
            float d = std::hypot(px + 0.5f - x, py + 0.5f - y);
            float v = bright * std::exp(-d * d / (2 * radius * radius));
            if (v > 0.002f) {
                img.AddLight(px, py, c, v);
            }
        }
    }
}

}  // namespace

std::vector<Picture> MakeSpacePicture() {
    Image img(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            img.Blend(x, y, Nebula(x + 0.5f, y + 0.5f), 1.0f);
        }
    }
    Rng rng(99);
    const Colour tints[] = {Rgb(255, 255, 255), Rgb(190, 210, 255), Rgb(255, 236, 200),
                            Rgb(210, 200, 255)};
    for (int i = 0; i < 1400; ++i) {
        float x = rng.Range(0, kW), y = rng.Range(0, kH);
        float p = rng.Uniform();
        Colour c = tints[rng.Next() % 4];
        // Most stars are faint pin-pricks; a few are brighter with a soft halo.
        float bright = 0.12f + 0.35f * p * p * p;
        float radius = 0.45f + 0.35f * p;
        AddStar(img, x, y, radius, c, bright);
        if (p > 0.97f) {
            AddStar(img, x, y, 2.2f, c, 0.06f);
        }
    }
    std::vector<Picture> out;
    out.push_back({"space.png", std::move(img), true});
    return out;
}
