// The emblem of the game's makers, the Quorvex Team: a ringed planet inside a metal badge
// whose tail turns it into a "Q", with the team's name beneath.
#include <cmath>

#include "lettering.h"
#include "noise.h"
#include "paint.h"
#include "pictures.h"

namespace {

constexpr float kPi = 3.14159265f;

// Points of an ellipse with semi-axes a and b, turned by angle, centred on (cx, cy).
std::vector<Vec> EllipsePoints(float cx, float cy, float a, float b, float angle) {
    std::vector<Vec> pts;
    const int kSteps = 120;
    for (int i = 0; i < kSteps; ++i) {
        float t = 2 * kPi * i / kSteps;
        float x = a * std::cos(t), y = b * std::sin(t);
        pts.push_back({cx + x * std::cos(angle) - y * std::sin(angle),
                       cy + x * std::sin(angle) + y * std::cos(angle)});
    }
    return pts;
}

// Half-plane on the near side of the tilted orbit (where the ring passes in front).
Prim NearSide(float cx, float cy, float angle, float reach) {
    float ux = std::cos(angle), uy = std::sin(angle);  // along the orbit's long axis
    float nx = -uy, ny = ux;                           // towards the viewer's side
    return Polygon({{cx - ux * reach, cy - uy * reach},
                    {cx + ux * reach, cy + uy * reach},
                    {cx + ux * reach + nx * reach, cy + uy * reach + ny * reach},
                    {cx - ux * reach + nx * reach, cy - uy * reach + ny * reach}});
}

TextLook NameLook(float outline) {
    TextLook look;
    look.fill = {{0.0f, Rgb(255, 255, 255)},
                 {0.48f, Rgb(190, 214, 255)},
                 {0.52f, Rgb(80, 110, 200)},
                 {1.0f, Rgb(170, 210, 255)}};
    look.outline = Rgb(8, 8, 30);
    look.outlineWidth = outline;
    look.glow = Rgb(80, 120, 255);
    look.glowSize = outline * 1.5f;
    look.glowStrength = 0.5f;
    look.bevel = outline >= 2 ? 1 : 0;
    return look;
}

Image LargeLogo() {
    Image img(480, 320);
    PaintEmblem(img, 240, 118, 100, false);
    LetterStyle style;
    style.sy = 2.8f;
    style.sx = 2.3f;
    style.gap = 2.2f;
    PaintText(img, "QUORVEX TEAM", 240, 250, style, NameLook(2));
    return img;
}

Image SmallLogo() {
    Image img(128, 85);
    PaintEmblem(img, 64, 31, 26, false);
    LetterStyle style;
    style.sy = 0.85f;
    style.sx = 0.66f;
    style.gap = 2.0f;
    PaintText(img, "QUORVEX TEAM", 64, 68, style, NameLook(1));
    return img;
}

}  // namespace

void PaintEmblem(Image& img, float cx, float cy, float r, bool small) {
    int w = img.Width(), h = img.Height();
    float px = std::max(1.0f, r / 50);  // one "design pixel" for outlines and bevels

    // A few pixels across, a thin rim and tail would fade into the glow.
    float rimInside = small ? 0.74f : 0.84f;
    float tailWidth = small ? 0.3f : 0.2f;
    Shape rim;
    rim.Add(Disc(cx, cy, r));
    rim.Cut(Disc(cx, cy, r * rimInside));
    Shape tail;
    tail.Add(
        Bar({cx + r * 0.42f, cy + r * 0.42f}, {cx + r * 1.02f, cy + r * 1.02f}, r * tailWidth));
    Shape inside;
    inside.Add(Disc(cx, cy, r * 0.86f));
    float pr = r * 0.42f, pcx = cx - r * 0.03f, pcy = cy - r * 0.02f;
    Shape planet;
    planet.Add(Disc(pcx, pcy, pr));
    float tilt = -0.42f;
    Shape orbit;
    orbit.Add(Polygon(EllipsePoints(pcx, pcy, r * 0.74f, r * 0.2f, tilt)));
    orbit.Cut(Polygon(EllipsePoints(pcx, pcy, r * 0.64f, r * 0.13f, tilt)));
    Shape orbitFront = orbit;
    orbitFront.Cut(NearSide(pcx, pcy, tilt + kPi, r * 2));

    Mask rimM = Mask(w, h), tailM = Mask(w, h), insideM = Mask(w, h), planetM = Mask(w, h);
    Mask orbitM = Mask(w, h), frontM = Mask(w, h);
    Rasterise(rim, rimM);
    Rasterise(tail, tailM);
    Rasterise(inside, insideM);
    Rasterise(planet, planetM);
    Rasterise(orbit, orbitM);
    Rasterise(orbitFront, frontM);
    Mask metal = Union(rimM, tailM);
    Mask all = Union(metal, insideM);

    if (!small) {
        img.Glow(FadeEdges(Blur(Dilate(all, px * 2), px * 4), px * 8), Rgb(80, 120, 255), 0.6f);
    }
    img.Paint(Dilate(all, px * 1.5f), Solid(Rgb(8, 8, 30)));
    // Deep space inside the badge, with a few small stars.
    img.Paint(insideM, [&](int x, int y) {
        float d = std::hypot(x - cx, y - cy) / r;
        return Mix(Rgb(40, 24, 96), Rgb(6, 8, 28), d);
    });
    Rng rng(5);
    for (int i = 0; i < (small ? 0 : 24); ++i) {
        float a = rng.Range(0, 2 * kPi), d = rng.Range(0.5f, 0.8f) * r;
        float sx = cx + d * std::cos(a), sy = cy + d * std::sin(a);
        float size = rng.Range(0.5f, 1.3f) * px;
        Mask star = FieldMask(
            w, h, [&](float x, float y) { return 1 - std::hypot(x - sx, y - sy) / size; });
        img.Glow(Multiply(star, insideM), Rgb(220, 230, 255), 0.9f);
    }

    Fill orbitFill = [&](int x, int) {
        return Mix(Rgb(255, 80, 200), Rgb(255, 190, 60), Clamp01((x - (cx - r)) / (2 * r)));
    };
    img.Glow(Blur(orbitM, px * 1.5f), Rgb(255, 80, 200), 0.5f);
    img.Paint(orbitM, orbitFill);
    img.Paint(LitEdge(Blur(orbitM, 0.5f), 1, 1), Solid(Rgb(255, 255, 255, 0.35f)));
    // The planet: lit from the upper left, a cyan world fading into shadow.
    img.Paint(Dilate(planetM, px), Solid(Rgb(6, 8, 30)));
    img.Paint(planetM, [&](int x, int y) {
        float lx = (x - pcx) / pr + 0.45f, ly = (y - pcy) / pr + 0.45f;
        float light = Clamp01(1 - std::sqrt(lx * lx + ly * ly) / 1.6f);
        float bands = 0.5f + 0.5f * std::sin((y - pcy) / pr * 7 + 0.6f);
        Colour base = Mix(Rgb(30, 120, 200), Rgb(60, 220, 220), bands * 0.5f);
        return Mix(Rgb(8, 14, 50), Mix(base, Rgb(220, 255, 255), light * light), light + 0.2f);
    });
    img.Paint(frontM, orbitFill);
    img.Paint(LitEdge(Blur(frontM, 0.5f), 1, 1), Solid(Rgb(255, 255, 255, 0.35f)));

    // Brushed-metal rim and tail.
    img.Paint(metal, [&](int x, int y) {
        float t = Clamp01((y - (cy - r)) / (2.05f * r));
        float sheen = 0.5f + 0.5f * std::cos((x - cx) / r * 2.2f);
        Colour c = Gradient({{0.0f, Rgb(240, 246, 255)},
                             {0.45f, Rgb(150, 170, 210)},
                             {0.55f, Rgb(70, 80, 130)},
                             {1.0f, Rgb(190, 200, 240)}},
                            t);
        return Mix(c, Rgb(255, 255, 255), sheen * 0.25f);
    });
    int bevel = static_cast<int>(std::round(px));
    img.Paint(Multiply(LitEdge(Blur(metal, 0.6f), bevel, bevel), metal),
              Solid(Rgb(255, 255, 255, 0.6f)));
    img.Paint(Multiply(ShadeEdge(Blur(metal, 0.6f), bevel, bevel), metal),
              Solid(Rgb(0, 0, 30, 0.5f)));
}

std::vector<Picture> MakeLogoPictures() {
    std::vector<Picture> out;
    out.push_back({"logo_sml.png", SmallLogo(), false});
    out.push_back({"logo_lge.png", LargeLogo(), false});
    return out;
}
