// Pixel-exact overlap of two image frames, on the frames' collision masks.
#pragma once

#include <cstdint>

#include "platform/image.h"

// Whole-pixel placement of a frame whose handle lies on 'position': the
// top-left corner is position - floor(handle). Centre handles of even-sized
// frames are whole numbers and land exactly; for an odd size (handle n + 0.5)
// the frame sits half a pixel to the right of / below the exact spot.
int64_t FrameOrigin(int position, float handle);

// True when some screen pixel is covered by a solid pixel (alpha 128 or
// more) of frame fa of a, with a's handle on (ax, ay), and of frame fb of b,
// with b's handle on (bx, by). A frame index out of range never collides.
bool CollideImages(const Image& a, int ax, int ay, int fa, const Image& b, int bx, int by, int fb);
