// The alien: a green, tentacled creature in four animation frames. The game plays them
// back and forth (0, 1, 2, 3, 2, 1, ...), so every moving part changes steadily from frame 0
// to frame 3: arms swing from raised to lowered, tentacles sway, eyes glance left to right,
// antennae lean and the mouth opens.
#include <cmath>

#include "paint.h"
#include "pictures.h"

namespace {

constexpr int kCell = 32;
constexpr float kPi = 3.14159265f;

struct AlienParts {
    Shape head, limbs, eyes, pupils, mouth, bulbs, spots;
};

// s runs from 0 (frame 0) to 1 (frame 3).
AlienParts AlienShapes(float s) {
    AlienParts p;
    float m = 2 * s - 1;
    p.head.Add(Ellipse(16, 11.5f, 9.6f, 8.2f));
    p.head.Add(Box(5.6f, 12, 26.4f, 19.6f, 3.6f));

    for (int side = -1; side <= 1; side += 2) {
        auto X = [side](float dx) { return 16 + side * dx; };
        // Arm: shoulder, elbow and a two-fingered claw.
        float a = (-55 + 85 * s) * kPi / 180;
        Vec shoulder{X(7.6f), 15.5f};
        Vec elbow{X(7.6f + 3.3f * std::cos(a)), 15.5f + 3.3f * std::sin(a)};
        float b = a + 1.2f - 0.5f * s;
        Vec hand{elbow.x + side * 2.6f * std::cos(b), elbow.y + 2.6f * std::sin(b)};
        p.limbs.Add(Capsule(shoulder, elbow, 1.9f));
        p.limbs.Add(Capsule(elbow, hand, 1.5f));
        p.limbs.Add(Capsule(hand, {hand.x + side * 1.2f, hand.y - 1.8f}, 0.85f));
        p.limbs.Add(Capsule(hand, {hand.x + side * 1.8f, hand.y + 0.6f}, 0.85f));

        // Antenna: a curved stalk leaning with the frame, a glowing bulb on top.
        Vec root{X(3.6f), 5.0f};
        Vec mid{X(4.6f) + 0.8f * m, 2.8f};
        Vec tip{X(6.4f) + 1.6f * m, 1.9f};
        p.limbs.Add(Capsule(root, mid, 0.9f));
        p.limbs.Add(Capsule(mid, tip, 0.8f));
        p.bulbs.Add(Disc(tip.x, tip.y, 1.5f));

        // Eye with a pupil glancing across.
        p.eyes.Add(Ellipse(X(4.2f), 10.6f, 2.9f, 3.3f));
        p.pupils.Add(Disc(X(4.2f) + 1.3f * m, 11.0f + 0.3f * std::fabs(m), 1.45f));
        p.spots.Add(Ellipse(X(7.2f), 6.8f, 1.1f, 0.8f));
    }

    // Four tentacles, swaying in a travelling wave.
    const float bases[4] = {9.0f, 13.6f, 18.4f, 23.0f};
    const float spread[4] = {-2.4f, -0.8f, 0.8f, 2.4f};
    for (int t = 0; t < 4; ++t) {
        const int kSegments = 6;
        Vec prev{bases[t], 18.0f};
        for (int i = 1; i <= kSegments; ++i) {
            float u = static_cast<float>(i) / kSegments;
            float sway = 2.3f * u * std::sin(kPi * s * 1.2f + 2.4f * u + t * 1.1f - 1.2f);
            Vec cur{bases[t] + spread[t] * u + sway, 18.0f + 11.4f * u};
            p.limbs.Add(Capsule(prev, cur, 1.9f - 1.0f * u));
            prev = cur;
        }
    }

    p.mouth.Add(Ellipse(16, 15.6f, 3.4f, 0.7f + 1.1f * s));
    p.spots.Add(Ellipse(16, 4.8f, 1.4f, 0.8f));
    return p;
}

// The design is drawn a little smaller than its 32-unit grid so the creature stays clear
// of the cell edges in every pose.
Mask PartMask(const Shape& s, float scale) {
    int size = static_cast<int>(kCell * scale);
    Mask m(size, size);
    Xform xf;
    xf.sx = xf.sy = 0.9f * scale;
    xf.ox = (16 - 16 * 0.9f) * scale;
    xf.oy = 2.0f * scale;
    Rasterise(s, m, xf, 6);
    return m;
}

}  // namespace

Image PaintAlien(int frame, float scale) {
    AlienParts parts = AlienShapes(frame / 3.0f);
    auto Part = [scale](const Shape& s) { return PartMask(s, scale); };
    int size = static_cast<int>(kCell * scale);
    Mask head = Part(parts.head);
    Mask limbs = Part(parts.limbs);
    Mask eyes = Part(parts.eyes);
    Mask pupils = Multiply(Part(parts.pupils), eyes);
    Mask mouth = Part(parts.mouth);
    Mask bulbs = Part(parts.bulbs);
    Mask spots = Part(parts.spots);
    Mask body = Union(head, limbs);

    Image img(size, size);
    img.Glow(Blur(bulbs, 1.2f), Rgb(255, 60, 220), 0.9f);
    img.Paint(Dilate(Union(body, bulbs), 1.0f), Solid(Rgb(6, 26, 14)));
    img.Paint(limbs, [scale](int, int py) {
        float y = py / scale;
        Colour green = Mix(Rgb(120, 240, 90), Rgb(30, 150, 70), Clamp01((y - 12) / 10.0f));
        return Mix(green, Rgb(240, 60, 200), Clamp01((y - 23) / 6.0f));
    });
    img.Paint(head, [scale](int px, int py) {
        float x = px / scale, y = py / scale;
        float light = Clamp01(1 - std::hypot(x - 12.5f, y - 6.5f) / 15);
        return Mix(Rgb(24, 120, 56), Rgb(176, 255, 120), light);
    });
    img.Paint(spots, Solid(Rgb(20, 110, 50, 0.8f)));
    img.Paint(LitEdge(body), Solid(Rgb(220, 255, 190, 0.5f)));
    img.Paint(ShadeEdge(body), Solid(Rgb(4, 40, 20, 0.45f)));

    img.Paint(Dilate(eyes, 0.7f), Solid(Rgb(10, 40, 20)));
    img.Paint(eyes, [scale](int, int y) {
        return Mix(Rgb(255, 255, 210), Rgb(230, 210, 60), Clamp01((y / scale - 7) / 7.0f));
    });
    img.Paint(pupils, Solid(Rgb(30, 0, 40)));
    img.Paint(Dilate(mouth, 0.6f), Solid(Rgb(10, 30, 16)));
    img.Paint(mouth, Solid(Rgb(150, 20, 110)));
    img.Paint(bulbs, Solid(Rgb(255, 140, 240)));
    return img;
}

std::vector<Picture> MakeAlienPicture() {
    Image strip(kCell * 4, kCell);
    for (int f = 0; f < 4; ++f) {
        strip.Draw(PaintAlien(f, 1.0f), f * kCell, 0);
    }
    std::vector<Picture> out;
    out.push_back({"alien.png", std::move(strip), false});
    return out;
}
