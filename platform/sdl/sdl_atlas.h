// How an image's frames are laid out in one texture. Each cell gets a
// one-pixel border copied from its own edge, so smoothing at a cell's edge
// sees the cell's own pixels, never a neighbour's.
#pragma once

#include <cstdint>
#include <vector>

struct Image;

namespace sdl {

struct AtlasLayout {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 1;
    int rows = 1;
    int width = 0;  // of the whole texture
    int height = 0;
};

struct TexRect {
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

// Cells in rows, as many per row as fit in maxSize texels.
AtlasLayout LayoutAtlas(int cellWidth, int cellHeight, int frames, int maxSize);

// Texture coordinates of the frame's cell, without its border.
TexRect CellRect(const AtlasLayout& layout, int frame);

// The texture's pixels, 0xAARRGGBB, row by row. A frame whose pixel data is
// short stays transparent where it has none.
std::vector<uint32_t> BuildAtlas(const Image& image, const AtlasLayout& layout);

}  // namespace sdl
