#include "image.h"

#include <algorithm>
#include <cmath>

Colour Rgb(int r, int g, int b, float a) {
    return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Colour Mix(Colour c0, Colour c1, float t) {
    return Colour{c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t,
                  c0.a + (c1.a - c0.a) * t};
}

Colour Ramp(const std::vector<Colour>& stops, float t) {
    if (stops.size() == 1) {
        return stops[0];
    }
    float f = Clamp01(t) * static_cast<float>(stops.size() - 1);
    size_t i = std::min(static_cast<size_t>(f), stops.size() - 2);
    return Mix(stops[i], stops[i + 1], f - static_cast<float>(i));
}

Colour Gradient(const std::vector<Stop>& stops, float t) {
    if (t <= stops.front().at) {
        return stops.front().c;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            float span = stops[i].at - stops[i - 1].at;
            return Mix(stops[i - 1].c, stops[i].c, span > 0 ? (t - stops[i - 1].at) / span : 1);
        }
    }
    return stops.back().c;
}

float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float SmoothStep(float e0, float e1, float v) {
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

Mask::Mask(int w, int h) : w_(w), h_(h), v_(static_cast<size_t>(w) * h, 0.0f) {}

float Mask::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) {
        return 0.0f;
    }
    return v_[static_cast<size_t>(y) * w_ + x];
}

void Mask::Set(int x, int y, float v) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) {
        v_[static_cast<size_t>(y) * w_ + x] = v;
    }
}

Mask Blur(const Mask& m, float sigma) {
    int radius = static_cast<int>(std::ceil(sigma * 3));
    std::vector<float> kernel(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[i + radius] = std::exp(-(i * i) / (2 * sigma * sigma));
        sum += kernel[i + radius];
    }
    for (float& k : kernel) {
        k /= sum;
    }
    int w = m.Width(), h = m.Height();
    Mask across(w, h), out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float acc = 0;
            for (int i = -radius; i <= radius; ++i) {
                acc += kernel[i + radius] * m.Get(x + i, y);
            }
            across.At(x, y) = acc;
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float acc = 0;
            for (int i = -radius; i <= radius; ++i) {
                acc += kernel[i + radius] * across.Get(x, y + i);
            }
            out.At(x, y) = acc;
        }
    }
    return out;
}

Mask Dilate(const Mask& m, float radius) {
    int r = static_cast<int>(std::ceil(radius)) + 1;
    Mask out(m.Width(), m.Height());
    for (int y = 0; y < m.Height(); ++y) {
        for (int x = 0; x < m.Width(); ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    float v = m.Get(x + dx, y + dy);
                    if (v <= best) {
                        continue;
                    }
                    // The brush edge is soft over one pixel so the outline stays smooth.
                    float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    float brush = Clamp01(radius + 0.5f - d);
                    best = std::max(best, v * brush);
                }
            }
            out.At(x, y) = best;
        }
    }
    return out;
}

Mask Shift(const Mask& m, int dx, int dy) {
    Mask out(m.Width(), m.Height());
    for (int y = 0; y < m.Height(); ++y) {
        for (int x = 0; x < m.Width(); ++x) {
            out.At(x, y) = m.Get(x - dx, y - dy);
        }
    }
    return out;
}

namespace {

template <typename Op>
Mask Combine(const Mask& a, const Mask& b, Op op) {
    Mask out(a.Width(), a.Height());
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            out.At(x, y) = op(a.Get(x, y), b.Get(x, y));
        }
    }
    return out;
}

}  // namespace

Mask Union(const Mask& a, const Mask& b) {
    return Combine(a, b, [](float p, float q) { return std::max(p, q); });
}

Mask Multiply(const Mask& a, const Mask& b) {
    return Combine(a, b, [](float p, float q) { return p * q; });
}

Mask Subtract(const Mask& a, const Mask& b) {
    return Combine(a, b, [](float p, float q) { return std::max(p - q, 0.0f); });
}

Image::Image(int w, int h) : w_(w), h_(h), p_(static_cast<size_t>(w) * h * 4, 0.0f) {}

void Image::Blend(int x, int y, Colour c, float cover) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) {
        return;
    }
    float a = Clamp01(c.a * cover);
    if (a <= 0) {
        return;
    }
    float* p = &p_[(static_cast<size_t>(y) * w_ + x) * 4];
    float keep = 1 - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Image::AddLight(int x, int y, Colour c, float amount) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) {
        return;
    }
    float a = Clamp01(c.a * amount);
    float* p = &p_[(static_cast<size_t>(y) * w_ + x) * 4];
    p[0] = std::min(p[0] + c.r * a, 1.0f);
    p[1] = std::min(p[1] + c.g * a, 1.0f);
    p[2] = std::min(p[2] + c.b * a, 1.0f);
    // Opacity follows the brightest channel so the light shows over dark backgrounds.
    p[3] = std::min(std::max(p[3], std::max(p[0], std::max(p[1], p[2]))), 1.0f);
}

Colour Image::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) {
        return Colour{};
    }
    const float* p = &p_[(static_cast<size_t>(y) * w_ + x) * 4];
    if (p[3] <= 0) {
        return Colour{};
    }
    return Colour{p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Image::Paint(const Mask& m, const Fill& fill, float opacity) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            float cover = m.Get(x, y) * opacity;
            if (cover > 0) {
                Blend(x, y, fill(x, y), cover);
            }
        }
    }
}

void Image::Glow(const Mask& m, Colour c, float amount) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            float v = m.Get(x, y) * amount;
            if (v > 0) {
                AddLight(x, y, c, v);
            }
        }
    }
}

void Image::Draw(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            Colour c = src.Get(x, y);
            if (c.a > 0) {
                Blend(x + dx, y + dy, c, 1.0f);
            }
        }
    }
}

void Image::MultiplyAlpha(const Mask& m) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            float k = m.Get(x, y);
            float* p = &p_[(static_cast<size_t>(y) * w_ + x) * 4];
            for (int i = 0; i < 4; ++i) {
                p[i] *= k;
            }
        }
    }
}

namespace {

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

}  // namespace

std::vector<uint8_t> Image::ToRgba8() const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(w_) * h_ * 4);
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            Colour c = Get(x, y);
            uint8_t a = ToByte(c.a);
            if (a == 0) {
                // Fully transparent pixels carry no colour, so cells stay clean.
                out.insert(out.end(), {0, 0, 0, 0});
                continue;
            }
            out.insert(out.end(), {ToByte(c.r), ToByte(c.g), ToByte(c.b), a});
        }
    }
    return out;
}

std::vector<uint8_t> Image::ToRgb8() const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(w_) * h_ * 3);
    for (size_t i = 0; i < p_.size(); i += 4) {
        out.insert(out.end(), {ToByte(p_[i]), ToByte(p_[i + 1]), ToByte(p_[i + 2])});
    }
    return out;
}
