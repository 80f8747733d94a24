// Collision tests run several hundred times a tick (every bullet against
// every alien), so they work on the packed masks: the two opaque bounding
// boxes reject most pairs at once, and the rest AND up to 64 pixels of a row
// in one step.
#include "platform/collision.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// 64 mask bits of a row starting at pixel 'start' (>= 0); bits past the end
// of the row read as clear.
uint64_t RowBits(const uint64_t* row, int rowWords, int64_t start) {
    const int64_t word = start / 64;
    const int shift = static_cast<int>(start % 64);
    if (word >= rowWords) {
        return 0;
    }
    uint64_t bits = row[word] >> shift;
    if (shift != 0 && word + 1 < rowWords) {
        bits |= row[word + 1] << (64 - shift);
    }
    return bits;
}

}  // namespace

int64_t FrameOrigin(int position, float handle) {
    // Handles are almost always at or right of the corner, where truncation
    // is the floor and far cheaper.
    if (handle >= 0.0f) {
        return int64_t{position} - static_cast<int64_t>(handle);
    }
    return int64_t{position} - static_cast<int64_t>(std::floor(handle));
}

bool CollideImages(const Image& a, int ax, int ay, int fa, const Image& b, int bx, int by, int fb) {
    if (fa < 0 || static_cast<size_t>(fa) >= a.masks.size() || fb < 0 ||
        static_cast<size_t>(fb) >= b.masks.size()) {
        return false;
    }
    const CollisionMask& maskA = a.masks[static_cast<size_t>(fa)];
    const CollisionMask& maskB = b.masks[static_cast<size_t>(fb)];
    if (maskA.maxX < maskA.minX || maskB.maxX < maskB.minX) {
        return false;
    }

    const int64_t leftA = FrameOrigin(ax, a.handleX);
    const int64_t topA = FrameOrigin(ay, a.handleY);
    const int64_t leftB = FrameOrigin(bx, b.handleX);
    const int64_t topB = FrameOrigin(by, b.handleY);

    // Overlap of the opaque boxes, in screen pixels, both ends included.
    const int64_t x0 = std::max(leftA + maskA.minX, leftB + maskB.minX);
    const int64_t x1 = std::min(leftA + maskA.maxX, leftB + maskB.maxX);
    const int64_t y0 = std::max(topA + maskA.minY, topB + maskB.minY);
    const int64_t y1 = std::min(topA + maskA.maxY, topB + maskB.maxY);
    if (x0 > x1 || y0 > y1) {
        return false;
    }

    for (int64_t y = y0; y <= y1; ++y) {
        const uint64_t* rowA = maskA.bits.data() + static_cast<size_t>(y - topA) * maskA.rowWords;
        const uint64_t* rowB = maskB.bits.data() + static_cast<size_t>(y - topB) * maskB.rowWords;
        for (int64_t x = x0; x <= x1; x += 64) {
            // Past x1 one of the two frames is beyond its opaque box, where
            // its bits are clear, so the last step needs no trimming.
            const uint64_t both =
                RowBits(rowA, maskA.rowWords, x - leftA) & RowBits(rowB, maskB.rowWords, x - leftB);
            if (both != 0) {
                return true;
            }
        }
    }
    return false;
}
