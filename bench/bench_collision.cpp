// What a bullet-against-alien test costs (the wave runs up to 48 aliens
// against every bullet each tick), and what loading a backdrop and a sprite
// strip costs at start-up.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/collision.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "tests/png_fixture.h"

namespace {

// A round-bodied 32x32 creature with eye holes and legs, so the corners of
// its box are empty.
std::vector<uint32_t> AlienPixels() {
    std::vector<uint32_t> pixels(32 * 32, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 13;
            const bool body = dx * dx + dy * dy < 13 * 13;
            const bool eye = (y >= 9 && y < 13) && ((x >= 9 && x < 13) || (x >= 19 && x < 23));
            const bool leg = y >= 24 && y < 31 && (x % 8 == 2 || x % 8 == 3);
            if ((body && !eye) || leg) {
                pixels[static_cast<size_t>(y * 32 + x)] = 0xFF30C060;
            }
        }
    }
    return pixels;
}

// An 8x16 bolt: a solid core two pixels wide with a faint glow either side.
std::vector<uint32_t> BulletPixels() {
    std::vector<uint32_t> pixels(8 * 16, 0);
    for (int y = 1; y < 15; ++y) {
        pixels[static_cast<size_t>(y * 8 + 2)] = 0x60FFFF80;
        pixels[static_cast<size_t>(y * 8 + 3)] = 0xFFFFFFC0;
        pixels[static_cast<size_t>(y * 8 + 4)] = 0xFFFFFFC0;
        pixels[static_cast<size_t>(y * 8 + 5)] = 0x60FFFF80;
    }
    return pixels;
}

std::unique_ptr<Image> CentredSprite(int width, int height, std::vector<uint32_t> pixels) {
    DecodedPicture picture;
    picture.width = width;
    picture.height = height;
    picture.hasAlpha = true;
    picture.pixels = std::move(pixels);
    std::unique_ptr<Image> image(
        MakeImage("sprite", picture, width, height, 0, 1, IMAGE_DEFAULT_FLAGS));
    image->handleX = width / 2.0f;
    image->handleY = height / 2.0f;
    return image;
}

void Collide(benchmark::State& state, int bulletX, int bulletY, bool expected) {
    const auto alien = CentredSprite(32, 32, AlienPixels());
    const auto bullet = CentredSprite(8, 16, BulletPixels());
    if (CollideImages(*alien, 100, 100, 0, *bullet, bulletX, bulletY, 0) != expected) {
        state.SkipWithError("placement does not give the intended outcome");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(CollideImages(*alien, 100, 100, 0, *bullet, bulletX, bulletY, 0));
    }
}

// Bullet through the middle of the body: boxes overlap, pixels meet.
void BM_CollideHit(benchmark::State& state) {
    Collide(state, 100, 104, true);
}
// Bullet beside the body in a corner of the alien's box: boxes overlap over
// several rows but no pixels meet, so every overlapping row is examined.
void BM_CollideBoxesOverlapNoHit(benchmark::State& state) {
    Collide(state, 87, 95, false);
}
// Bullet off to the side: rejected by the opaque boxes alone.
void BM_CollideBoxRejected(benchmark::State& state) {
    Collide(state, 160, 100, false);
}

BENCHMARK(BM_CollideHit);
BENCHMARK(BM_CollideBoxesOverlapNoHit);
BENCHMARK(BM_CollideBoxRejected);

// A backdrop-like RGB picture: a gradient with some grain, so it compresses
// about as well as a painted picture would.
std::vector<uint8_t> BackdropPng() {
    std::vector<uint32_t> pixels(1024 * 768);
    uint32_t grain = 1;
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const uint32_t noise = grain >> 29;
            pixels[static_cast<size_t>(y * 1024 + x)] =
                0xFF000000u | (uint32_t(y / 6) + noise) << 8 | (uint32_t(x / 8) + noise);
        }
    }
    return EncodeArgb(1024, 768, pixels, false);
}

// Four 32x32 cells side by side, each a variant of the alien.
std::vector<uint8_t> StripPng() {
    const std::vector<uint32_t> alien = AlienPixels();
    std::vector<uint32_t> pixels(128 * 32);
    for (int cell = 0; cell < 4; ++cell) {
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint32_t p = alien[static_cast<size_t>(y * 32 + (x + cell) % 32)];
                pixels[static_cast<size_t>(y * 128 + cell * 32 + x)] = p;
            }
        }
    }
    return EncodeArgb(128, 32, pixels, true);
}

void Load(benchmark::State& state, const std::vector<uint8_t>& file, int cellWidth, int cellHeight,
          int cells) {
    if (file.empty()) {
        state.SkipWithError("could not make the picture");
        return;
    }
    for (auto _ : state) {
        DecodedPicture picture;
        if (!DecodePng(file.data(), file.size(), picture)) {
            state.SkipWithError("decoding failed");
            break;
        }
        std::unique_ptr<Image> image(MakeImage("incbin::bench.png", picture, cellWidth, cellHeight,
                                               0, cells, IMAGE_DEFAULT_FLAGS));
        benchmark::DoNotOptimize(image.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(file.size()));
}

void BM_LoadBackdrop1024x768Rgb(benchmark::State& state) {
    static const std::vector<uint8_t> file = BackdropPng();
    Load(state, file, 1024, 768, 1);
}
void BM_LoadStrip128x32Rgba(benchmark::State& state) {
    static const std::vector<uint8_t> file = StripPng();
    Load(state, file, 32, 32, 4);
}

BENCHMARK(BM_LoadBackdrop1024x768Rgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStrip128x32Rgba)->Unit(benchmark::kMicrosecond);

}  // namespace
