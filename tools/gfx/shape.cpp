#include "shape.h"

#include <algorithm>
#include <cmath>

namespace {

void BoundsFromPoints(Prim& p) {
    p.minX = p.maxX = p.points[0].x;
    p.minY = p.maxY = p.points[0].y;
    for (const Vec& v : p.points) {
        p.minX = std::min(p.minX, v.x);
        p.maxX = std::max(p.maxX, v.x);
        p.minY = std::min(p.minY, v.y);
        p.maxY = std::max(p.maxY, v.y);
    }
}

bool InRoundedBox(const Prim& p, float x, float y) {
    if (x < p.x0 || x > p.x1 || y < p.y0 || y > p.y1) {
        return false;
    }
    // Corner centres, in the order top-left, top-right, bottom-right, bottom-left.
    const float* r = p.radius;
    float cx[4] = {p.x0 + r[0], p.x1 - r[1], p.x1 - r[2], p.x0 + r[3]};
    float cy[4] = {p.y0 + r[0], p.y0 + r[1], p.y1 - r[2], p.y1 - r[3]};
    bool left[4] = {true, false, false, true};
    bool top[4] = {true, true, false, false};
    for (int i = 0; i < 4; ++i) {
        if (r[i] <= 0) {
            continue;
        }
        bool outX = left[i] ? x < cx[i] : x > cx[i];
        bool outY = top[i] ? y < cy[i] : y > cy[i];
        if (outX && outY) {
            float dx = x - cx[i], dy = y - cy[i];
            return dx * dx + dy * dy <= r[i] * r[i];
        }
    }
    return true;
}

bool InPolygon(const std::vector<Vec>& pts, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const Vec& a = pts[i];
        const Vec& b = pts[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

bool InCapsule(const Prim& p, float x, float y) {
    float dx = p.x1 - p.x0, dy = p.y1 - p.y0;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((x - p.x0) * dx + (y - p.y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    float ex = x - (p.x0 + t * dx), ey = y - (p.y0 + t * dy);
    return ex * ex + ey * ey <= p.radius[0] * p.radius[0];
}

}  // namespace

bool Prim::Contains(float x, float y) const {
    if (x < minX || x > maxX || y < minY || y > maxY) {
        return false;
    }
    switch (kind) {
        case kBox:
            return InRoundedBox(*this, x, y);
        case kEllipse: {
            float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
            float nx = (x - cx) / ((x1 - x0) / 2), ny = (y - cy) / ((y1 - y0) / 2);
            return nx * nx + ny * ny <= 1;
        }
        case kPolygon:
            return InPolygon(points, x, y);
        case kCapsule:
            return InCapsule(*this, x, y);
    }
    return false;
}

Prim Box4(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl) {
    Prim p;
    p.kind = Prim::kBox;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    p.radius[0] = tl;
    p.radius[1] = tr;
    p.radius[2] = br;
    p.radius[3] = bl;
    p.minX = x0;
    p.minY = y0;
    p.maxX = x1;
    p.maxY = y1;
    return p;
}

Prim Box(float x0, float y0, float x1, float y1, float r) {
    return Box4(x0, y0, x1, y1, r, r, r, r);
}

Prim Ellipse(float cx, float cy, float rx, float ry) {
    Prim p = Box(cx - rx, cy - ry, cx + rx, cy + ry);
    p.kind = Prim::kEllipse;
    return p;
}

Prim Disc(float cx, float cy, float r) {
    return Ellipse(cx, cy, r, r);
}

Prim Polygon(std::vector<Vec> points) {
    Prim p;
    p.kind = Prim::kPolygon;
    p.points = std::move(points);
    BoundsFromPoints(p);
    return p;
}

Prim Bar(Vec a, Vec b, float width) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len = std::sqrt(dx * dx + dy * dy);
    float nx = -dy / len * width / 2, ny = dx / len * width / 2;
    return Polygon(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
}

Prim Capsule(Vec a, Vec b, float radius) {
    Prim p;
    p.kind = Prim::kCapsule;
    p.x0 = a.x;
    p.y0 = a.y;
    p.x1 = b.x;
    p.y1 = b.y;
    p.radius[0] = radius;
    p.minX = std::min(a.x, b.x) - radius;
    p.maxX = std::max(a.x, b.x) + radius;
    p.minY = std::min(a.y, b.y) - radius;
    p.maxY = std::max(a.y, b.y) + radius;
    return p;
}

Shape& Shape::Add(Prim p) {
    p.cut = false;
    prims_.push_back(std::move(p));
    return *this;
}

Shape& Shape::Cut(Prim p) {
    p.cut = true;
    prims_.push_back(std::move(p));
    return *this;
}

Shape& Shape::Append(const Shape& other, float dx, float dy) {
    for (Prim p : other.prims_) {
        p.x0 += dx;
        p.x1 += dx;
        p.y0 += dy;
        p.y1 += dy;
        p.minX += dx;
        p.maxX += dx;
        p.minY += dy;
        p.maxY += dy;
        for (Vec& v : p.points) {
            v.x += dx;
            v.y += dy;
        }
        prims_.push_back(std::move(p));
    }
    return *this;
}

bool Shape::Contains(float x, float y) const {
    bool inside = false;
    for (const Prim& p : prims_) {
        if (inside == p.cut && p.Contains(x, y)) {
            inside = !p.cut;
        }
    }
    return inside;
}

void Shape::Bounds(float& minX, float& minY, float& maxX, float& maxY) const {
    minX = minY = 1e9f;
    maxX = maxY = -1e9f;
    for (const Prim& p : prims_) {
        if (!p.cut) {
            minX = std::min(minX, p.minX);
            minY = std::min(minY, p.minY);
            maxX = std::max(maxX, p.maxX);
            maxY = std::max(maxY, p.maxY);
        }
    }
}

void Rasterise(const Shape& s, Mask& into, const Xform& xf, int samples, const Clip& clip) {
    if (s.Empty()) {
        return;
    }
    float minX, minY, maxX, maxY;
    s.Bounds(minX, minY, maxX, maxY);
    minX = std::max(minX, clip.x0);
    minY = std::max(minY, clip.y0);
    maxX = std::min(maxX, clip.x1);
    maxY = std::min(maxY, clip.y1);
    if (minX > maxX || minY > maxY) {
        return;  // nothing added, or all of it clipped away
    }
    // Pixel rows and columns the shape can touch, allowing for the slant.
    float slantReach = std::fabs(xf.slant * xf.sy) *
                       std::max(std::fabs(xf.pivotY - minY), std::fabs(xf.pivotY - maxY));
    int px0 = std::max(0, static_cast<int>(std::floor(xf.ox + xf.sx * minX - slantReach)) - 1);
    int px1 = std::min(into.Width() - 1,
                       static_cast<int>(std::ceil(xf.ox + xf.sx * maxX + slantReach)) + 1);
    int py0 = std::max(0, static_cast<int>(std::floor(xf.oy + xf.sy * minY)) - 1);
    int py1 = std::min(into.Height() - 1, static_cast<int>(std::ceil(xf.oy + xf.sy * maxY)) + 1);
    float weight = 1.0f / static_cast<float>(samples * samples);
    for (int py = py0; py <= py1; ++py) {
        for (int px = px0; px <= px1; ++px) {
            int hits = 0;
            for (int j = 0; j < samples; ++j) {
                float sy = py + (j + 0.5f) / samples;
                float y = (sy - xf.oy) / xf.sy;
                if (y < clip.y0 || y > clip.y1) {
                    continue;
                }
                for (int i = 0; i < samples; ++i) {
                    float sx = px + (i + 0.5f) / samples;
                    float x = (sx - xf.ox - xf.slant * xf.sy * (xf.pivotY - y)) / xf.sx;
                    if (x >= clip.x0 && x <= clip.x1 && s.Contains(x, y)) {
                        ++hits;
                    }
                }
            }
            if (hits > 0) {
                float& m = into.At(px, py);
                m = std::max(m, hits * weight);
            }
        }
    }
}
