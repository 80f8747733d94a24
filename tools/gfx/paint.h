// Painting routines shared by the picture groups.
#pragma once

#include "image.h"
#include "shape.h"

// Coverage of a shape in a w x h mask, scaled by `scale` about the origin.
Mask ShapeMask(const Shape& s, int w, int h, float scale = 1.0f, int samples = 6);
// A mask of value f(x, y) per pixel, clamped to 0..1; f is sampled samples^2 times per
// pixel and averaged.
Mask FieldMask(int w, int h, const std::function<float(float x, float y)>& f, int samples = 4);
// Edges facing the light (up-left) and facing away (down-right), about one pixel wide.
Mask LitEdge(const Mask& body, int dx = 1, int dy = 1);
Mask ShadeEdge(const Mask& body, int dx = 1, int dy = 1);
// The mask faded to nothing over `margin` pixels at the picture's edges, so soft glows do
// not end in a visible straight cut.
Mask FadeEdges(const Mask& m, float margin);
// A solid colour fill for Image::Paint.
Fill Solid(Colour c);
