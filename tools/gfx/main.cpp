// Paints every picture of the game and writes them as PNG files.
//   gen_gfx <output folder> [preview folder]
// The optional preview folder receives enlarged views of each picture over a dark
// background, sample lines of the font and mock-ups of the title and play screens.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pictures.h"
#include "png_writer.h"
#include "preview.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [preview folder]\n", argv[0]);
        return 2;
    }
    std::string outDir = argv[1];

    std::vector<Picture> pictures;
    for (auto make : {MakeSpritePictures, MakeAlienPicture, MakeFontPictures, MakeExplosionPicture,
                      MakeBannerPictures, MakeLogoPictures, MakeSpacePicture, MakeIconPictures}) {
        for (Picture& p : make()) {
            pictures.push_back(std::move(p));
        }
    }

    bool ok = true;
    for (const Picture& p : pictures) {
        if (p.name == "font.png" && !CheckFontWidths(p.image)) {
            ok = false;
        }
    }
    if (!ok) {
        std::fprintf(stderr, "font widths are wrong; nothing written\n");
        return 1;
    }

    for (const Picture& p : pictures) {
        const Image& img = p.image;
        std::string path = outDir + "/" + p.name;
        std::error_code ignored;  // a folder that cannot be made fails the write below
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        bool written = p.opaque ? WritePng(path, img.Width(), img.Height(), 3, img.ToRgb8())
                                : WritePng(path, img.Width(), img.Height(), 4, img.ToRgba8());
        if (!written) {
            return 1;
        }
    }
    if (argc == 3) {
        WritePreviews(pictures, argv[2]);
    }
    return 0;
}
