// Picture decoding, strip cutting, the masked flag and collision masks.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/builtin_font.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "tests/png_fixture.h"

namespace {

DecodedPicture MustDecode(const std::vector<uint8_t>& file) {
    DecodedPicture picture;
    EXPECT_FALSE(file.empty());
    EXPECT_TRUE(DecodePng(file.data(), file.size(), picture));
    return picture;
}

PngLayout Layout(int width, int height, int colorType, int bitDepth, std::vector<uint8_t> rows) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = colorType;
    layout.bitDepth = bitDepth;
    layout.rows = std::move(rows);
    return layout;
}

// The byte offset of the first chunk of the given type, or 0.
size_t FindChunk(const std::vector<uint8_t>& file, const char* type) {
    for (size_t at = 8; at + 8 <= file.size();) {
        const size_t length = size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 |
                              size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::equal(type, type + 4, file.begin() + static_cast<ptrdiff_t>(at) + 4)) {
            return at;
        }
        at += 12 + length;
    }
    return 0;
}

size_t ChunkLength(const std::vector<uint8_t>& file, size_t at) {
    return size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 | size_t{file[at + 2]} << 8 |
           file[at + 3];
}

// Recomputes a chunk's CRC after its data was altered on purpose.
void FixCrc(std::vector<uint8_t>& file, size_t at) {
    const size_t length = ChunkLength(file, at);
    const uLong crc = crc32(0, file.data() + at + 4, static_cast<uInt>(length + 4));
    for (int i = 0; i < 4; ++i) {
        file[at + 8 + length + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
}

std::unique_ptr<Image> Make(const DecodedPicture& picture, int cellWidth, int cellHeight,
                            int firstCell, int cellCount, int flags) {
    return std::unique_ptr<Image>(
        MakeImage("incbin::test.png", picture, cellWidth, cellHeight, firstCell, cellCount, flags));
}

DecodedPicture Picture(int width, int height, bool hasAlpha, std::vector<uint32_t> pixels) {
    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.hasAlpha = hasAlpha;
    picture.pixels = std::move(pixels);
    return picture;
}

// ---------------------------------------------------------------- decoding

TEST(DecodePng, Grey8BecomesOpaqueRgb) {
    const DecodedPicture p =
        MustDecode(EncodePng(Layout(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 0x7F, 0xFF})));
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.height, 1);
    EXPECT_FALSE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF}));
}

TEST(DecodePng, Grey2IsWidenedTo8Bits) {
    // Four 2-bit samples 0, 1, 2, 3 in one byte.
    const DecodedPicture p = MustDecode(EncodePng(Layout(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B})));
    EXPECT_FALSE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}));
}

TEST(DecodePng, Grey1IsWidenedTo8Bits) {
    const DecodedPicture p = MustDecode(EncodePng(Layout(3, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0})));
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
}

TEST(DecodePng, GreyAlphaBecomesRgba) {
    const DecodedPicture p =
        MustDecode(EncodePng(Layout(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x40, 0x80, 0xC0, 0x00})));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x80404040, 0x00C0C0C0}));
}

TEST(DecodePng, GreyWithTransparentColourGetsAlpha) {
    PngLayout layout = Layout(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x10, 0x20});
    layout.hasTransparentColor = true;
    layout.transparentColor.gray = 0x20;
    const DecodedPicture p = MustDecode(EncodePng(layout));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.pixels[0], 0xFF101010u);
    EXPECT_EQ(p.pixels[1] >> 24, 0u);
}

TEST(DecodePng, RgbIsOpaque) {
    const DecodedPicture p = MustDecode(EncodePng(
        Layout(2, 2, PNG_COLOR_TYPE_RGB, 8,
               {0x12, 0x34, 0x56, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF})));
    EXPECT_FALSE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF123456, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
}

TEST(DecodePng, RgbaKeepsItsAlpha) {
    const DecodedPicture p = MustDecode(EncodePng(Layout(
        2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {0x12, 0x34, 0x56, 0x7F, 0xAB, 0xCD, 0xEF, 0x00})));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x7F123456, 0x00ABCDEF}));
}

TEST(DecodePng, PaletteBecomesRgb) {
    PngLayout layout = Layout(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {2, 0, 1});
    layout.palette = {{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}};
    const DecodedPicture p = MustDecode(EncodePng(layout));
    EXPECT_FALSE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF778899, 0xFF112233, 0xFF445566}));
}

TEST(DecodePng, Palette4BitIsUnpacked) {
    PngLayout layout = Layout(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x10, 0x20});
    layout.palette = {{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}};
    const DecodedPicture p = MustDecode(EncodePng(layout));
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF445566, 0xFF112233, 0xFF778899}));
}

TEST(DecodePng, PaletteTransparencyBecomesAlpha) {
    PngLayout layout = Layout(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2});
    layout.palette = {{0x11, 0x22, 0x33}, {0x44, 0x55, 0x66}, {0x77, 0x88, 0x99}};
    layout.paletteAlpha = {0x00, 0x80};  // entries past the list stay opaque
    const DecodedPicture p = MustDecode(EncodePng(layout));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x00112233, 0x80445566, 0xFF778899}));
}

TEST(DecodePng, Rgb16IsReducedTo8Bits) {
    // Samples that are exact multiples of 257 map to their high byte.
    const DecodedPicture p = MustDecode(EncodePng(
        Layout(2, 1, PNG_COLOR_TYPE_RGB, 16,
               {0x12, 0x12, 0x34, 0x34, 0x56, 0x56, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80})));
    EXPECT_FALSE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF123456, 0xFFFF0080}));
}

TEST(DecodePng, Rgba16IsReducedTo8Bits) {
    const DecodedPicture p = MustDecode(EncodePng(Layout(
        1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {0xAB, 0xAB, 0xCD, 0xCD, 0xEF, 0xEF, 0x7F, 0x7F})));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x7FABCDEF}));
}

TEST(DecodePng, Grey16IsReducedTo8Bits) {
    const DecodedPicture p =
        MustDecode(EncodePng(Layout(2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x00, 0x00, 0x9A, 0x9A})));
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF9A9A9A}));
}

TEST(DecodePng, InterlacedMatchesPlain) {
    std::vector<uint32_t> argb;
    for (int i = 0; i < 13 * 11; ++i) {
        argb.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x010305));
    }
    PngLayout layout = Layout(13, 11, PNG_COLOR_TYPE_RGB, 8, {});
    for (uint32_t v : argb) {
        layout.rows.insert(layout.rows.end(), {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    }
    layout.interlaced = true;
    const DecodedPicture p = MustDecode(EncodePng(layout));
    EXPECT_EQ(p.pixels, argb);
}

TEST(DecodePng, EveryTruncationIsRefused) {
    const std::vector<uint8_t> file =
        EncodeArgb(5, 4, std::vector<uint32_t>(20, 0xFF336699), false);
    ASSERT_FALSE(file.empty());
    for (size_t length = 0; length < file.size(); ++length) {
        DecodedPicture picture;
        EXPECT_FALSE(DecodePng(file.data(), length, picture)) << "length " << length;
    }
}

TEST(DecodePng, FailureLeavesOutputUntouched) {
    DecodedPicture picture = Picture(1, 1, true, {0x12345678});
    const std::vector<uint8_t> file = EncodeArgb(2, 2, std::vector<uint32_t>(4, 0), false);
    ASSERT_FALSE(DecodePng(file.data(), file.size() - 1, picture));
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x12345678}));
}

TEST(DecodePng, NotAPngIsRefused) {
    DecodedPicture picture;
    const uint8_t text[] = "GIF89a, not what we want at all";
    EXPECT_FALSE(DecodePng(text, sizeof text, picture));
    EXPECT_FALSE(DecodePng(nullptr, 0, picture));
    EXPECT_FALSE(DecodePng(nullptr, 100, picture));
}

TEST(DecodePng, BadChecksumIsRefused) {
    std::vector<uint8_t> file = EncodeArgb(4, 4, std::vector<uint32_t>(16, 0xFF808080), false);
    const size_t idat = FindChunk(file, "IDAT");
    ASSERT_NE(idat, 0u);
    file[idat + 8] ^= 0x01;  // first data byte; the CRC no longer matches
    DecodedPicture picture;
    EXPECT_FALSE(DecodePng(file.data(), file.size(), picture));
}

TEST(DecodePng, BadHeaderIsRefused) {
    std::vector<uint8_t> file = EncodeArgb(4, 4, std::vector<uint32_t>(16, 0xFF808080), false);
    const size_t ihdr = FindChunk(file, "IHDR");
    ASSERT_EQ(ihdr, 8u);
    file[ihdr + 8 + 9] = 5;  // colour type 5 does not exist
    FixCrc(file, ihdr);
    DecodedPicture picture;
    EXPECT_FALSE(DecodePng(file.data(), file.size(), picture));
}

TEST(DecodePng, DamagedCompressedDataIsRefused) {
    std::vector<uint8_t> file = EncodeArgb(16, 16, std::vector<uint32_t>(256, 0xFF102030), false);
    const size_t idat = FindChunk(file, "IDAT");
    ASSERT_NE(idat, 0u);
    const size_t length = ChunkLength(file, idat);
    for (size_t i = 2; i < length; ++i) {
        file[idat + 8 + i] = 0xFF;  // keep the zlib header, wreck the stream
    }
    FixCrc(file, idat);
    DecodedPicture picture;
    EXPECT_FALSE(DecodePng(file.data(), file.size(), picture));
}

TEST(DecodePng, GarbageAfterTheSignatureIsRefused) {
    std::vector<uint8_t> file = EncodeArgb(3, 3, std::vector<uint32_t>(9, 0xFFFFFFFF), true);
    uint32_t state = 12345;
    for (size_t i = 8; i < file.size(); ++i) {
        state = state * 1103515245u + 12345u;
        file[i] = static_cast<uint8_t>(state >> 16);
    }
    DecodedPicture picture;
    EXPECT_FALSE(DecodePng(file.data(), file.size(), picture));
}

// ---------------------------------------------------------------- MakeImage

TEST(MakeImage, SinglePictureKeepsNameSizeAndHandle) {
    const auto image =
        Make(Picture(3, 2, false, std::vector<uint32_t>(6, 0xFF102030)), 3, 2, 0, 1, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->name, "incbin::test.png");
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->handleX, 0.0f);
    EXPECT_EQ(image->handleY, 0.0f);
    ASSERT_EQ(image->pixels.size(), 1u);
    EXPECT_EQ(image->pixels[0], std::vector<uint32_t>(6, 0xFF102030));
    ASSERT_EQ(image->masks.size(), 1u);
    EXPECT_EQ(image->masks[0].maxX, 2);
    EXPECT_EQ(image->backendData, nullptr);
}

TEST(MakeImage, DefaultFlagsAreMaskedAndFiltered) {
    const auto image = Make(Picture(1, 1, false, {0xFF000000}), 1, 1, 0, 1, IMAGE_DEFAULT_FLAGS);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, IMAGE_MASKED | IMAGE_FILTERED);
    EXPECT_EQ(image->pixels[0][0], 0u);
}

TEST(MakeImage, OtherFlagsAreKeptAsGiven) {
    const auto image = Make(Picture(1, 1, false, {0xFF000000}), 1, 1, 0, 1, 9);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, 9);
    EXPECT_EQ(image->pixels[0][0], 0u);  // 9 includes masked
}

TEST(MakeImage, MaskedClearsOnlyPureBlackInRgb) {
    // Decoded from a real RGB file: black, near-black and white.
    const DecodedPicture picture =
        MustDecode(EncodeArgb(4, 1, {0xFF000000, 0xFF000001, 0xFF010000, 0xFFFFFFFF}, false));
    ASSERT_FALSE(picture.hasAlpha);
    const auto image = Make(picture, 4, 1, 0, 1, IMAGE_MASKED);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0],
              (std::vector<uint32_t>{0x00000000, 0xFF000001, 0xFF010000, 0xFFFFFFFF}));
    EXPECT_EQ(image->masks[0].minX, 1);
    EXPECT_EQ(image->masks[0].maxX, 3);
}

TEST(MakeImage, UnmaskedKeepsBlackOpaque) {
    const DecodedPicture picture = MustDecode(EncodeArgb(2, 1, {0xFF000000, 0xFFFFFFFF}, false));
    const auto image = Make(picture, 2, 1, 0, 1, IMAGE_FILTERED);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0], (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF}));
    EXPECT_EQ(image->masks[0].minX, 0);
}

TEST(MakeImage, MaskedLeavesBlackOpaqueInRgba) {
    const DecodedPicture picture = MustDecode(EncodeArgb(2, 1, {0xFF000000, 0x00FFFFFF}, true));
    ASSERT_TRUE(picture.hasAlpha);
    const auto image = Make(picture, 2, 1, 0, 1, IMAGE_DEFAULT_FLAGS);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0], (std::vector<uint32_t>{0xFF000000, 0x00FFFFFF}));
    EXPECT_EQ(image->masks[0].minX, 0);
    EXPECT_EQ(image->masks[0].maxX, 0);
}

TEST(MakeImage, MaskedLeavesBlackOpaqueInPaletteWithTransparency) {
    PngLayout layout = Layout(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1});
    layout.palette = {{0, 0, 0}, {0xFF, 0xFF, 0xFF}};
    layout.paletteAlpha = {0xFF, 0x00};
    const DecodedPicture picture = MustDecode(EncodePng(layout));
    const auto image = Make(picture, 2, 1, 0, 1, IMAGE_MASKED);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0][0], 0xFF000000u);
}

// A 3x2-cell strip of 2x2 cells, each cell filled with its own colour.
DecodedPicture SixColourStrip() {
    const uint32_t colours[6] = {0xFF110000, 0xFF220000, 0xFF330000,
                                 0xFF440000, 0xFF550000, 0xFF660000};
    DecodedPicture picture = Picture(6, 4, false, std::vector<uint32_t>(24));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            picture.pixels[static_cast<size_t>(y * 6 + x)] = colours[(y / 2) * 3 + x / 2];
        }
    }
    return picture;
}

TEST(MakeImage, StripIsCutRowByRow) {
    const auto image = Make(SixColourStrip(), 2, 2, 0, 6, IMAGE_DEFAULT_FLAGS);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->pixels.size(), 6u);
    ASSERT_EQ(image->masks.size(), 6u);
    const uint32_t expected[6] = {0xFF110000, 0xFF220000, 0xFF330000,
                                  0xFF440000, 0xFF550000, 0xFF660000};
    for (size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(image->pixels[f], std::vector<uint32_t>(4, expected[f])) << f;
    }
}

TEST(MakeImage, StripStartsAtTheFirstCell) {
    const auto image = Make(SixColourStrip(), 2, 2, 2, 3, IMAGE_DEFAULT_FLAGS);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->pixels.size(), 3u);
    EXPECT_EQ(image->pixels[0][0], 0xFF330000u);
    EXPECT_EQ(image->pixels[1][0], 0xFF440000u);
    EXPECT_EQ(image->pixels[2][0], 0xFF550000u);
}

TEST(MakeImage, StripFromEncodedFile) {
    const DecodedPicture strip = SixColourStrip();
    const auto image = Make(MustDecode(EncodeArgb(6, 4, strip.pixels, false)), 2, 2, 0, 6, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[4], std::vector<uint32_t>(4, 0xFF550000u));
}

TEST(MakeImage, PartialCellsAtTheEdgesAreIgnored) {
    // 7x5 of 3x2 cells: two cells per row, two rows; the rest is left over.
    DecodedPicture picture = Picture(7, 5, true, std::vector<uint32_t>(35));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            picture.pixels[static_cast<size_t>(y * 7 + x)] = static_cast<uint32_t>(y * 16 + x);
        }
    }
    const auto image = Make(picture, 3, 2, 0, 4, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[1], (std::vector<uint32_t>{0x03, 0x04, 0x05, 0x13, 0x14, 0x15}));
    EXPECT_EQ(image->pixels[2], (std::vector<uint32_t>{0x20, 0x21, 0x22, 0x30, 0x31, 0x32}));
    EXPECT_EQ(Make(picture, 3, 2, 0, 5, 0), nullptr);
    EXPECT_EQ(Make(picture, 3, 2, 1, 4, 0), nullptr);
    EXPECT_NE(Make(picture, 3, 2, 3, 1, 0), nullptr);
}

TEST(MakeImage, TooFewCellsGivesNull) {
    const DecodedPicture strip = SixColourStrip();
    EXPECT_EQ(Make(strip, 2, 2, 0, 7, 0), nullptr);
    EXPECT_EQ(Make(strip, 2, 2, 6, 1, 0), nullptr);
    EXPECT_EQ(Make(strip, 7, 2, 0, 1, 0), nullptr);  // cell wider than the picture
    EXPECT_EQ(Make(strip, 2, 5, 0, 1, 0), nullptr);
}

TEST(MakeImage, NonPositiveSizesGiveNull) {
    const DecodedPicture strip = SixColourStrip();
    EXPECT_EQ(Make(strip, 0, 2, 0, 1, 0), nullptr);
    EXPECT_EQ(Make(strip, 2, 0, 0, 1, 0), nullptr);
    EXPECT_EQ(Make(strip, -2, 2, 0, 1, 0), nullptr);
    EXPECT_EQ(Make(strip, 2, 2, 0, 0, 0), nullptr);
    EXPECT_EQ(Make(strip, 2, 2, -1, 2, 0), nullptr);
    EXPECT_EQ(Make(DecodedPicture{}, 1, 1, 0, 1, 0), nullptr);
}

// ---------------------------------------------------------------- masks

bool Bit(const CollisionMask& mask, int x, int y) {
    const uint64_t word = mask.bits[static_cast<size_t>(y * mask.rowWords + x / 64)];
    return (word >> (x % 64) & 1) != 0;
}

TEST(BuildMask, SolidFromAlpha128) {
    const CollisionMask mask = BuildMask({0x7FFFFFFF, 0x80000000, 0xFF000000, 0x00FFFFFF}, 4, 1);
    EXPECT_FALSE(Bit(mask, 0, 0));
    EXPECT_TRUE(Bit(mask, 1, 0));
    EXPECT_TRUE(Bit(mask, 2, 0));
    EXPECT_FALSE(Bit(mask, 3, 0));
    EXPECT_EQ(mask.minX, 1);
    EXPECT_EQ(mask.maxX, 2);
    EXPECT_EQ(mask.minY, 0);
    EXPECT_EQ(mask.maxY, 0);
}

TEST(BuildMask, BoundsOfScatteredPixels) {
    std::vector<uint32_t> pixels(10 * 8, 0);
    pixels[2 * 10 + 7] = 0xFF000000;
    pixels[6 * 10 + 3] = 0x90000000;
    const CollisionMask mask = BuildMask(pixels, 10, 8);
    EXPECT_EQ(mask.rowWords, 1);
    EXPECT_EQ(mask.bits.size(), 8u);
    EXPECT_EQ(mask.minX, 3);
    EXPECT_EQ(mask.maxX, 7);
    EXPECT_EQ(mask.minY, 2);
    EXPECT_EQ(mask.maxY, 6);
    EXPECT_TRUE(Bit(mask, 7, 2));
    EXPECT_TRUE(Bit(mask, 3, 6));
    EXPECT_FALSE(Bit(mask, 3, 2));
}

TEST(BuildMask, EmptyFrameHasEmptyBounds) {
    const CollisionMask mask = BuildMask(std::vector<uint32_t>(12, 0x7FFFFFFF), 4, 3);
    EXPECT_LT(mask.maxX, mask.minX);
    for (uint64_t word : mask.bits) {
        EXPECT_EQ(word, 0u);
    }
}

TEST(BuildMask, WideRowsSpanSeveralWords) {
    std::vector<uint32_t> pixels(130 * 2, 0);
    pixels[63] = 0xFF000000;
    pixels[64] = 0xFF000000;
    pixels[130 + 129] = 0xFF000000;
    const CollisionMask mask = BuildMask(pixels, 130, 2);
    EXPECT_EQ(mask.rowWords, 3);
    EXPECT_EQ(mask.bits.size(), 6u);
    EXPECT_EQ(mask.bits[0], uint64_t{1} << 63);
    EXPECT_EQ(mask.bits[1], 1u);
    EXPECT_EQ(mask.bits[2], 0u);
    EXPECT_EQ(mask.bits[5], uint64_t{1} << 1);
    EXPECT_EQ(mask.minX, 63);
    EXPECT_EQ(mask.maxX, 129);
}

TEST(RebuildMasks, FollowsChangedPixels) {
    auto image = Make(Picture(2, 1, true, {0x00000000, 0x00000000}), 1, 1, 0, 2, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_LT(image->masks[1].maxX, image->masks[1].minX);
    image->pixels[1][0] = 0xFFFFFFFF;
    RebuildMasks(*image);
    ASSERT_EQ(image->masks.size(), 2u);
    EXPECT_EQ(image->masks[1].maxX, 0);
    EXPECT_LT(image->masks[0].maxX, image->masks[0].minX);
}

TEST(RebuildMasks, OneFrameAtATime) {
    auto image = Make(Picture(2, 1, true, {0x00000000, 0x00000000}), 1, 1, 0, 2, 0);
    ASSERT_NE(image, nullptr);
    image->pixels[0][0] = 0xFFFFFFFF;
    image->pixels[1][0] = 0xFFFFFFFF;
    RebuildMask(*image, 1);
    EXPECT_EQ(image->masks[1].maxX, 0);
    EXPECT_LT(image->masks[0].maxX, image->masks[0].minX);  // not rebuilt
    for (int frame : {-1, 2}) {
        RebuildMask(*image, frame);  // no such frame: nothing happens
    }
    EXPECT_LT(image->masks[0].maxX, image->masks[0].minX);
    UnlockImage(image.get(), 0);
    EXPECT_EQ(image->masks[0].maxX, 0);
}

// ---------------------------------------------------------------- built-in font

int InkCount(const uint8_t* glyph) {
    int count = 0;
    for (int y = 0; y < BUILTIN_FONT_HEIGHT; ++y) {
        for (int bit = 0; bit < 8; ++bit) {
            count += glyph[y] >> bit & 1;
        }
    }
    return count;
}

TEST(BuiltinFont, SpaceIsBlankAndOthersHaveInk) {
    EXPECT_EQ(InkCount(BuiltinGlyph(' ')), 0);
    for (int c = 33; c <= 126; ++c) {
        EXPECT_GT(InkCount(BuiltinGlyph(c)), 0) << char(c);
    }
}

TEST(BuiltinFont, GlyphsAreDistinct) {
    for (int a = 32; a <= 126; ++a) {
        for (int b = a + 1; b <= 126; ++b) {
            EXPECT_FALSE(
                std::equal(BuiltinGlyph(a), BuiltinGlyph(a) + BUILTIN_FONT_HEIGHT, BuiltinGlyph(b)))
                << char(a) << " and " << char(b);
        }
    }
}

TEST(BuiltinFont, OutsideTheRangeGivesQuestionMark) {
    EXPECT_EQ(BuiltinGlyph(31), BuiltinGlyph('?'));
    EXPECT_EQ(BuiltinGlyph(127), BuiltinGlyph('?'));
    EXPECT_EQ(BuiltinGlyph(-5), BuiltinGlyph('?'));
    EXPECT_EQ(BuiltinGlyph(0xE9), BuiltinGlyph('?'));
    EXPECT_NE(BuiltinGlyph('A'), BuiltinGlyph('?'));
}

TEST(BuiltinFont, RowsReadLeftmostPixelFirst) {
    // 'L' is a stem in the second column with a foot along the bottom.
    const uint8_t* l = BuiltinGlyph('L');
    EXPECT_EQ(l[5], 0x40);
    EXPECT_EQ(l[11], 0x7C);
    EXPECT_EQ(l[0], 0x00);
    // '_' lies below the baseline.
    EXPECT_EQ(BuiltinGlyph('_')[13], 0xFE);
}

}  // namespace
