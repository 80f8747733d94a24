// A loaded picture's pixels can be let go once a texture holds them, and
// come back exactly as loaded when the program locks the picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/platform.h"
#include "tests/embedded_png.h"

namespace {

// Distinct colours with some pure black and some translucent pixels, so the
// masked flag and the alpha channel both show in what is decoded again.
std::vector<uint32_t> Varied(int count) {
    std::vector<uint32_t> pixels(static_cast<size_t>(count));
    uint32_t seed = 99;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        uint32_t alpha = i % 5 == 0 ? 0x40u : 0xFFu;
        pixels[static_cast<size_t>(i)] = i % 7 == 0 ? 0xFF000000u : alpha << 24 | (seed >> 8);
    }
    return pixels;
}

void ExpectSameMasks(const std::vector<CollisionMask>& a, const std::vector<CollisionMask>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t f = 0; f < a.size(); ++f) {
        EXPECT_EQ(a[f].bits, b[f].bits) << f;
        EXPECT_EQ(a[f].minX, b[f].minX) << f;
        EXPECT_EQ(a[f].maxY, b[f].maxY) << f;
    }
}

struct Case {
    const char* file;
    bool withAlpha;
    int flags;
    int cellWidth, cellHeight, firstCell, cellCount;  // cellCount 0: LoadImage
};

TEST(PixelRelease, ReleasedPixelsReadBackExactlyAsLoaded) {
    const int width = 12, height = 6;
    for (const Case& c : {
             Case{"release/rgb_default.png", false, IMAGE_DEFAULT_FLAGS, 4, 3, 2, 4},
             Case{"release/rgb_plain.png", false, 0, 4, 3, 1, 3},
             Case{"release/rgba_masked.png", true, IMAGE_MASKED, 3, 2, 0, 12},
             Case{"release/whole.png", false, IMAGE_DEFAULT_FLAGS, width, height, 0, 0},
         }) {
        SCOPED_TRACE(c.file);
        const std::string name =
            EmbedArgb(c.file, width, height, Varied(width * height), c.withAlpha);
        std::unique_ptr<Image> image(c.cellCount == 0
                                         ? LoadImage(name, c.flags)
                                         : LoadAnimImage(name, c.cellWidth, c.cellHeight,
                                                         c.firstCell, c.cellCount, c.flags));
        ASSERT_NE(image, nullptr);
        const auto loaded = image->pixels;
        const auto masks = image->masks;
        const int frames = ImageFrames(image.get());

        ReleasePixels(*image);
        EXPECT_TRUE(image->pixelsReleased);
        EXPECT_EQ(ImageFrames(image.get()), frames);
        for (const std::vector<uint32_t>& frame : image->pixels) {
            EXPECT_TRUE(frame.empty());
            EXPECT_EQ(frame.capacity(), 0u);
        }
        ExpectSameMasks(image->masks, masks);  // collisions go on without the pixels

        for (int f = 0; f < frames; ++f) {
            PixelMap map = LockImage(image.get(), f);
            for (int y = 0; y < image->height; ++y) {
                for (int x = 0; x < image->width; ++x) {
                    ASSERT_EQ(
                        ReadPixel(map, x, y),
                        loaded[static_cast<size_t>(f)][static_cast<size_t>(y) * image->width + x])
                        << f << ": " << x << ", " << y;
                }
            }
            UnlockImage(image.get(), f);
        }
        EXPECT_EQ(image->pixels, loaded);
        ExpectSameMasks(image->masks, masks);
    }
}

// A lock hands the pixels to the program, which might change them: from then
// on they are never let go, as they could not be decoded again.
TEST(PixelRelease, LockedPictureKeepsItsPixels) {
    const std::string name = EmbedArgb("release/locked.png", 4, 4, Varied(16), true);
    std::unique_ptr<Image> image(LoadImage(name, IMAGE_DEFAULT_FLAGS));
    ASSERT_NE(image, nullptr);
    const auto loaded = image->pixels;
    LockImage(image.get(), 0);
    UnlockImage(image.get(), 0);
    ReleasePixels(*image);
    EXPECT_FALSE(image->pixelsReleased);
    EXPECT_EQ(image->pixels, loaded);
}

TEST(PixelRelease, PictureMadeInMemoryKeepsItsPixels) {
    DecodedPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.hasAlpha = true;
    picture.pixels = {0xFF102030, 0x80405060, 0, 0xFFFFFFFF};
    const std::vector<uint32_t> made = picture.pixels;
    std::unique_ptr<Image> image(MakeImage("made in memory", picture, 2, 2, 0, 1, 0));
    ASSERT_NE(image, nullptr);
    ReleasePixels(*image);
    EXPECT_FALSE(image->pixelsReleased);
    EXPECT_EQ(image->pixels[0], made);
    EXPECT_TRUE(RestorePixels(*image));
}

// Should the embedded file no longer decode, the picture reads as
// transparent rather than as stray memory.
TEST(PixelRelease, UndecodableFileReadsTransparent) {
    const std::string file = "release/damaged.png";
    const std::string name = EmbedArgb(file, 4, 2, Varied(8), true);
    std::unique_ptr<Image> image(LoadAnimImage(name, 2, 2, 0, 2, IMAGE_DEFAULT_FLAGS));
    ASSERT_NE(image, nullptr);
    ReleasePixels(*image);
    EmbedPng(file, {0x89, 'P', 'N', 'G'});
    EXPECT_FALSE(RestorePixels(*image));
    PixelMap map = LockImage(image.get(), 1);
    EXPECT_EQ(ReadPixel(map, 1, 1), 0u);
    EXPECT_EQ(ReadPixel(map, 0, 0), 0u);
    UnlockImage(image.get(), 1);
    EXPECT_EQ(ImageFrames(image.get()), 2);
}

}  // namespace
