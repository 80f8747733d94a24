// The desktop icons: the makers' badge from the logos on its own, square, at
// the sizes desktops ask for. Up to 48 pixels the bolder small badge is used
// so the rim, planet and tail still read.
#include <string>

#include "pictures.h"

namespace {

Image Icon(int size, bool small) {
    Image img(size, size);
    // The badge reaches about r to the left and up, 1.15 r to the right and
    // down (the tail), and its glow a further 0.16 r.
    float reach = small ? 2.2f : 2.5f;
    float r = size / reach;
    float centre = size / 2.0f - 0.075f * r;
    PaintEmblem(img, centre, centre, r, small);
    return img;
}

}  // namespace

std::vector<Picture> MakeIconPictures() {
    std::vector<Picture> out;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        out.push_back(
            {"icons/quorvex-" + std::to_string(size) + ".png", Icon(size, size <= 48), false});
    }
    return out;
}
