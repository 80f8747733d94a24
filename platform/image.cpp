// Turning a decoded picture into an image: cutting it into cells, applying
// the masked flag and building each frame's collision mask. Mask bits run
// from the least significant bit of a row's first word: pixel x of a row is
// bit x % 64 of word x / 64.
#include "platform/image.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr uint32_t kAlphaMask = 0xFF000000u;
constexpr uint32_t kRgbMask = 0x00FFFFFFu;
// A pixel counts as solid for collisions from this alpha on.
constexpr uint32_t kSolidAlpha = 128;

std::vector<uint32_t> CutCell(const DecodedPicture& picture, int cellWidth, int cellHeight,
                              int cell) {
    const int cellsPerRow = picture.width / cellWidth;
    const int left = (cell % cellsPerRow) * cellWidth;
    const int top = (cell / cellsPerRow) * cellHeight;
    std::vector<uint32_t> pixels(static_cast<size_t>(cellWidth) * cellHeight);
    for (int y = 0; y < cellHeight; ++y) {
        const uint32_t* from =
            picture.pixels.data() + static_cast<size_t>(top + y) * picture.width + left;
        std::copy(from, from + cellWidth, pixels.begin() + static_cast<ptrdiff_t>(y) * cellWidth);
    }
    return pixels;
}

// Pictures with an alpha channel say themselves what is transparent; only
// in the others does black stand for "nothing here".
void MakeBlackTransparent(std::vector<uint32_t>& pixels) {
    for (uint32_t& pixel : pixels) {
        if ((pixel & kRgbMask) == 0) {
            pixel = 0;
        }
    }
}

}  // namespace

bool DecodeEmbedded(const std::string& name, DecodedPicture& picture) {
    EmbeddedBytes bytes = IncbinOpen(name);
    return bytes.data != nullptr && DecodePng(bytes.data, bytes.length, picture);
}

Image* MakeImage(const std::string& name, DecodedPicture picture, int cellWidth, int cellHeight,
                 int firstCell, int cellCount, int flags) {
    if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) {
        return nullptr;
    }
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        return nullptr;
    }
    const int64_t cells = int64_t{picture.width / cellWidth} * (picture.height / cellHeight);
    if (int64_t{firstCell} + cellCount > cells) {
        return nullptr;
    }

    if (flags == IMAGE_DEFAULT_FLAGS) {
        flags = IMAGE_MASKED | IMAGE_FILTERED;
    }
    const bool clearBlack = (flags & IMAGE_MASKED) != 0 && !picture.hasAlpha;

    auto* image = new Image;
    image->name = name;
    image->width = cellWidth;
    image->height = cellHeight;
    image->flags = flags;
    image->pixels.reserve(static_cast<size_t>(cellCount));
    const bool wholePicture =
        cellCount == 1 && cellWidth == picture.width && cellHeight == picture.height;
    for (int i = 0; i < cellCount; ++i) {
        // A picture that is its own only cell is taken over, not copied.
        image->pixels.push_back(wholePicture
                                    ? std::move(picture.pixels)
                                    : CutCell(picture, cellWidth, cellHeight, firstCell + i));
        if (clearBlack) {
            MakeBlackTransparent(image->pixels.back());
        }
    }
    RebuildMasks(*image);
    return image;
}

CollisionMask BuildMask(const std::vector<uint32_t>& pixels, int width, int height) {
    CollisionMask mask;
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) {
        return mask;
    }
    mask.rowWords = (width + 63) / 64;
    mask.bits.assign(static_cast<size_t>(mask.rowWords) * height, 0);
    mask.minX = width;
    mask.minY = height;
    for (int y = 0; y < height; ++y) {
        uint64_t* row = mask.bits.data() + static_cast<size_t>(y) * mask.rowWords;
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = (pixels[static_cast<size_t>(y) * width + x] & kAlphaMask) >> 24;
            if (alpha < kSolidAlpha) {
                continue;
            }
            row[x / 64] |= uint64_t{1} << (x % 64);
            mask.minX = std::min(mask.minX, x);
            mask.maxX = std::max(mask.maxX, x);
            mask.minY = std::min(mask.minY, y);
            mask.maxY = std::max(mask.maxY, y);
        }
    }
    if (mask.maxX < 0) {
        mask.minX = 0;
        mask.minY = 0;
    }
    return mask;
}

void RebuildMask(Image& image, int frame) {
    if (frame >= 0 && static_cast<size_t>(frame) < image.pixels.size() &&
        image.masks.size() == image.pixels.size()) {
        image.masks[static_cast<size_t>(frame)] =
            BuildMask(image.pixels[static_cast<size_t>(frame)], image.width, image.height);
    }
}

void RebuildMasks(Image& image) {
    image.masks.clear();
    image.masks.reserve(image.pixels.size());
    for (const std::vector<uint32_t>& frame : image.pixels) {
        image.masks.push_back(BuildMask(frame, image.width, image.height));
    }
}
