// Pixel-exact collision between image frames placed by their handles.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/collision.h"
#include "platform/image.h"

namespace {

// An image from rows of text, one character per pixel: '#' solid,
// '.' transparent, 'h' alpha 128, 'l' alpha 127. Frames are separated by
// an empty string.
std::unique_ptr<Image> Art(const std::vector<std::string>& rows) {
    std::vector<std::vector<std::string>> frames(1);
    for (const std::string& row : rows) {
        if (row.empty()) {
            frames.emplace_back();
        } else {
            frames.back().push_back(row);
        }
    }
    const int width = static_cast<int>(frames[0][0].size());
    const int height = static_cast<int>(frames[0].size());
    DecodedPicture picture;
    picture.width = width * static_cast<int>(frames.size());
    picture.height = height;
    picture.hasAlpha = true;
    picture.pixels.resize(static_cast<size_t>(picture.width) * height);
    for (size_t f = 0; f < frames.size(); ++f) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const char c = frames[f][static_cast<size_t>(y)][static_cast<size_t>(x)];
                const uint32_t alpha = c == '#' ? 255 : c == 'h' ? 128 : c == 'l' ? 127 : 0;
                picture.pixels[static_cast<size_t>(y) * picture.width + f * width + x] =
                    alpha << 24 | 0xFFFFFF;
            }
        }
    }
    return std::unique_ptr<Image>(
        MakeImage("art", picture, width, height, 0, static_cast<int>(frames.size()), 0));
}

std::unique_ptr<Image> Solid(int width, int height) {
    return Art(std::vector<std::string>(static_cast<size_t>(height), std::string(width, '#')));
}

void MidHandle(Image& image) {
    image.handleX = image.width / 2.0f;
    image.handleY = image.height / 2.0f;
}

struct Placement {
    const char* what;
    int ax, ay, fa;
    int bx, by, fb;
    bool hit;
};

void ExpectAll(const Image& a, const Image& b, const std::vector<Placement>& cases) {
    for (const Placement& c : cases) {
        EXPECT_EQ(CollideImages(a, c.ax, c.ay, c.fa, b, c.bx, c.by, c.fb), c.hit) << c.what;
        EXPECT_EQ(CollideImages(b, c.bx, c.by, c.fb, a, c.ax, c.ay, c.fa), c.hit)
            << c.what << " (swapped)";
    }
}

TEST(CollideImages, TouchingEdgesDoNotCollide) {
    const auto a = Solid(4, 4);
    const auto b = Solid(4, 4);
    ExpectAll(*a, *b,
              {
                  {"same place", 0, 0, 0, 0, 0, 0, true},
                  {"side by side", 0, 0, 0, 4, 0, 0, false},
                  {"one column overlap", 0, 0, 0, 3, 0, 0, true},
                  {"one above the other", 0, 0, 0, 0, 4, 0, false},
                  {"one row overlap", 0, 0, 0, 0, 3, 0, true},
                  {"corners touch", 0, 0, 0, 4, 4, 0, false},
                  {"one corner pixel overlap", 0, 0, 0, 3, 3, 0, true},
                  {"left side by side", 0, 0, 0, -4, 0, 0, false},
                  {"left one column overlap", 0, 0, 0, -3, 0, 0, true},
                  {"far away", 0, 0, 0, 500, -300, 0, false},
                  {"negative coordinates", -100, -100, 0, -97, -103, 0, true},
              });
}

TEST(CollideImages, AlphaThresholdIs128) {
    const auto light = Art({"l"});
    const auto half = Art({"h"});
    const auto dot = Solid(1, 1);
    ExpectAll(*light, *dot, {{"alpha 127", 5, 5, 0, 5, 5, 0, false}});
    ExpectAll(*half, *dot, {{"alpha 128", 5, 5, 0, 5, 5, 0, true}});
    ExpectAll(*half, *half, {{"both alpha 128", 5, 5, 0, 5, 5, 0, true}});
    ExpectAll(*light, *light, {{"both alpha 127", 5, 5, 0, 5, 5, 0, false}});
}

TEST(CollideImages, CentreHandlesPlaceByTheCentre) {
    auto a = Solid(4, 4);  // with a centre handle at (10, 10) it covers 8..11
    MidHandle(*a);
    const auto b = Solid(2, 2);  // top-left handle
    ExpectAll(*a, *b,
              {
                  {"right of it", 10, 10, 0, 12, 10, 0, false},
                  {"last column", 10, 10, 0, 11, 10, 0, true},
                  {"left of it", 10, 10, 0, 6, 10, 0, false},
                  {"first column", 10, 10, 0, 7, 10, 0, true},
                  {"above it", 10, 10, 0, 9, 6, 0, false},
                  {"first row", 10, 10, 0, 9, 7, 0, true},
                  {"below it", 10, 10, 0, 9, 12, 0, false},
                  {"last row", 10, 10, 0, 9, 11, 0, true},
              });
}

TEST(CollideImages, BothCentreHandled) {
    // 32x32 against 8x16, both centred: they touch when the centres are 20
    // apart sideways or 24 apart up and down.
    auto alien = Solid(32, 32);
    auto bullet = Solid(8, 16);
    MidHandle(*alien);
    MidHandle(*bullet);
    ExpectAll(*alien, *bullet,
              {
                  {"centred", 100, 100, 0, 100, 100, 0, true},
                  {"sideways apart", 100, 100, 0, 120, 100, 0, false},
                  {"sideways overlap", 100, 100, 0, 119, 100, 0, true},
                  {"other side apart", 100, 100, 0, 80, 100, 0, false},
                  {"other side overlap", 100, 100, 0, 81, 100, 0, true},
                  {"below apart", 100, 100, 0, 100, 124, 0, false},
                  {"below overlap", 100, 100, 0, 100, 123, 0, true},
                  {"above apart", 100, 100, 0, 100, 76, 0, false},
                  {"above overlap", 100, 100, 0, 100, 77, 0, true},
              });
}

TEST(CollideImages, OddSizesRoundTheHandleDown) {
    auto a = Solid(5, 3);  // handle (2.5, 1.5): at (10, 10) it covers x 8..12, y 9..11
    MidHandle(*a);
    EXPECT_EQ(FrameOrigin(10, a->handleX), 8);
    EXPECT_EQ(FrameOrigin(10, a->handleY), 9);
    const auto dot = Solid(1, 1);
    ExpectAll(*a, *dot,
              {
                  {"left of it", 10, 10, 0, 7, 10, 0, false},
                  {"first column", 10, 10, 0, 8, 10, 0, true},
                  {"last column", 10, 10, 0, 12, 10, 0, true},
                  {"right of it", 10, 10, 0, 13, 10, 0, false},
                  {"above it", 10, 10, 0, 10, 8, 0, false},
                  {"first row", 10, 10, 0, 10, 9, 0, true},
                  {"last row", 10, 10, 0, 10, 11, 0, true},
                  {"below it", 10, 10, 0, 10, 12, 0, false},
              });
}

TEST(CollideImages, TransparentHolesDoNotCollide) {
    const auto ring = Art({
        "#####",
        "#...#",
        "#...#",
        "#...#",
        "#####",
    });
    const auto dot = Solid(1, 1);
    const auto plus = Art({
        ".#.",
        "###",
        ".#.",
    });
    ExpectAll(*ring, *dot,
              {
                  {"dot in the middle", 0, 0, 0, 2, 2, 0, false},
                  {"dot inside by the wall", 0, 0, 0, 1, 3, 0, false},
                  {"dot on the wall", 0, 0, 0, 4, 2, 0, true},
                  {"dot on a corner", 0, 0, 0, 0, 0, 0, true},
              });
    ExpectAll(*ring, *plus,
              {
                  {"plus fills the hole", 0, 0, 0, 1, 1, 0, false},
                  {"plus arm on the wall", 0, 0, 0, 2, 1, 0, true},
                  // The plus's empty corner sits on the ring's corner.
                  {"corners only", 0, 0, 0, 4, 4, 0, false},
              });
}

TEST(CollideImages, FramesAreChosenByIndex) {
    const auto strip = Art({
        "..", "..",      // frame 0: empty
        "", "##", "##",  // frame 1: solid
        "", "#.", "..",  // frame 2: top-left pixel
    });
    ASSERT_EQ(strip->masks.size(), 3u);
    const auto dot = Solid(1, 1);
    ExpectAll(*strip, *dot,
              {
                  {"empty frame", 0, 0, 0, 0, 0, 0, false},
                  {"solid frame", 0, 0, 1, 1, 1, 0, true},
                  {"corner frame, on the pixel", 0, 0, 2, 0, 0, 0, true},
                  {"corner frame, off the pixel", 0, 0, 2, 1, 1, 0, false},
                  {"frame past the end", 0, 0, 3, 0, 0, 0, false},
                  {"negative frame", 0, 0, -1, 0, 0, 0, false},
                  {"other image's frame past the end", 0, 0, 1, 0, 0, 1, false},
              });
}

TEST(CollideImages, WideFramesAcrossWordBoundaries) {
    // One solid pixel at column 70 of a 100-wide row, another at column 5.
    std::string row(100, '.');
    row[5] = '#';
    row[70] = '#';
    const auto wide = Art({row});
    const auto dot = Solid(1, 1);
    ExpectAll(*wide, *dot,
              {
                  {"on column 70", 0, 0, 0, 70, 0, 0, true},
                  {"on column 69", 0, 0, 0, 69, 0, 0, false},
                  {"on column 71", 0, 0, 0, 71, 0, 0, false},
                  {"on column 5", 0, 0, 0, 5, 0, 0, true},
                  {"shifted frame, column 70", 13, 0, 0, 83, 0, 0, true},
                  {"shifted frame, column 64", 13, 0, 0, 77, 0, 0, false},
              });
    // Two wide frames whose pixels meet only after shifting across a word.
    std::string other(100, '.');
    other[3] = '#';
    const auto second = Art({other});
    ExpectAll(*wide, *second,
              {
                  {"column 70 meets column 3", 0, 0, 0, 67, 0, 0, true},
                  {"column 5 meets column 3", 0, 0, 0, 2, 0, 0, true},
                  {"between them", 0, 0, 0, 30, 0, 0, false},
              });
    // Opaque boxes overlapping over 81 columns, the only shared pixel in the
    // last of them: the scan must go on past the first 64 columns.
    std::string far(100, '.');
    far[0] = '#';
    far[80] = '#';
    std::string farOther(100, '.');
    farOther[1] = '#';
    farOther[80] = '#';
    const auto farA = Art({far, far});
    const auto farB = Art({farOther, farOther});
    ExpectAll(*farA, *farB,
              {
                  {"shared pixel at column 80", 0, 0, 0, 0, 1, 0, true},
                  {"shifted by one, nothing shared", 0, 0, 0, 1, 1, 0, false},
              });
}

// Reference answer, pixel by pixel on the screen.
bool SlowCollide(const Image& a, int ax, int ay, int fa, const Image& b, int bx, int by, int fb) {
    const int64_t leftA = FrameOrigin(ax, a.handleX), topA = FrameOrigin(ay, a.handleY);
    const int64_t leftB = FrameOrigin(bx, b.handleX), topB = FrameOrigin(by, b.handleY);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.pixels[fa][y * a.width + x] >> 24 < 128) {
                continue;
            }
            const int64_t bxPixel = leftA + x - leftB, byPixel = topA + y - topB;
            if (bxPixel < 0 || byPixel < 0 || bxPixel >= b.width || byPixel >= b.height) {
                continue;
            }
            if (b.pixels[fb][byPixel * b.width + bxPixel] >> 24 >= 128) {
                return true;
            }
        }
    }
    return false;
}

std::unique_ptr<Image> RandomImage(std::mt19937& random, int width, int height, int percent) {
    std::vector<std::string> rows(static_cast<size_t>(height), std::string(width, '.'));
    for (std::string& row : rows) {
        for (char& c : row) {
            if (static_cast<int>(random() % 100) < percent) {
                c = random() % 2 ? '#' : 'h';
            } else if (random() % 4 == 0) {
                c = 'l';
            }
        }
    }
    return Art(rows);
}

TEST(CollideImages, MatchesPixelByPixelReference) {
    std::mt19937 random(20240611);
    int hits = 0, misses = 0;
    for (int pair = 0; pair < 60; ++pair) {
        auto a = RandomImage(random, 1 + random() % 90, 1 + random() % 20, 1 + random() % 8);
        auto b = RandomImage(random, 1 + random() % 90, 1 + random() % 20, 1 + random() % 8);
        if (pair % 2 == 0) {
            MidHandle(*a);
            MidHandle(*b);
        }
        for (int trial = 0; trial < 200; ++trial) {
            const int ax = static_cast<int>(random() % 40) - 20;
            const int ay = static_cast<int>(random() % 20) - 10;
            const int bx = static_cast<int>(random() % 140) - 70;
            const int by = static_cast<int>(random() % 40) - 20;
            const bool expected = SlowCollide(*a, ax, ay, 0, *b, bx, by, 0);
            ASSERT_EQ(CollideImages(*a, ax, ay, 0, *b, bx, by, 0), expected)
                << "pair " << pair << " trial " << trial;
            (expected ? hits : misses)++;
        }
    }
    // Both outcomes must have been exercised for the comparison to mean much.
    EXPECT_GT(hits, 500);
    EXPECT_GT(misses, 500);
}

}  // namespace
