// Any bytes as an embedded picture: loaded whole and as strips of several
// cell sizes, with handles, pixel reads, mask rebuilds and collision tests
// on whatever decodes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/checksums.h"
#include "platform/headless/headless_backend.h"
#include "platform/image.h"
#include "platform/platform.h"

namespace {

const char* const NAME = "fuzz/picture.png";
const char* const PATH = "incbin::fuzz/picture.png";

// Everything the game does with a loaded picture.
void Exercise(Image* image) {
    const int frames = ImageFrames(image);
    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    if (frames <= 0 || width <= 0 || height <= 0) {
        std::abort();  // a loaded image always has a frame with pixels
    }
    const int last = frames - 1;
    PixelMap map = LockImage(image, last);
    if (ReadPixel(map, width, height) != 0 || ReadPixel(map, -1, 0) != 0) {
        std::abort();  // outside the frame reads as nothing
    }
    ReadPixel(map, width - 1, height - 1);
    UnlockImage(image, last);
    MidHandle(image);
    // Against itself: at the same place, edge to edge, and frames apart.
    ImagesCollide(image, 0, 0, 0, image, 0, 0, last);
    ImagesCollide(image, 0, 0, last, image, width - 1, height - 1, 0);
    ImagesCollide(image, 5, -3, 0, image, 5 + width / 3, -3 - height / 2, last);
    DrawImage(image, 100.5f, 50.25f, last);
    delete image;
}

void LoadAndExercise(const uint8_t* data, size_t size) {
    IncbinRegister(NAME, data, size);
    Image* whole = LoadImage(PATH, IMAGE_DEFAULT_FLAGS);
    if (whole == nullptr) {
        return;
    }
    const int width = ImageWidth(whole);
    const int height = ImageHeight(whole);
    Exercise(whole);
    // A strip of cells a third as wide and half as high, cut row by row,
    // and one cell more than the picture holds, which must be refused.
    const int cellWidth = width / 3;
    const int cellHeight = height / 2;
    if (cellWidth == 0 || cellHeight == 0) {
        return;
    }
    const int count = (width / cellWidth) * (height / cellHeight);
    Image* strip = LoadAnimImage(PATH, cellWidth, cellHeight, 0, count, IMAGE_MASKED);
    if (strip == nullptr) {
        std::abort();  // every cell is there
    }
    Exercise(strip);
    if (LoadAnimImage(PATH, cellWidth, cellHeight, 1, count, IMAGE_MASKED) != nullptr) {
        std::abort();  // one cell too many
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static HeadlessBackend backend;
    backend.recordDrawing = false;
    InstallBackend(&backend);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadAndExercise(data, size);
    std::vector<unsigned char> mended(data, data + size);
    MendPngChecksums(mended);
    if (!std::equal(mended.begin(), mended.end(), data)) {
        LoadAndExercise(mended.data(), mended.size());
    }
    return 0;
}
