#include "platform/sdl/sdl_modes.h"

#include <algorithm>
#include <cstdlib>

namespace sdl {

int ReportedDepth(int bitsPerPixel, int bytesPerPixel) {
    return bytesPerPixel == 4 ? 32 : bitsPerPixel;
}

std::vector<DisplayMode> GameModes(const std::vector<DisplayMode>& offered,
                                   const DisplayMode& desktop) {
    std::vector<DisplayMode> modes = offered;
    bool hasGameSize = std::any_of(offered.begin(), offered.end(), [](const DisplayMode& m) {
        return m.width == kGameWidth && m.height == kGameHeight;
    });
    if (!hasGameSize && desktop.width >= kGameWidth && desktop.height >= kGameHeight) {
        modes.push_back(DisplayMode{kGameWidth, kGameHeight, desktop.depth, desktop.rate});
    }
    return modes;
}

int ChooseMode(const std::vector<DisplayMode>& offered, int width, int height, int depth, int rate,
               int desktopRate) {
    int wantedRate = rate != 0 ? rate : desktopRate;
    int best = -1;
    long bestScore = 0;
    for (size_t i = 0; i < offered.size(); ++i) {
        const DisplayMode& m = offered[i];
        if (m.width != width || m.height != height) {
            continue;
        }
        // A depth mismatch weighs more than any difference in rate.
        long score = std::labs(static_cast<long>(m.rate) - wantedRate);
        if (depth != 0 && m.depth != depth) {
            score += 1000000;
        }
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

Viewport FitViewport(int drawableWidth, int drawableHeight, int pictureWidth, int pictureHeight) {
    Viewport v;
    if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return v;
    }
    // Compare drawableWidth / pictureWidth with drawableHeight / pictureHeight
    // in integers, so an exact fit stays exact.
    long long wide = static_cast<long long>(drawableWidth) * pictureHeight;
    long long tall = static_cast<long long>(drawableHeight) * pictureWidth;
    if (wide >= tall) {
        v.height = drawableHeight;
        v.width = static_cast<int>(tall / pictureHeight);
    } else {
        v.width = drawableWidth;
        v.height = static_cast<int>(wide / pictureWidth);
    }
    v.x = (drawableWidth - v.width) / 2;
    v.y = (drawableHeight - v.height) / 2;
    return v;
}

}  // namespace sdl
