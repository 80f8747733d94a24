// A picture held in memory: its frames' pixels as 0xAARRGGBB, the handle,
// and a collision mask per frame built when the picture is loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CollisionMask {
    // Opaque bounds of the frame (pixels of alpha 128 or more), relative to
    // the cell's top-left corner; empty when maxX < minX.
    int minX = 0, minY = 0, maxX = -1, maxY = -1;
    // One bit per pixel, row by row, rowWords 64-bit words per row.
    int rowWords = 0;
    std::vector<uint64_t> bits;
};

struct Image {
    std::string name;  // embedded name it was loaded from
    int width = 0;     // of one cell
    int height = 0;
    int flags = 0;
    float handleX = 0.0f;
    float handleY = 0.0f;
    // Frame f's pixels: pixels[f][y * width + x], 0xAARRGGBB. A frame is
    // empty while its pixels are let go (see ReleasePixels); the count of
    // frames stays.
    std::vector<std::vector<uint32_t>> pixels;
    // The cell of the embedded picture `name` that frame 0 was cut from,
    // while the pixels are still exactly as decoded from it; -1 when they
    // cannot be decoded again (made in memory, or handed out by a lock).
    int firstCell = -1;
    bool pixelsReleased = false;
    std::vector<CollisionMask> masks;
    // Set when the pixels change, so the display backend uploads them again.
    uint64_t version = 1;
    // Owned by the display backend (textures); null until first drawn.
    void* backendData = nullptr;
};

// A decoded PNG picture, 8 bits per channel, converted to 0xAARRGGBB.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;
};

// False for damaged or truncated data; never throws or leaks.
bool DecodePng(const unsigned char* data, size_t length, DecodedPicture& out);
// Decodes the embedded picture opened by "incbin::" + name; false when it is
// missing or damaged.
bool DecodeEmbedded(const std::string& name, DecodedPicture& picture);

// Builds an image from a decoded picture, cut into cells row by row from the
// top-left. Null when the picture holds fewer than first + count cells.
// Applies the masked flag (black transparent in pictures without alpha).
// A picture that is one whole cell is taken over; pass it moved.
Image* MakeImage(const std::string& name, DecodedPicture picture, int cellWidth, int cellHeight,
                 int firstCell, int cellCount, int flags);

// Frees the frames' pixels when they can be decoded again from the embedded
// picture, as once a texture holds them; the masks and frame count stay.
void ReleasePixels(Image& image);
// Decodes released pixels again, exactly as first loaded. False when they
// were released and cannot be had back.
bool RestorePixels(Image& image);

CollisionMask BuildMask(const std::vector<uint32_t>& pixels, int width, int height);
void RebuildMasks(Image& image);
// Rebuilds one frame's mask after its pixels changed.
void RebuildMask(Image& image, int frame);
