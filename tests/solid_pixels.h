// An independent reading of which pixels of a picture are solid, to check
// the pixel-exact collision tests against.
#pragma once

#include <vector>

#include "platform/platform.h"

// One frame's solid pixels (alpha 128 or more), read from the picture itself.
struct SolidPixels {
    SolidPixels(Image* image, int frame) : width(ImageWidth(image)), height(ImageHeight(image)) {
        PixelMap map = LockImage(image, frame);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                solid.push_back((ReadPixel(map, x, y) >> 24) >= 128);
            }
        }
        UnlockImage(image, frame);
    }
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height &&
               solid[static_cast<size_t>(y * width + x)];
    }
    int width;
    int height;
    std::vector<bool> solid;
};

// Both frames centred on their positions, as the sprite pictures are.
inline bool SolidPixelsMeet(const SolidPixels& a, int ax, int ay, const SolidPixels& b, int bx,
                            int by) {
    const int aLeft = ax - a.width / 2;
    const int aTop = ay - a.height / 2;
    const int bLeft = bx - b.width / 2;
    const int bTop = by - b.height / 2;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) && b.At(aLeft + x - bLeft, aTop + y - bTop)) {
                return true;
            }
        }
    }
    return false;
}
