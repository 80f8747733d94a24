// A picture's pixels are needed in memory only until the display backend
// has copied them into a texture; after that they can be freed and, should
// the program ever read them, decoded again from the embedded file.
#include <memory>

#include "platform/image.h"

void ReleasePixels(Image& image) {
    if (image.firstCell < 0 || image.pixelsReleased) {
        return;
    }
    for (std::vector<uint32_t>& frame : image.pixels) {
        std::vector<uint32_t>().swap(frame);
    }
    image.pixelsReleased = true;
}

bool RestorePixels(Image& image) {
    if (!image.pixelsReleased) {
        return true;
    }
    DecodedPicture picture;
    if (!DecodeEmbedded(image.name, picture)) {
        return false;
    }
    // The stored flags are the ones in force, so the cells come out as before.
    std::unique_ptr<Image> decoded(MakeImage(image.name, std::move(picture), image.width,
                                             image.height, image.firstCell,
                                             static_cast<int>(image.pixels.size()), image.flags));
    if (decoded == nullptr) {
        return false;
    }
    image.pixels = std::move(decoded->pixels);
    image.pixelsReleased = false;
    return true;
}
