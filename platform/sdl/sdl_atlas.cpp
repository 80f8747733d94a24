#include "platform/sdl/sdl_atlas.h"

#include <algorithm>

#include "platform/image.h"

namespace sdl {

AtlasLayout LayoutAtlas(int cellWidth, int cellHeight, int frames, int maxSize) {
    AtlasLayout layout;
    layout.cellWidth = cellWidth;
    layout.cellHeight = cellHeight;
    int padded = cellWidth + 2;
    frames = std::max(frames, 1);
    layout.columns = std::clamp(maxSize / padded, 1, frames);
    layout.rows = (frames + layout.columns - 1) / layout.columns;
    layout.width = layout.columns * padded;
    layout.height = layout.rows * (cellHeight + 2);
    return layout;
}

TexRect CellRect(const AtlasLayout& layout, int frame) {
    int left = (frame % layout.columns) * (layout.cellWidth + 2) + 1;
    int top = (frame / layout.columns) * (layout.cellHeight + 2) + 1;
    TexRect r;
    r.u0 = static_cast<float>(left) / layout.width;
    r.v0 = static_cast<float>(top) / layout.height;
    r.u1 = static_cast<float>(left + layout.cellWidth) / layout.width;
    r.v1 = static_cast<float>(top + layout.cellHeight) / layout.height;
    return r;
}

std::vector<uint32_t> BuildAtlas(const Image& image, const AtlasLayout& layout) {
    std::vector<uint32_t> texels(static_cast<size_t>(layout.width) * layout.height, 0);
    int w = layout.cellWidth;
    int h = layout.cellHeight;
    for (size_t f = 0; f < image.pixels.size(); ++f) {
        const std::vector<uint32_t>& src = image.pixels[f];
        int frame = static_cast<int>(f);
        int left = (frame % layout.columns) * (w + 2);
        int top = (frame / layout.columns) * (h + 2);
        for (int y = -1; y <= h; ++y) {
            int sy = std::clamp(y, 0, h - 1);
            uint32_t* row = &texels[static_cast<size_t>(top + y + 1) * layout.width + left];
            for (int x = -1; x <= w; ++x) {
                int sx = std::clamp(x, 0, w - 1);
                size_t at = static_cast<size_t>(sy) * w + sx;
                row[x + 1] = at < src.size() ? src[at] : 0;
            }
        }
    }
    return texels;
}

}  // namespace sdl
