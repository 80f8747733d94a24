// Every picture the game embeds, grouped by the code that paints them.
#pragma once

#include <string>
#include <vector>

#include "image.h"

struct Picture {
    std::string name;  // file name inside the gfx folder
    Image image;
    bool opaque;  // written as RGB without alpha
};

// The glyph order of the game's font, one 24x16 cell each.
extern const char kCharset[];

std::vector<Picture> MakeFontPictures();      // font.png, digits.png
std::vector<Picture> MakeSpritePictures();    // ship, life, bomb, bullet, stars
std::vector<Picture> MakeAlienPicture();      // alien.png
std::vector<Picture> MakeExplosionPicture();  // explosion.png
std::vector<Picture> MakeBannerPictures();    // title, presents, load_title
std::vector<Picture> MakeLogoPictures();      // logo_sml, logo_lge
std::vector<Picture> MakeSpacePicture();      // space.png
std::vector<Picture> MakeIconPictures();      // icons/quorvex-<size>.png, the desktop icons

// The player's ship at the given size (1 gives the 64x32 sprite); the title art reuses it.
Image PaintShip(float scale);
// The makers' badge of the logos, centred on (cx, cy) with radius r; its tail reaches about
// 1.1 r right and down. 'small' gives a bolder badge without glow or stars, for icons a few
// dozen pixels across.
void PaintEmblem(Image& img, float cx, float cy, float r, bool small);
// One frame (0..3) of the alien at the given size (1 gives a 32x32 cell).
Image PaintAlien(int frame, float scale);

// The advance of each font glyph as the game measures it: the rightmost column holding any
// pixel that is not fully transparent, plus one.
std::vector<int> MeasureFontWidths(const Image& font);
// Compares the measured advances with the ones the game's layout was built around; prints
// every mismatch and returns false if there is one.
bool CheckFontWidths(const Image& font);
