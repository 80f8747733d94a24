#include "paint.h"

Mask ShapeMask(const Shape& s, int w, int h, float scale, int samples) {
    Mask m(w, h);
    Xform xf;
    xf.sx = xf.sy = scale;
    Rasterise(s, m, xf, samples);
    return m;
}

Mask FieldMask(int w, int h, const std::function<float(float x, float y)>& f, int samples) {
    Mask m(w, h);
    float weight = 1.0f / static_cast<float>(samples * samples);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    sum += Clamp01(f(x + (i + 0.5f) / samples, y + (j + 0.5f) / samples));
                }
            }
            m.At(x, y) = sum * weight;
        }
    }
    return m;
}

Mask LitEdge(const Mask& body, int dx, int dy) {
    return Subtract(body, Shift(body, dx, dy));
}

Mask ShadeEdge(const Mask& body, int dx, int dy) {
    return Subtract(body, Shift(body, -dx, -dy));
}

Mask FadeEdges(const Mask& m, float margin) {
    Mask out(m.Width(), m.Height());
    for (int y = 0; y < m.Height(); ++y) {
        for (int x = 0; x < m.Width(); ++x) {
            float cx = x + 0.5f, cy = y + 0.5f;
            float k = SmoothStep(0, margin, cx) * SmoothStep(0, margin, m.Width() - cx) *
                      SmoothStep(0, margin, cy) * SmoothStep(0, margin, m.Height() - cy);
            out.At(x, y) = m.Get(x, y) * k;
        }
    }
    return out;
}

Fill Solid(Colour c) {
    return [c](int, int) { return c; };
}
