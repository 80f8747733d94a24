// The explosion: nine 32x32 cells. A white flash (0), a yellow-white fireball that swells
// (1-2), orange fire breaking up (3-5) and a ring of grey smoke drifting apart (6-8).
#include <cmath>

#include "noise.h"
#include "paint.h"
#include "pictures.h"

namespace {

constexpr int kCell = 32;
constexpr float kPi = 3.14159265f;

// Temperature 0 (cold smoke) to 1 (white hot) to colour.
Colour FireColour(float heat) {
    return Ramp({Rgb(150, 146, 142), Rgb(150, 84, 52), Rgb(214, 70, 18), Rgb(255, 128, 24),
                 Rgb(255, 200, 64), Rgb(255, 244, 180), Rgb(255, 255, 255)},
                heat);
}

// One round billow of fire or smoke.
struct Puff {
    float angle, reach, size;
};

std::vector<Puff> Puffs() {
    Rng rng(2024);
    std::vector<Puff> puffs;
    puffs.push_back({0, 0, 1.0f});
    for (int i = 0; i < 13; ++i) {
        float angle = (i + rng.Range(-0.3f, 0.3f)) * 2 * kPi / 13;
        puffs.push_back({angle, rng.Range(0.4f, 0.85f), rng.Range(0.5f, 0.8f)});
    }
    return puffs;
}

Image PaintExplosionFrame(int frame) {
    float t = frame / 8.0f;
    // Overall radius of the cloud and how hot it still is.
    float radius = 5.5f + 6.5f * std::sqrt(t);
    float hot = Clamp01(1.05f - 1.35f * t);
    std::vector<Puff> puffs = Puffs();
    Image img(kCell, kCell);

    Mask cover(kCell, kCell);
    std::vector<Colour> colour(kCell * kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float wobble = 0.82f + 0.36f * Fbm(px * 0.3f + frame * 1.7f, py * 0.3f, 3, 41);
            // The puff that stands highest at this point decides depth and shading.
            float best = 0, nx = 0, ny = 0, reach = 0;
            for (const Puff& p : puffs) {
                float dist = radius * p.reach * (0.55f + 0.45f * t);
                float cx = 16 + dist * std::cos(p.angle), cy = 16 + dist * std::sin(p.angle);
                float r = radius * p.size * (0.75f - 0.2f * t * p.reach) + 1.0f;
                float dx = (px - cx) / r, dy = (py - cy) / r;
                float d2 = (dx * dx + dy * dy) / (wobble * wobble);
                if (d2 < 1 && std::sqrt(1 - d2) > best) {
                    best = std::sqrt(1 - d2);
                    nx = dx;
                    ny = dy;
                    reach = p.reach;
                }
            }
            if (best <= 0) {
                continue;
            }
            float light = Clamp01(0.55f - 0.6f * (nx + ny) * 0.7f + 0.45f * best);
            float heat = hot * (0.55f + 0.45f * best) * (1 - 0.35f * reach * t * 2) +
                         0.15f * (1 - t) * Fbm(px * 0.5f, py * 0.5f + frame, 2, 7);
            Colour c = FireColour(heat);
            // Smoke shows its billows through light and shade; fire glows from within.
            float shade = Mix(Colour{1, 1, 1, 1}, Colour{light, light, light, 1}, 1 - hot).r;
            c.r *= 0.55f + 0.55f * shade;
            c.g *= 0.55f + 0.55f * shade;
            c.b *= 0.55f + 0.55f * shade;
            c.a = 1;
            colour[y * kCell + x] = c;
            float edge = Clamp01(best * (4.0f - 2.5f * t));
            float gaps = 1 - Fbm(px * 0.18f + 3, py * 0.18f - frame * 0.4f, 3, 97);
            float thin = 1 - 0.75f * SmoothStep(0.45f, 1.0f, t) * SmoothStep(0.3f, 0.75f, gaps);
            // Nothing reaches the cell border, so no cut edges show.
            float border = SmoothStep(15.8f, 12.5f, std::hypot(px - 16, py - 16));
            cover.At(x, y) = edge * thin * border;
        }
    }
    img.Paint(cover, [&](int x, int y) { return colour[y * kCell + x]; });

    // The opening flash: a bright star burst over the young fireball.
    if (frame <= 2) {
        Mask flash = FieldMask(kCell, kCell, [&](float x, float y) {
            float d = std::hypot(x - 16, y - 16);
            float a = std::atan2(y - 16, x - 16);
            float star = 0.55f + 0.45f * std::pow(std::fabs(std::cos(2 * a)), 8.0f);
            return (1.1f - d / (14.0f * star)) * (1 - frame / 2.6f);
        });
        img.Glow(flash, Rgb(255, 250, 220), 1.0f);
    }

    // Sparks flung outward, fading as they fly.
    if (frame >= 1 && frame <= 5) {
        Rng rng(1234);
        for (int i = 0; i < 10; ++i) {
            float ang = rng.Range(0, 2 * kPi), speed = rng.Range(0.85f, 1.15f);
            float r = std::min((7 + 1.9f * frame) * speed, 14.0f);
            float sx = 16 + r * std::cos(ang), sy = 16 + r * std::sin(ang);
            float life = 1 - (frame - 1) / 5.0f;
            Mask spark = FieldMask(kCell, kCell, [&](float x, float y) {
                return 1.6f - std::hypot(x - sx, y - sy) / 0.9f;
            });
            img.Glow(spark, Rgb(255, 240, 170), life);
        }
    }
    return img;
}

}  // namespace

std::vector<Picture> MakeExplosionPicture() {
    Image strip(kCell * 3, kCell * 3);
    for (int f = 0; f < 9; ++f) {
        strip.Draw(PaintExplosionFrame(f), (f % 3) * kCell, (f / 3) * kCell);
    }
    std::vector<Picture> out;
    out.push_back({"explosion.png", std::move(strip), false});
    return out;
}
