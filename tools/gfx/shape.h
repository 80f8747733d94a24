// Vector shapes built from filled primitives, rasterised with supersampling.
#pragma once

#include <vector>

#include "image.h"

struct Vec {
    float x = 0, y = 0;
};

// One filled primitive. Boxes have a radius per corner (top-left, top-right, bottom-right,
// bottom-left); polygons are filled even-odd; bars are thick lines with flat ends.
struct Prim {
    enum Kind { kBox, kEllipse, kPolygon, kCapsule } kind = kBox;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // box corners, ellipse bounds, capsule ends
    float radius[4] = {0, 0, 0, 0};        // box corner radii; radius[0] is the capsule's
    std::vector<Vec> points;               // polygon
    bool cut = false;                      // removes what earlier primitives added
    float minX = 0, minY = 0, maxX = 0, maxY = 0;

    bool Contains(float x, float y) const;
};

Prim Box(float x0, float y0, float x1, float y1, float r = 0);
Prim Box4(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl);
Prim Ellipse(float cx, float cy, float rx, float ry);
Prim Disc(float cx, float cy, float r);
Prim Polygon(std::vector<Vec> points);
// A straight stroke of the given width between two points, with square-cut ends.
Prim Bar(Vec a, Vec b, float width);
// A stroke with round ends.
Prim Capsule(Vec a, Vec b, float radius);

// Primitives applied in order: each adds to or cuts from what came before.
class Shape {
public:
    Shape& Add(Prim p);
    Shape& Cut(Prim p);
    // Appends another shape's primitives moved by (dx, dy).
    Shape& Append(const Shape& other, float dx, float dy);
    bool Contains(float x, float y) const;
    bool Empty() const { return prims_.empty(); }
    void Bounds(float& minX, float& minY, float& maxX, float& maxY) const;

private:
    std::vector<Prim> prims_;
};

// Maps shape units to pixels: px = ox + sx * x + slant * sy * (pivotY - y), py = oy + sy * y.
struct Xform {
    float sx = 1, sy = 1, ox = 0, oy = 0, slant = 0, pivotY = 0;
};

// Limits coverage to a rectangle in shape units.
struct Clip {
    float x0 = -1e9f, y0 = -1e9f, x1 = 1e9f, y1 = 1e9f;
};

// Coverage of the shape per pixel from samples x samples points per pixel, drawn into the
// mask with max() so several shapes can share one mask.
void Rasterise(const Shape& s, Mask& into, const Xform& xf = Xform{}, int samples = 4,
               const Clip& clip = Clip{});
