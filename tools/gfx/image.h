// Float pictures used while painting: a coverage mask and a premultiplied RGBA image.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A straight (not premultiplied) colour, every channel 0..1.
struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};

// Colour from 0..255 channels and an alpha of 0..1.
Colour Rgb(int r, int g, int b, float a = 1.0f);
// Linear blend from c0 (t = 0) to c1 (t = 1).
Colour Mix(Colour c0, Colour c1, float t);
// Piecewise-linear colour ramp through evenly spaced stops, t clamped to 0..1.
Colour Ramp(const std::vector<Colour>& stops, float t);

// A colour stop at a position 0..1; stops are listed in increasing position.
struct Stop {
    float at;
    Colour c;
};
// Piecewise-linear colour ramp through stops at given positions.
Colour Gradient(const std::vector<Stop>& stops, float t);

float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// Per-pixel coverage, 0..1. Reads outside the mask give 0.
class Mask {
public:
    Mask(int w, int h);
    int Width() const { return w_; }
    int Height() const { return h_; }
    float Get(int x, int y) const;
    void Set(int x, int y, float v);
    float& At(int x, int y) { return v_[static_cast<size_t>(y) * w_ + x]; }

private:
    int w_, h_;
    std::vector<float> v_;
};

// Gaussian blur with standard deviation sigma (in pixels).
Mask Blur(const Mask& m, float sigma);
// Grows the mask by radius pixels (a round brush), keeping soft edges.
Mask Dilate(const Mask& m, float radius);
// Mask moved by (dx, dy) whole pixels.
Mask Shift(const Mask& m, int dx, int dy);
// max(a, b), a * b, max(a - b, 0) per pixel.
Mask Union(const Mask& a, const Mask& b);
Mask Multiply(const Mask& a, const Mask& b);
Mask Subtract(const Mask& a, const Mask& b);

using Fill = std::function<Colour(int x, int y)>;

// Premultiplied float RGBA image; starts fully transparent.
class Image {
public:
    Image(int w, int h);
    int Width() const { return w_; }
    int Height() const { return h_; }

    // Source-over of colour c with its alpha scaled by cover.
    void Blend(int x, int y, Colour c, float cover);
    // Adds light: brightens colour and opacity, as a glow does.
    void AddLight(int x, int y, Colour c, float amount);
    // The straight colour at (x, y); transparent outside.
    Colour Get(int x, int y) const;
    // Paints fill(x, y) through the mask with source-over, scaled by opacity.
    void Paint(const Mask& m, const Fill& fill, float opacity = 1.0f);
    // Same as Paint but adds light instead of covering.
    void Glow(const Mask& m, Colour c, float amount);
    // Draws src with its top-left corner at (dx, dy), source-over.
    void Draw(const Image& src, int dx, int dy);
    // Multiplies every alpha by the mask (used to cut shapes out of a layer).
    void MultiplyAlpha(const Mask& m);

    std::vector<uint8_t> ToRgba8() const;
    // Opaque RGB bytes, the image laid over black.
    std::vector<uint8_t> ToRgb8() const;

private:
    int w_, h_;
    std::vector<float> p_;  // r, g, b, a premultiplied
};
