// The OpenGL renderer's output read back from a real window: sampling,
// blend modes and the colour tint. Needs a display (run it in Xvfb); without
// one every test is skipped.
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_process.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/sdl_video.h"
#include "tests/embedded_png.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr uint32_t kOpaqueGreen = 0xFF00FF00u;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Image MakePicture(int width, int height, int flags, std::vector<uint32_t> pixels) {
    Image image;
    image.name = "test picture";
    image.width = width;
    image.height = height;
    image.flags = flags;
    image.pixels.push_back(std::move(pixels));
    return image;
}

Image Filled(int width, int height, int flags, uint32_t argb) {
    return MakePicture(width, height, flags,
                       std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

// Every texel different from its neighbours, opaque, so any mixing of
// neighbours shows.
Image Noise(int width, int height, int flags) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t seed = 12345;
    for (uint32_t& p : pixels) {
        seed = seed * 1103515245u + 12345u;
        p = 0xFF000000u | (seed >> 8 & 0xFFFFFFu);
    }
    return MakePicture(width, height, flags, std::move(pixels));
}

Rgb Texel(const Image& image, int x, int y) {
    uint32_t p = image.pixels[0][static_cast<size_t>(y) * image.width + x];
    return Rgb{static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
               static_cast<int>(p & 0xFF)};
}

DrawState Blend(int blend, float alpha = 1.0f, int r = 255, int g = 255, int b = 255) {
    DrawState state;
    state.blend = blend;
    state.alpha = alpha;
    state.r = r;
    state.g = g;
    state.b = b;
    return state;
}

class RendererPixels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            return;
        }
        std::string error;
        video_ = new sdl::Video();
        if (!sdl::StartSdl(error) || !video_->Open(kWidth, kHeight, 0, 60, error)) {
            ADD_FAILURE() << "no window: " << error;
            delete video_;
            video_ = nullptr;
            return;
        }
        renderer_ = new sdl::Renderer();
        renderer_->Start(kWidth, kHeight);
    }

    static void TearDownTestSuite() {
        delete renderer_;
        renderer_ = nullptr;
        if (video_ != nullptr) {
            video_->Close();
        }
        delete video_;
        video_ = nullptr;
        sdl::StopSdl();
    }

    void SetUp() override {
        if (renderer_ == nullptr) {
            GTEST_SKIP() << "no display";
        }
        ShowOneToOne();
        renderer_->Clear();
    }

    void ShowOneToOne() {
        renderer_->SetViewport(sdl::Viewport{0, 0, kWidth, kHeight}, kWidth, kHeight);
    }

    // The picture's pixels at (x, y), counted from the top-left like the
    // renderer's coordinates, once everything gathered is drawn.
    std::vector<Rgb> Read(int x, int y, int width, int height) {
        renderer_->Flush();
        std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(x, kHeight - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba.data());
        std::vector<Rgb> out;
        // Top row first.
        for (int row = height - 1; row >= 0; --row) {
            for (int col = 0; col < width; ++col) {
                const uint8_t* p = &rgba[(static_cast<size_t>(row) * width + col) * 4];
                out.push_back(Rgb{p[0], p[1], p[2]});
            }
        }
        return out;
    }

    Rgb ReadOne(int x, int y) { return Read(x, y, 1, 1)[0]; }

    // The sampling the renderer's last batch used.
    GLint LastFilter() {
        renderer_->Flush();
        GLint texture = 0, filter = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_NE(texture, 0);
        return filter;
    }

    // The picture drawn with plain OpenGL from a texture of its own, sampled
    // linearly, opaque: what the renderer's output is held against. The
    // renderer's GL state is put back afterwards.
    struct Area {
        int x, y, width, height;
    };

    std::vector<Rgb> Read(const Area& a) { return Read(a.x, a.y, a.width, a.height); }

    // The pixels a picture drawn at (left, top) covers whole.
    static Area Covered(const Image& image, float left, float top) {
        int x = static_cast<int>(std::ceil(left));
        int y = static_cast<int>(std::ceil(top));
        return Area{x, y, static_cast<int>(std::floor(left + image.width)) - x,
                    static_cast<int>(std::floor(top + image.height)) - y};
    }

    std::vector<Rgb> LinearReference(const Image& image, float left, float top) {
        renderer_->Flush();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, image.pixels[0].data());
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glClear(GL_COLOR_BUFFER_BIT);
        float right = left + static_cast<float>(image.width);
        float bottom = top + static_cast<float>(image.height);
        glBegin(GL_QUADS);
        glColor4f(1, 1, 1, 1);
        glTexCoord2f(0, 0);
        glVertex2f(left, top);
        glTexCoord2f(1, 0);
        glVertex2f(right, top);
        glTexCoord2f(1, 1);
        glVertex2f(right, bottom);
        glTexCoord2f(0, 1);
        glVertex2f(left, bottom);
        glEnd();
        std::vector<Rgb> out = Read(Covered(image, left, top));
        glDeleteTextures(1, &texture);
        glPopAttrib();
        renderer_->Clear();
        return out;
    }

    static sdl::Video* video_;
    static sdl::Renderer* renderer_;
};

sdl::Video* RendererPixels::video_ = nullptr;
sdl::Renderer* RendererPixels::renderer_ = nullptr;

TEST_F(RendererPixels, SmoothedPictureAtWholePixelsIsTheSameAsLinearAndSampledNearest) {
    Image picture = Noise(37, 23, IMAGE_DEFAULT_FLAGS);
    std::vector<Rgb> linear = LinearReference(picture, 100, 200);
    for (int blend : {BLEND_SOLID, BLEND_ALPHA}) {
        renderer_->Clear();
        renderer_->DrawSprite(picture, 0, 100, 200, Blend(blend));
        EXPECT_EQ(LastFilter(), GL_NEAREST) << "blend " << blend;
        EXPECT_EQ(Read(Covered(picture, 100, 200)), linear) << "blend " << blend;
        // And texel for texel the picture itself.
        EXPECT_EQ(ReadOne(100, 200), Texel(picture, 0, 0));
        EXPECT_EQ(ReadOne(136, 222), Texel(picture, 36, 22));
    }
}

TEST_F(RendererPixels, SmoothedPictureBetweenPixelsIsFiltered) {
    Image picture = Noise(37, 23, IMAGE_DEFAULT_FLAGS);
    struct Case {
        float left, top;
    };
    for (Case c : {Case{300.5f, 200.0f}, Case{300.0f, 200.5f}, Case{300.25f, 199.75f}}) {
        std::vector<Rgb> linear = LinearReference(picture, c.left, c.top);
        renderer_->DrawSprite(picture, 0, c.left, c.top, Blend(BLEND_SOLID));
        EXPECT_EQ(LastFilter(), GL_LINEAR) << c.left << ", " << c.top;
        EXPECT_EQ(Read(Covered(picture, c.left, c.top)), linear) << c.left << ", " << c.top;
        // Neighbouring texels mix: next to no pixel keeps the colour of the
        // texel nearest to it.
        Area area = Covered(picture, c.left, c.top);
        std::vector<Rgb> drawn = Read(area);
        int unmixed = 0;
        for (int y = 0; y < area.height; ++y) {
            for (int x = 0; x < area.width; ++x) {
                int tx = static_cast<int>(std::floor(area.x + x + 0.5f - c.left));
                int ty = static_cast<int>(std::floor(area.y + y + 0.5f - c.top));
                unmixed += drawn[y * area.width + x] == Texel(picture, tx, ty) ? 1 : 0;
            }
        }
        EXPECT_LT(unmixed, area.width * area.height / 10) << c.left << ", " << c.top;
    }
}

// A sprite at whole pixels looks the same sampled either way, so it joins the
// batch it meets instead of starting its own.
TEST_F(RendererPixels, WholeAndBetweenPixelDrawsShareOneBatch) {
    Image picture = Noise(20, 10, IMAGE_DEFAULT_FLAGS);
    renderer_->Flush();
    uint64_t before = sdl::drawCallsMade;
    renderer_->DrawSprite(picture, 0, 100, 100, Blend(BLEND_ALPHA));
    renderer_->DrawSprite(picture, 0, 200.5f, 100.25f, Blend(BLEND_ALPHA));
    renderer_->DrawSprite(picture, 0, 300, 100, Blend(BLEND_ALPHA));
    EXPECT_EQ(LastFilter(), GL_LINEAR);
    EXPECT_EQ(sdl::drawCallsMade - before, 1u);
    for (int left : {100, 300}) {
        std::vector<Rgb> drawn = Read(left, 100, 20, 10);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                ASSERT_EQ(drawn[y * 20 + x], Texel(picture, x, y))
                    << left << ": " << x << ", " << y;
            }
        }
    }
}

TEST_F(RendererPixels, SmoothedPictureIsFilteredOnAScaledPicture) {
    Image picture = Noise(16, 16, IMAGE_DEFAULT_FLAGS);
    renderer_->SetViewport(sdl::Viewport{0, 0, 512, 384}, kWidth, kHeight);
    renderer_->DrawSprite(picture, 0, 100, 100, Blend(BLEND_SOLID));
    EXPECT_EQ(LastFilter(), GL_LINEAR);
}

TEST_F(RendererPixels, SharpPictureStaysNearestEvenBetweenPixels) {
    Image picture = Noise(16, 16, IMAGE_MASKED);
    renderer_->DrawSprite(picture, 0, 100.5f, 100.5f, Blend(BLEND_SOLID));
    EXPECT_EQ(LastFilter(), GL_NEAREST);
}

TEST_F(RendererPixels, SolidModeCopiesOpaqueWhateverTheAlpha) {
    Image ground = Filled(64, 64, IMAGE_DEFAULT_FLAGS, kOpaqueGreen);
    struct Case {
        uint32_t pixel;
        float alpha;
    };
    for (Case c : {Case{0x00FF0000u, 1.0f}, Case{0x80FF0000u, 0.25f}, Case{0xFFFF0000u, 0.0f}}) {
        Image red = Filled(32, 32, IMAGE_DEFAULT_FLAGS, c.pixel);
        renderer_->DrawSprite(ground, 0, 500, 100, Blend(BLEND_SOLID));
        renderer_->DrawSprite(red, 0, 510, 110, Blend(BLEND_SOLID, c.alpha));
        for (Rgb pixel : Read(510, 110, 32, 32)) {
            ASSERT_EQ(pixel, (Rgb{255, 0, 0})) << std::hex << c.pixel << " alpha " << c.alpha;
        }
        EXPECT_EQ(ReadOne(505, 105), (Rgb{0, 255, 0}));
    }
}

TEST_F(RendererPixels, AlphaModeMultipliesThePicturesAlphaByTheCurrentAlpha) {
    Image ground = Filled(64, 64, IMAGE_DEFAULT_FLAGS, kOpaqueGreen);
    struct Case {
        uint32_t pixel;
        float alpha;
    };
    for (Case c : {Case{0xFFFF0000u, 1.0f}, Case{0xFFFF0000u, 0.5f}, Case{0x80FF0000u, 1.0f},
                   Case{0x80FF0000u, 0.5f}, Case{0x40FF0000u, 0.25f}, Case{0x00FF0000u, 1.0f},
                   Case{0xFFFF0000u, 0.0f}}) {
        Image red = Filled(32, 32, IMAGE_DEFAULT_FLAGS, c.pixel);
        renderer_->DrawSprite(ground, 0, 500, 100, Blend(BLEND_SOLID));
        renderer_->DrawSprite(red, 0, 510, 110, Blend(BLEND_ALPHA, c.alpha));
        double a = static_cast<double>(c.pixel >> 24) / 255.0 * c.alpha;
        Rgb pixel = ReadOne(520, 120);
        EXPECT_NEAR(pixel.r, 255.0 * a, 1.0) << std::hex << c.pixel << " alpha " << c.alpha;
        EXPECT_NEAR(pixel.g, 255.0 * (1.0 - a), 1.0) << std::hex << c.pixel << " alpha " << c.alpha;
        EXPECT_EQ(pixel.b, 0);
    }
}

TEST_F(RendererPixels, ColourTintsThePicture) {
    struct Case {
        uint32_t pixel;
        int r, g, b;
        Rgb expected;
    };
    for (Case c : {Case{0xFFFFFFFFu, 0, 255, 255, {0, 255, 255}},
                   Case{0xFFFFFFFFu, 255, 0, 255, {255, 0, 255}},
                   Case{0xFF808080u, 255, 128, 0, {128, 64, 0}},
                   Case{0xFF40C0FFu, 255, 255, 255, {64, 192, 255}}}) {
        Image picture = Filled(16, 16, IMAGE_DEFAULT_FLAGS, c.pixel);
        for (int blend : {BLEND_SOLID, BLEND_ALPHA}) {
            renderer_->DrawSprite(picture, 0, 700, 300, Blend(blend, 1.0f, c.r, c.g, c.b));
            Rgb pixel = ReadOne(708, 308);
            EXPECT_NEAR(pixel.r, c.expected.r, 1) << std::hex << c.pixel << " blend " << blend;
            EXPECT_NEAR(pixel.g, c.expected.g, 1) << std::hex << c.pixel << " blend " << blend;
            EXPECT_NEAR(pixel.b, c.expected.b, 1) << std::hex << c.pixel << " blend " << blend;
        }
    }
}

// Untinted sprites need no multiplying by the colour; a tinted one in the
// same batch still gets it, and the untinted ones are the same either way.
TEST_F(RendererPixels, TintedAndUntintedDrawsShareOneBatch) {
    Image picture = Noise(20, 10, IMAGE_DEFAULT_FLAGS);
    renderer_->Flush();
    uint64_t before = sdl::drawCallsMade;
    renderer_->DrawSprite(picture, 0, 100, 300, Blend(BLEND_ALPHA));
    renderer_->DrawSprite(picture, 0, 200, 300, Blend(BLEND_ALPHA, 1.0f, 0, 255, 255));
    renderer_->DrawSprite(picture, 0, 300, 300, Blend(BLEND_ALPHA));
    std::vector<Rgb> plain1 = Read(100, 300, 20, 10);
    std::vector<Rgb> tinted = Read(200, 300, 20, 10);
    std::vector<Rgb> plain2 = Read(300, 300, 20, 10);
    EXPECT_EQ(sdl::drawCallsMade - before, 1u);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            Rgb texel = Texel(picture, x, y);
            ASSERT_EQ(plain1[y * 20 + x], texel) << x << ", " << y;
            ASSERT_EQ(plain2[y * 20 + x], texel) << x << ", " << y;
            ASSERT_EQ(tinted[y * 20 + x], (Rgb{0, texel.g, texel.b})) << x << ", " << y;
        }
    }
}

// Once a texture holds a loaded picture, its pixels are let go from memory;
// it draws the same, and locked it reads exactly as loaded.
TEST_F(RendererPixels, PictureWhosePixelsWentDrawsAndReadsTheSame) {
    const int cell = 24;
    std::vector<uint32_t> strip = Noise(cell * 3, cell, 0).pixels[0];
    strip[5] = 0x00000000u;  // a transparent pixel: the masked draw leaves it out
    const std::string name = EmbedArgb("renderer/strip.png", cell * 3, cell, strip, true);
    Image* image = LoadAnimImage(name, cell, cell, 0, 3, IMAGE_DEFAULT_FLAGS);
    ASSERT_NE(image, nullptr);
    const auto loaded = image->pixels;
    Image copy = MakePicture(cell, cell, IMAGE_DEFAULT_FLAGS, loaded[2]);

    renderer_->DrawSprite(copy, 0, 100, 100, Blend(BLEND_MASK));
    std::vector<Rgb> expected = Read(100, 100, cell, cell);
    renderer_->Clear();
    renderer_->DrawSprite(*image, 2, 100, 100, Blend(BLEND_MASK));
    EXPECT_EQ(Read(100, 100, cell, cell), expected);
    ASSERT_TRUE(image->pixelsReleased);
    EXPECT_EQ(ImageFrames(image), 3);
    for (const std::vector<uint32_t>& frame : image->pixels) {
        EXPECT_TRUE(frame.empty());
    }

    // Unlocked without a lock, it is uploaded anew: decoded again first.
    UnlockImage(image, 2);
    renderer_->Clear();
    renderer_->DrawSprite(*image, 2, 100, 100, Blend(BLEND_MASK));
    EXPECT_EQ(Read(100, 100, cell, cell), expected);
    EXPECT_TRUE(image->pixelsReleased);

    for (int f = 0; f < 3; ++f) {
        PixelMap map = LockImage(image, f);
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                ASSERT_EQ(ReadPixel(map, x, y),
                          loaded[static_cast<size_t>(f)][static_cast<size_t>(y) * cell + x])
                    << f << ": " << x << ", " << y;
            }
        }
        UnlockImage(image, f);
    }
    // Unlocked, the picture is uploaded again, from the pixels read back.
    renderer_->Clear();
    renderer_->DrawSprite(*image, 2, 100, 100, Blend(BLEND_MASK));
    EXPECT_EQ(Read(100, 100, cell, cell), expected);
    delete image;
}

}  // namespace
